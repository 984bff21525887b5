// Packs a skin folder (one INI text and its BMP files) into the stored skin stream that the
// main window's layout carries: u32 length, then u32 package size and the LZHUF bits. With
// --file it writes a skin file instead (what SkinFile loads): the same without the length.
//
//   skin_packer [--file] <skin folder> <output file>
//
// Every BMP must decode; the packed stream is read back and compared entry by entry before
// the output is written, so a packer fault can never ship a damaged skin.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

#include "skin/data/BmpImage.h"
#include "skin/data/SkinPackageWriter.h"
#include "skin/data/SkinReader.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::uint8_t> ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int Fail(const std::string& message) {
  std::cerr << "skin_packer: " << message << "\n";
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  const bool skinFile = argc == 4 && std::string(argv[1]) == "--file";
  if (argc != 3 && !skinFile)
    return Fail("usage: skin_packer [--file] <skin folder> <output file>");
  const fs::path folder = argv[argc - 2];
  const fs::path output = argv[argc - 1];
  std::error_code error;
  if (!fs::is_directory(folder, error)) return Fail("not a folder: " + folder.string());

  std::vector<fs::path> inis, bitmaps;
  for (const auto& item : fs::directory_iterator(folder)) {
    if (!item.is_regular_file()) continue;
    std::string ext = AsciiLower(item.path().extension().string());
    if (ext == ".ini") inis.push_back(item.path());
    if (ext == ".bmp") bitmaps.push_back(item.path());
  }
  if (inis.size() != 1) return Fail("the skin folder needs exactly one .ini file");
  std::sort(bitmaps.begin(), bitmaps.end());

  // The INI first: the reader finds it by ".ini" wherever it stands, but first is cheapest.
  std::vector<SkinPackageEntry> entries;
  entries.push_back({inis[0].filename().string(), ReadFile(inis[0])});
  for (const fs::path& bmp : bitmaps) {
    std::vector<std::uint8_t> body = ReadFile(bmp);
    if (!DecodeBmp(body)) return Fail("not a BMP the skin can load: " + bmp.string());
    entries.push_back({bmp.filename().string(), std::move(body)});
  }
  if (entries.size() > TSkinReader::kMaxEntries) return Fail("too many files for one skin");

  const std::vector<std::uint8_t> stored = StoreSkinPackage(BuildSkinPackage(entries));
  TSkinReader check;
  if (check.ReadPackage(stored) != PackageStatus::Ok || check.Count() != entries.size()) {
    return Fail("the packed skin does not read back");
  }
  std::vector<std::uint8_t> body;
  for (const SkinPackageEntry& e : entries) {
    if (!check.ExtractByName(e.name, body) || body != e.body) {
      // Two names equal up to case: only the first can be found by name.
      return Fail("entry does not read back identically: " + e.name);
    }
  }

  const std::vector<std::uint8_t> framed = skinFile ? stored : FrameStoredSkin(stored);
  fs::create_directories(output.parent_path(), error);
  const fs::path temporary = output.string() + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(framed.data()),
              static_cast<std::streamsize>(framed.size()));
    if (!out) return Fail("cannot write " + temporary.string());
  }
  fs::rename(temporary, output, error);
  if (error) return Fail("cannot write " + output.string());
  std::cout << "skin_packer: " << entries.size() << " files, package "
            << (stored.size() >= 4 ? stored[0] | stored[1] << 8 | stored[2] << 16 : 0)
            << " bytes, stored " << stored.size() << " bytes -> " << output.string() << "\n";
  return 0;
}
