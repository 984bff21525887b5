#pragma once

#include <cstdint>
#include <span>
#include <vector>

// LZSS with adaptive Huffman coding (LZHUF): ring of 4096 bytes, matches of 3 to 60 bytes,
// 314 symbols. The decoder is what every stored skin goes through; the encoder is only used
// by the skin packer and the tests.
class TLZH {
 public:
  // Decodes exactly `size` bytes. Input that ends early reads as zero bytes, so truncated data
  // still yields `size` bytes (of whatever the zeros decode to).
  static std::vector<std::uint8_t> Unpack(std::span<const std::uint8_t> source, std::uint32_t size);

  // The inverse of Unpack for `data.size()` bytes; the size itself is not written.
  static std::vector<std::uint8_t> Pack(std::span<const std::uint8_t> data);
};
