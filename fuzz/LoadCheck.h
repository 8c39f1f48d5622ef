#pragma once
// The loader's promise, checked from outside for any bytes at all: a file that is 24-bit,
// 512 x 512, uncompressed and holds its whole pixel array is loaded with exactly its header
// bytes and pixels; anything else is refused with the message of the first check it fails,
// and the store stays byte for byte as it was. The fuzzer and the regression test share it.

#include <cstdint>
#include <span>
#include <string>

// Loads `bytes` through the same entry point the front ends use and checks the outcome.
// Returns an empty string when the promise held, otherwise what broke.
std::string CheckLoadBytes(std::span<const std::uint8_t> bytes);
