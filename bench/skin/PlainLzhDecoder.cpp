#include "bench/skin/PlainLzhDecoder.h"

#include <cstring>
#include <memory>

#include "skin/data/LzhTree.h"

namespace {

using namespace lzh;

class BitReader {
 public:
  explicit BitReader(std::span<const std::uint8_t> in) : in_(in) {}
  int Bit() {
    Fill();
    const int bit = (buffer_ >> 15) & 1;
    buffer_ = static_cast<std::uint16_t>(buffer_ << 1);
    --count_;
    return bit;
  }
  int Byte() {
    Fill();
    const int byte = buffer_ >> 8;
    buffer_ = static_cast<std::uint16_t>(buffer_ << 8);
    count_ -= 8;
    return byte;
  }

 private:
  void Fill() {
    while (count_ <= 8) {
      const unsigned next = pos_ < in_.size() ? in_[pos_++] : 0;
      buffer_ = static_cast<std::uint16_t>(buffer_ | (next << (8 - count_)));
      count_ += 8;
    }
  }
  std::span<const std::uint8_t> in_;
  std::size_t pos_ = 0;
  std::uint16_t buffer_ = 0;
  int count_ = 0;
};

}  // namespace

std::vector<std::uint8_t> PlainLzhUnpack(std::span<const std::uint8_t> source, std::uint32_t size) {
  auto tree = std::make_unique<Tree>();
  tree->Start();
  std::uint8_t ring[kRing + kLookAhead - 1] = {};
  std::memset(ring, ' ', kRing - kLookAhead);
  std::vector<std::uint8_t> out;
  out.reserve(size);
  BitReader bits(source);
  int r = kRing - kLookAhead;
  while (out.size() < size) {
    int c = tree->son[kRoot];
    while (c < kNodes) c = tree->son[c + bits.Bit()];
    c -= kNodes;
    tree->Update(c);
    if (c < 256) {
      out.push_back(static_cast<std::uint8_t>(c));
      ring[r] = static_cast<std::uint8_t>(c);
      r = (r + 1) & (kRing - 1);
      continue;
    }
    int byte = bits.Byte();
    const int high = kPositions.code[byte] << 6;
    for (int extra = kPositions.len[byte] - 2; extra > 0; --extra) byte = (byte << 1) | bits.Bit();
    const int position = high | (byte & 0x3F);
    const int from = (r - position - 1) & (kRing - 1);
    const int length = c - 255 + kThreshold;
    for (int k = 0; k < length && out.size() < size; ++k) {
      const std::uint8_t b = ring[(from + k) & (kRing - 1)];
      out.push_back(b);
      ring[r] = b;
      r = (r + 1) & (kRing - 1);
    }
  }
  return out;
}
