#include "skin/data/Lzh.h"

#include <array>
#include <cstring>
#include <memory>
#include <new>
#include <unordered_map>

#include "skin/data/ElzhException.h"

namespace {

constexpr int kRing = 4096;
constexpr int kLookAhead = 60;
constexpr int kThreshold = 2;
constexpr int kSymbols = 256 - kThreshold + kLookAhead;  // 314
constexpr int kNodes = kSymbols * 2 - 1;                 // 627
constexpr int kRoot = kNodes - 1;                        // 626
constexpr int kMaxFreq = 0x8000;

// Upper six bits of a match position are coded by a prefix of the first byte read.
struct PositionTables {
  std::array<std::uint8_t, 256> code{};  // byte -> upper six bits
  std::array<std::uint8_t, 256> len{};   // byte -> bits the prefix really uses, plus 2
  std::array<std::uint8_t, 64> pcode{};  // upper six bits -> first byte
  std::array<std::uint8_t, 64> plen{};   // upper six bits -> prefix length
  constexpr PositionTables() {
    // (codes in the group, bytes per code, prefix length + 2... stored as the decoder's length)
    constexpr int groups[6][3] = {{1, 32, 3}, {3, 16, 4}, {8, 8, 5},
                                  {12, 4, 6}, {24, 2, 7}, {16, 1, 8}};
    int byte = 0, c = 0;
    for (const auto& g : groups) {
      for (int k = 0; k < g[0]; ++k, ++c) {
        pcode[c] = static_cast<std::uint8_t>(byte);
        plen[c] = static_cast<std::uint8_t>(g[2]);
        for (int b = 0; b < g[1]; ++b, ++byte) {
          code[byte] = static_cast<std::uint8_t>(c);
          len[byte] = static_cast<std::uint8_t>(g[2]);
        }
      }
    }
  }
};
constexpr PositionTables kTables;

// The adaptive Huffman tree shared by both directions.
struct Tree {
  std::uint16_t freq[kNodes + 1];
  std::int16_t parent[kNodes + kSymbols];
  std::int16_t son[kNodes];

  void Start() {
    for (int i = 0; i < kSymbols; ++i) {
      freq[i] = 1;
      son[i] = static_cast<std::int16_t>(i + kNodes);
      parent[i + kNodes] = static_cast<std::int16_t>(i);
    }
    for (int i = 0, j = kSymbols; j <= kRoot; i += 2, ++j) {
      freq[j] = static_cast<std::uint16_t>(freq[i] + freq[i + 1]);
      son[j] = static_cast<std::int16_t>(i);
      parent[i] = parent[i + 1] = static_cast<std::int16_t>(j);
    }
    freq[kNodes] = 0xFFFF;  // sentinel for Update's search
    parent[kRoot] = 0;
  }

  // Halves every leaf frequency (rounding up) and rebuilds the tree.
  void Rebuild() {
    int j = 0;
    for (int i = 0; i < kNodes; ++i) {
      if (son[i] >= kNodes) {
        freq[j] = static_cast<std::uint16_t>((freq[i] + 1) / 2);
        son[j] = son[i];
        ++j;
      }
    }
    for (int i = 0, j2 = kSymbols; j2 < kNodes; i += 2, ++j2) {
      const unsigned f = freq[i] + freq[i + 1];
      freq[j2] = static_cast<std::uint16_t>(f);
      int k = j2 - 1;
      while (f < freq[k]) --k;
      ++k;
      const std::size_t bytes = static_cast<std::size_t>(j2 - k) * 2;
      std::memmove(&freq[k + 1], &freq[k], bytes);
      freq[k] = static_cast<std::uint16_t>(f);
      std::memmove(&son[k + 1], &son[k], bytes);
      son[k] = static_cast<std::int16_t>(i);
    }
    for (int i = 0; i < kNodes; ++i) {
      const int k = son[i];
      if (k >= kNodes) {
        parent[k] = static_cast<std::int16_t>(i);
      } else {
        parent[k] = parent[k + 1] = static_cast<std::int16_t>(i);
      }
    }
  }

  void Update(int c) {
    if (freq[kRoot] == kMaxFreq) Rebuild();
    c = parent[c + kNodes];
    do {
      const unsigned k = ++freq[c];
      int l = c + 1;
      if (k > freq[l]) {
        while (k > freq[++l]) {
        }
        --l;
        freq[c] = freq[l];
        freq[l] = static_cast<std::uint16_t>(k);
        const int i = son[c];
        parent[i] = static_cast<std::int16_t>(l);
        if (i < kNodes) parent[i + 1] = static_cast<std::int16_t>(l);
        const int j = son[l];
        son[l] = static_cast<std::int16_t>(i);
        parent[j] = static_cast<std::int16_t>(c);
        if (j < kNodes) parent[j + 1] = static_cast<std::int16_t>(c);
        son[c] = static_cast<std::int16_t>(j);
        c = l;
      }
    } while ((c = parent[c]) != 0);
  }
};

// Dictionary tables of one run. The encoder's share is reserved with the decoder's, as the
// stored format's writer does, so one allocation serves both directions.
struct Tables {
  Tree tree;
  std::uint8_t ring[kRing + kLookAhead - 1];
  std::uint8_t encoderReserve[8194 + 8194 + 8706];
};

std::unique_ptr<Tables> AllocateTables() {
  try {
    auto tables = std::make_unique<Tables>();
    tables->tree.Start();
    std::memset(tables->ring, 0, sizeof tables->ring);
    std::memset(tables->ring, ' ', kRing - kLookAhead);
    return tables;
  } catch (const std::bad_alloc&) {
    throw ElzhException("LZH : Cannot get memory for dictionary tables");
  }
}

// Most significant bit first; past the end of the input every byte reads as zero.
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

class BitWriter {
 public:
  void Put(unsigned bits, int count) {  // the low `count` bits, most significant first
    for (int i = count - 1; i >= 0; --i) {
      current_ = static_cast<std::uint8_t>((current_ << 1) | ((bits >> i) & 1));
      if (++filled_ == 8) {
        out_.push_back(current_);
        current_ = 0;
        filled_ = 0;
      }
    }
  }
  std::vector<std::uint8_t> Finish() {
    if (filled_ > 0) out_.push_back(static_cast<std::uint8_t>(current_ << (8 - filled_)));
    return std::move(out_);
  }

 private:
  std::vector<std::uint8_t> out_;
  std::uint8_t current_ = 0;
  int filled_ = 0;
};

}  // namespace

std::vector<std::uint8_t> TLZH::Unpack(std::span<const std::uint8_t> source, std::uint32_t size) {
  std::unique_ptr<Tables> t = AllocateTables();
  std::vector<std::uint8_t> out;
  out.reserve(size);
  BitReader bits(source);
  Tree& tree = t->tree;
  std::uint8_t* ring = t->ring;
  int r = kRing - kLookAhead;
  while (out.size() < size) {
    int c = tree.son[kRoot];
    while (c < kNodes) c = tree.son[c + bits.Bit()];
    c -= kNodes;
    tree.Update(c);
    if (c < 256) {
      out.push_back(static_cast<std::uint8_t>(c));
      ring[r] = static_cast<std::uint8_t>(c);
      r = (r + 1) & (kRing - 1);
      continue;
    }
    int byte = bits.Byte();
    const int high = kTables.code[byte] << 6;
    for (int extra = kTables.len[byte] - 2; extra > 0; --extra) byte = (byte << 1) | bits.Bit();
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

std::vector<std::uint8_t> TLZH::Pack(std::span<const std::uint8_t> data) {
  std::unique_ptr<Tables> t = AllocateTables();
  Tree& tree = t->tree;
  BitWriter out;
  auto encodeSymbol = [&](int c) {
    // Walk leaf to root, then write the path from the root down.
    std::uint8_t path[kNodes];
    int depth = 0;
    int k = tree.parent[c + kNodes];
    do {
      path[depth++] = static_cast<std::uint8_t>(k & 1);
      k = tree.parent[k];
    } while (k != kRoot);
    for (int i = depth - 1; i >= 0; --i) out.Put(path[i], 1);
    tree.Update(c);
  };
  // Chains of earlier positions with the same three leading bytes; only the last window counts.
  constexpr std::size_t kWindow = kRing - kLookAhead;
  std::unordered_map<std::uint32_t, std::vector<std::uint32_t>> chains;
  auto key = [&](std::size_t i) {
    return static_cast<std::uint32_t>(data[i] | (data[i + 1] << 8) | (data[i + 2] << 16));
  };
  std::size_t i = 0;
  while (i < data.size()) {
    std::size_t bestLen = 0, bestDist = 0;
    if (i + kThreshold < data.size()) {
      auto found = chains.find(key(i));
      if (found != chains.end()) {
        const auto& chain = found->second;
        int tries = 0;
        for (auto it = chain.rbegin(); it != chain.rend() && tries < 64; ++it, ++tries) {
          const std::size_t dist = i - *it;
          if (dist > kWindow) break;
          std::size_t len = 0;
          while (len < kLookAhead && i + len < data.size() && data[*it + len] == data[i + len]) {
            ++len;
          }
          if (len > bestLen) {
            bestLen = len;
            bestDist = dist;
            if (len == kLookAhead) break;
          }
        }
      }
    }
    const std::size_t step = bestLen > kThreshold ? bestLen : 1;
    if (bestLen > kThreshold) {
      encodeSymbol(static_cast<int>(255 - kThreshold + bestLen));
      const unsigned position = static_cast<unsigned>(bestDist - 1);
      const unsigned high = position >> 6;
      out.Put(kTables.pcode[high] >> (8 - kTables.plen[high]), kTables.plen[high]);
      out.Put(position & 0x3F, 6);
    } else {
      encodeSymbol(data[i]);
    }
    for (std::size_t k = 0; k < step; ++k, ++i) {
      if (i + kThreshold < data.size()) chains[key(i)].push_back(static_cast<std::uint32_t>(i));
    }
  }
  return out.Finish();
}
