// What the harnesses share: a scratch directory of this process for the files they hand to the
// platform, and a check that stops the run (and so saves the input) when an invariant fails.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// A failed check is a finding: libFuzzer sees the abort and keeps the input.
#define FUZZ_CHECK(condition) \
    ((condition) ? (void)0 : FuzzCheckFailed(#condition, __FILE__, __LINE__))
[[noreturn]] void FuzzCheckFailed(const char* condition, const char* file, int line);

// A path in a directory of this process under $TMPDIR (tools/fuzz points it at a RAM disk), in
// host form and in the device form that the program's services take.
std::string ScratchPath(std::string_view name);
std::u16string ScratchDevicePath(std::string_view name);

// Writes the bytes to the host path, replacing the file; aborts when that fails, since an input
// that never reached the file would test nothing.
void WriteScratchFile(const std::string& hostPath, const uint8_t* data, size_t size);
inline void WriteScratchFile(const std::string& hostPath, std::string_view bytes)
{
    WriteScratchFile(hostPath, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

// Bytes as text the way the seeds are written: UTF-8, each ill-formed byte as U+FFFD.
std::u16string TextOf(const uint8_t* data, size_t size);
