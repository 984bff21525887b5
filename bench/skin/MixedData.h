#pragma once

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

// Text-like words, runs of one byte, noise and repeats from far back: literals, short and long
// matches, and enough symbols to rebuild the decoder's tree many times. The same bytes for the
// same size, for the benchmark and the tests alike.
inline std::vector<std::uint8_t> MixedData(std::size_t size) {
  std::mt19937 random(7);
  std::vector<std::uint8_t> out;
  const std::string words[] = {"LeftWidth=", "TopHeight=4\r\n", "[Buttons]\r\n", "    "};
  while (out.size() < size) {
    switch (random() % 4) {
      case 0: {
        const std::string& w = words[random() % 4];
        out.insert(out.end(), w.begin(), w.end());
        break;
      }
      case 1:
        out.insert(out.end(), random() % 200 + 1, static_cast<std::uint8_t>(random()));
        break;
      case 2:
        out.push_back(static_cast<std::uint8_t>(random()));
        break;
      default:
        if (out.size() > 5000) {
          const std::size_t from = out.size() - 4000 - random() % 30;
          for (int i = 0; i < 70; ++i) out.push_back(out[from + i]);
        }
    }
  }
  out.resize(size);
  return out;
}
