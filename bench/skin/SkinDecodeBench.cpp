// Prints how fast the stored skin decodes: LZHUF alone, and the whole ReadPackage (decode and
// index). Usage: skin_decode_bench [framed skin stream]
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "skin/data/Lzh.h"
#include "skin/data/SkinReader.h"

namespace {

using Clock = std::chrono::steady_clock;

template <typename Work>
double SecondsPerRun(Work work, int& runs) {
  runs = 0;
  const auto start = Clock::now();
  std::chrono::duration<double> elapsed{};
  while (elapsed.count() < 2.0) {
    work();
    ++runs;
    elapsed = Clock::now() - start;
  }
  return elapsed.count() / runs;
}

}  // namespace

int main(int argc, char** argv) {
  const char* path = argc > 1 ? argv[1] : VELMO_SKIN_STREAM;
  std::ifstream in(path, std::ios::binary);
  const std::vector<std::uint8_t> framed{std::istreambuf_iterator<char>(in), {}};
  if (framed.size() < 8) {
    std::fprintf(stderr, "skin_decode_bench: cannot read %s\n", path);
    return 1;
  }
  const std::span<const std::uint8_t> stored = std::span(framed).subspan(4);
  const std::uint32_t size = stored[0] | stored[1] << 8 | stored[2] << 16 | stored[3] << 24;
  const std::span<const std::uint8_t> bits = stored.subspan(4);

  int runs = 0;
  std::size_t sink = 0;
  const double unpack = SecondsPerRun([&] { sink += TLZH::Unpack(bits, size).size(); }, runs);
  std::printf("skin stream: %zu bytes stored, %u bytes decoded\n", stored.size(), size);
  std::printf("LZHUF decode: %.2f ms per skin, %.1f MB/s of output (%d runs)\n", unpack * 1e3,
              size / unpack / 1e6, runs);
  const double read = SecondsPerRun(
      [&] {
        TSkinReader reader;
        sink += reader.ReadPackage(stored) == PackageStatus::Ok ? reader.Count() : 0;
      },
      runs);
  std::printf("ReadPackage (decode and index): %.2f ms per skin, %.1f MB/s (%d runs)\n", read * 1e3,
              size / read / 1e6, runs);
  return sink == 0;
}
