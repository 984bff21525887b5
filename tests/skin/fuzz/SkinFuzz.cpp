// One fuzz target over everything a stored skin goes through before it reaches GDI: the
// stored-stream decoder (checked against the plain one-bit-at-a-time decoder), the package
// index, the INI parser, BMP decoding and the load's pixel budget. The first byte picks the
// stage so that each gets inputs shaped for it. Declared sizes are left as they come: the
// reader's own bounds keep each input cheap.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "bench/skin/PlainLzhDecoder.h"
#include "skin/data/BmpImage.h"
#include "skin/data/Colours.h"
#include "skin/data/Lzh.h"
#include "skin/data/QuickIni.h"
#include "skin/data/SkinLimits.h"
#include "skin/data/SkinReader.h"

namespace {

// What a skin load does with every entry: the INI by part, each image by name through the
// budget (a refusal ends the load), then decoded.
void Lookups(const TSkinReader& reader) {
  std::vector<std::uint8_t> body;
  reader.ExtractByPart(".ini", body);
  TQuickIni ini;
  ini.LoadFromStream(body);
  PixelBudget budget;
  try {
    for (const std::string& name : reader.Names()) {
      const auto found = reader.FindByName(name);
      if (!found) __builtin_trap();  // every listed name is found
      if (const auto size = BmpDimensions(*found)) {
        budget.Take(std::int64_t{size->width} * size->height);
        DecodeBmp(*found);
      }
    }
  } catch (const SkinLimitExceeded&) {
  }
}

std::uint32_t U32(std::span<const std::uint8_t> b) {
  return b[0] | b[1] << 8 | b[2] << 16 | static_cast<std::uint32_t>(b[3]) << 24;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::span<const std::uint8_t> input(data + 1, size - 1);
  switch (data[0] % 5) {
    case 0: {
      TSkinReader reader;
      if (reader.ReadPackage(input) == PackageStatus::Ok) Lookups(reader);
      break;
    }
    case 1: {
      TSkinReader reader;
      if (reader.IndexPackage(input) == PackageStatus::Ok) Lookups(reader);
      break;
    }
    case 2: {
      TQuickIni ini;
      ini.LoadFromStream(input);
      for (const std::string& section : ini.ReadSections()) {
        ini.ReadInteger(section, "Frame", 0);
        ParseColour(ini.ReadString(section, "color", ""), 0);
      }
      break;
    }
    case 3:
      BmpDimensions(input);
      DecodeBmp(input);
      break;
    default: {
      // The fast decoder against the plain one: the same bytes for any stream and size (up to
      // what the reader would let a stream of that length declare).
      if (input.size() < 4) return 0;
      const auto stream = input.subspan(4);
      const std::uint32_t wanted =
          U32(input) % (static_cast<std::uint32_t>(stream.size()) * skin_limits::kMaxExpansion +
                        skin_limits::kExpansionAllowance);
      if (TLZH::Unpack(stream, wanted) != PlainLzhUnpack(stream, wanted)) __builtin_trap();
    }
  }
  return 0;
}
