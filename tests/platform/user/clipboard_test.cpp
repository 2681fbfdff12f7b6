#include "platform/clipboard.h"
#include "platform/headless.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// Text goes to the host and comes back; a block without its terminator is read to its end and
// belongs to the clipboard once taken; the block handed out lives until the clipboard closes.
TEST(Clipboard, CarriesUnicodeTextThroughTheHost)
{
    ResetHeadlessDevice();
    HLOCAL block = LocalAlloc(LMEM_FIXED, 3 * sizeof(char16_t));
    std::memcpy(block, u"-12", 3 * sizeof(char16_t));
    EXPECT_EQ(GetClipboardData(CF_UNICODETEXT), nullptr) << "not open";
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_FALSE(OpenClipboard(nullptr)) << "open already";
    EXPECT_EQ(GetClipboardData(CF_UNICODETEXT), nullptr) << "no text yet";
    EXPECT_EQ(SetClipboardData(CF_UNICODETEXT, block), nullptr) << "not emptied first";
    ASSERT_TRUE(EmptyClipboard());
    EXPECT_NE(SetClipboardData(CF_UNICODETEXT, block), nullptr);
    EXPECT_EQ(LocalSize(block), 0u) << "the clipboard has freed the block it took";
    HANDLE text = GetClipboardData(CF_UNICODETEXT);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(std::u16string(static_cast<const char16_t*>(text)), u"-12");
    EXPECT_TRUE(CloseClipboard());
    EXPECT_EQ(LocalSize(text), 0u);
    EXPECT_FALSE(CloseClipboard());
    ResetHeadlessDevice();
}

}  // namespace
