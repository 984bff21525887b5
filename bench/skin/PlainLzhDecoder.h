#pragma once

#include <cstdint>
#include <span>
#include <vector>

// The plain LZHUF decoder: one bit at a time down the adaptive tree, a 16-bit bit buffer, a
// 4096-byte ring, and every byte appended to a growing vector. It is the benchmark's
// baseline and the tests' second opinion on the fast decoder.
std::vector<std::uint8_t> PlainLzhUnpack(std::span<const std::uint8_t> source, std::uint32_t size);
