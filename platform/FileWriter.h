#pragma once
// Writing a whole file without ever damaging the one it replaces.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// Writes `bytes` to `path`: to a temporary name in the same folder, flushed and renamed over
// the target only when complete, so a failure leaves any old file as it was (and keeps its
// permissions on success). A device or pipe is written in place. Reports a failure through
// the shell and returns false.
bool WriteWholeFile(const std::string& path, std::span<const std::uint8_t> bytes);
bool WriteWholeFile(const std::string& path, std::string_view text);
