// Prints how fast skins decode and pack:
//  - the decoder against the plain one-bit-at-a-time decoder, on the shipped skin, on 4 MB of
//    mixed data (text, runs, noise, repeats) and on the independent encoder's reference stream;
//  - ReadPackage (decode and index) of the shipped skin;
//  - the packer's speed and peak heap on 4 MB of random bytes and on the mixed data;
//  - loading an INI text of many sections and looking up every section's keys.
// Usage: skin_decode_bench [framed skin stream]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "bench/skin/MixedData.h"
#include "bench/skin/PlainLzhDecoder.h"
#include "skin/data/Lzh.h"
#include "skin/data/QuickIni.h"
#include "skin/data/SkinReader.h"

// Heap in use and its peak, for the packer's figure. Single-threaded.
namespace {
std::size_t heapInUse = 0, heapPeak = 0;
}
void* operator new(std::size_t size) {
  void* p = std::malloc(size + 16);
  if (!p) throw std::bad_alloc();
  *static_cast<std::size_t*>(p) = size;
  heapInUse += size;
  heapPeak = std::max(heapPeak, heapInUse);
  return static_cast<char*>(p) + 16;
}
void operator delete(void* p) noexcept {
  if (!p) return;
  char* block = static_cast<char*>(p) - 16;
  heapInUse -= *reinterpret_cast<std::size_t*>(block);
  std::free(block);
}
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }

namespace {

using Clock = std::chrono::steady_clock;

std::vector<std::uint8_t> ReadFile(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::uint32_t U32(std::span<const std::uint8_t> b) {
  return b[0] | b[1] << 8 | b[2] << 16 | static_cast<std::uint32_t>(b[3]) << 24;
}

// The best time of one run over several rounds of about 0.2 s: the machine is shared, and the
// best round is the one least disturbed.
template <typename Work>
double BestSeconds(Work work) {
  double best = 1e9;
  for (int round = 0; round < 7; ++round) {
    int runs = 0;
    const auto start = Clock::now();
    std::chrono::duration<double> elapsed{};
    while (elapsed.count() < 0.2) {
      work();
      ++runs;
      elapsed = Clock::now() - start;
    }
    best = std::min(best, elapsed.count() / runs);
  }
  return best;
}

std::size_t sink = 0;

// Both decoders on one stream; false when they disagree.
bool CompareDecoders(const char* what, std::span<const std::uint8_t> bits, std::uint32_t size) {
  if (TLZH::Unpack(bits, size) != PlainLzhUnpack(bits, size)) {
    std::printf("%s: the decoders disagree\n", what);
    return false;
  }
  double fast = 1e9, plain = 1e9;
  for (int i = 0; i < 2; ++i) {  // interleaved, so that both see the same machine
    fast = std::min(fast, BestSeconds([&] { sink += TLZH::Unpack(bits, size).size(); }));
    plain = std::min(plain, BestSeconds([&] { sink += PlainLzhUnpack(bits, size).size(); }));
  }
  std::printf("%-34s %9u bytes: decoder %7.1f MB/s, plain decoder %7.1f MB/s: %.2fx\n", what, size,
              size / fast / 1e6, size / plain / 1e6, plain / fast);
  return true;
}

void Packer(const char* what, const std::vector<std::uint8_t>& data) {
  heapPeak = heapInUse;
  const std::size_t before = heapInUse;
  const auto start = Clock::now();
  const std::vector<std::uint8_t> packed = TLZH::Pack(data);
  const std::chrono::duration<double> elapsed = Clock::now() - start;
  std::printf("packer, %-26s %9zu bytes -> %zu: %.1f MB/s, peak heap %.2f MB\n", what, data.size(),
              packed.size(), data.size() / elapsed.count() / 1e6, (heapPeak - before) / 1e6);
}

void ManySections(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    text += "[Button" + std::to_string(i) + "]\r\nAction=1\r\nAlign=0\r\nButtonImage=b.bmp\r\n";
  }
  const std::span bytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
  const double seconds = BestSeconds([&] {
    TQuickIni ini;
    ini.LoadFromStream(bytes);
    for (const std::string& section : ini.ReadSections()) {
      for (const char* key : {"Action", "Align", "XCoord", "YCoord", "Visibility", "frame"}) {
        sink += static_cast<std::size_t>(ini.ReadInteger(section, key, 0));
      }
    }
  });
  std::printf("INI of %5d sections (%zu bytes), loaded and every key looked up: %.1f ms\n", count,
              text.size(), seconds * 1e3);
}

}  // namespace

int main(int argc, char** argv) {
  const char* path = argc > 1 ? argv[1] : VELMO_SKIN_STREAM;
  const std::vector<std::uint8_t> framed = ReadFile(path);
  if (framed.size() < 8) {
    std::fprintf(stderr, "skin_decode_bench: cannot read %s\n", path);
    return 1;
  }
  const std::span<const std::uint8_t> stored = std::span(framed).subspan(4);
  bool agree = CompareDecoders("shipped skin", stored.subspan(4), U32(stored));

  const std::vector<std::uint8_t> mixed = MixedData(4 << 20);
  const std::vector<std::uint8_t> mixedPacked = TLZH::Pack(mixed);
  agree &= CompareDecoders("mixed data", mixedPacked, static_cast<std::uint32_t>(mixed.size()));

  const std::vector<std::uint8_t> reference =
      ReadFile(VELMO_SOURCE_DIR "/tests/skin/fixtures/lzhuf/packed.lzh");
  if (reference.size() > 4) {
    agree &= CompareDecoders("reference stream (text and noise)", std::span(reference).subspan(4),
                             U32(reference));
  }

  const double read = BestSeconds([&] {
    TSkinReader reader;
    sink += reader.ReadPackage(stored) == PackageStatus::Ok ? reader.Count() : 0;
  });
  std::printf("ReadPackage of the shipped skin (decode and index): %.2f ms\n", read * 1e3);

  std::vector<std::uint8_t> random(4 << 20);
  std::mt19937 generator(3);
  for (auto& b : random) b = static_cast<std::uint8_t>(generator());
  Packer("random bytes", random);
  Packer("mixed data", mixed);

  for (int count : {1000, 8000, 16000}) ManySections(count);
  return agree && sink != 0 ? 0 : 1;
}
