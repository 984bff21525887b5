// One fuzz target over everything a stored skin goes through before it reaches GDI: the
// stored-stream decoder, the package index, the INI parser and BMP decoding. The first byte
// picks the stage so that each gets inputs shaped for it.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "skin/data/BmpImage.h"
#include "skin/data/Colours.h"
#include "skin/data/QuickIni.h"
#include "skin/data/SkinReader.h"

namespace {

void Lookups(const TSkinReader& reader) {
  std::vector<std::uint8_t> body;
  reader.ExtractByPart(".ini", body);
  for (const std::string& name : reader.Names()) {
    reader.ExtractByName(name, body);
    DecodeBmp(body);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::span<const std::uint8_t> input(data + 1, size - 1);
  switch (data[0] % 4) {
    case 0: {
      // Keep declared sizes small so that one input stays cheap; the cap itself is tested.
      if (input.size() >= 4 && (input[2] | input[3]) != 0) return 0;
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
    default:
      DecodeBmp(input);
  }
  return 0;
}
