#pragma once

#include <cstdint>
#include <cstring>

// The adaptive Huffman tree of LZHUF, shared by the encoder, the decoder and the benchmark's
// plain decoder. Nodes are kept in order of frequency; leaves are the 314 symbols (byte values,
// then match lengths 3 to 60).
namespace lzh {

inline constexpr int kRing = 4096;
inline constexpr int kLookAhead = 60;
inline constexpr int kThreshold = 2;
inline constexpr int kSymbols = 256 - kThreshold + kLookAhead;  // 314
inline constexpr int kNodes = kSymbols * 2 - 1;                 // 627
inline constexpr int kRoot = kNodes - 1;                        // 626
inline constexpr int kMaxFreq = 0x8000;

// Upper six bits of a match position are coded by a prefix of the first byte read.
struct PositionTables {
  std::uint8_t code[256]{};  // byte -> upper six bits
  std::uint8_t len[256]{};   // byte -> prefix length (six lower bits follow it)
  std::uint8_t pcode[64]{};  // upper six bits -> first byte
  std::uint8_t plen[64]{};   // upper six bits -> prefix length
  constexpr PositionTables() {
    // (codes in the group, bytes per code, prefix length)
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
inline constexpr PositionTables kPositions;

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

  // Counts one more occurrence of symbol c: each node from its leaf up to the root is first
  // moved to the end of its block of equal frequencies, then counted.
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

}  // namespace lzh
