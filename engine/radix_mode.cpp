#include "engine/calc_state.h"

#include "engine/app_globals.h"
#include "platform/windows.h"

// Truncated toward zero; a negative value becomes the two's complement of its truncated value
// (-1 gives ffffffff), as programmer calculators show it. It goes through a signed 64-bit integer
// because converting a negative double straight to unsigned is undefined.
static uint32_t ToUnsigned32(double value)
{
    if (!(value > -9.2e18 && value < 9.2e18)) return 0;
    return uint32_t(int64_t(value));
}

int32_t SetRadixMode(RadixMode newMode)
{
    CalcState& s = calcState;
    RadixMode oldMode = s.radixMode;
    ModeKeyStates(newMode, keyStates);

    switch (newMode) {
    case Hex:
        if (oldMode == Dec) {
            s.integerValue = ToUnsigned32(s.decimalValue);
            s.integerAccumulator = ToUnsigned32(s.decimalAccumulator);
        }
        break;
    case Dec:
        s.decimalAccumulator = double(s.integerAccumulator % 100000000u);
        s.decimalValue = double(s.integerValue % 100000000u);
        break;
    case Bin:
        if (oldMode == Hex) {
            s.integerValue &= 0xFF;
            s.integerAccumulator &= 0xFF;
        } else {
            s.integerValue = ToUnsigned32(s.decimalValue) & 0xFF;
            s.integerAccumulator = ToUnsigned32(s.decimalAccumulator) & 0xFF;
        }
        break;
    }
    s.radixMode = newMode;
    s.fractionStep = 0;
    InvalidateRect(mainWindow, nullptr, FALSE);
    return 0;
}
