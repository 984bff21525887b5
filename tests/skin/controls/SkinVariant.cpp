#include "tests/skin/controls/SkinVariant.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "skin/data/SkinPackageWriter.h"

namespace controltest {

namespace {

namespace fs = std::filesystem;

const fs::path kSkinFolder = fs::path(VELMO_SOURCE_DIR) / "resources" / "skin";

std::vector<std::uint8_t> ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// Where a section's body starts and ends (the next section's header or the end).
bool FindSection(const std::string& ini, std::string_view section, size_t& begin, size_t& end) {
  const std::string header = "[" + std::string(section) + "]";
  begin = ini.find(header);
  if (begin == std::string::npos) return false;
  end = ini.find("\n[", begin + header.size());
  end = end == std::string::npos ? ini.size() : end + 1;
  return true;
}

}  // namespace

std::string SetKey(std::string ini, std::string_view section, std::string_view key,
                   std::string_view value) {
  size_t begin, end;
  const std::string line = std::string(key) + "=" + std::string(value) + "\n";
  if (!FindSection(ini, section, begin, end))
    return ini + "\n[" + std::string(section) + "]\n" + line;
  const std::string start = "\n" + std::string(key) + "=";
  const size_t at = ini.find(start, begin);
  if (at != std::string::npos && at < end) {
    const size_t lineEnd = ini.find('\n', at + 1);
    ini.replace(at + 1, (lineEnd == std::string::npos ? ini.size() : lineEnd + 1) - at - 1, line);
    return ini;
  }
  const size_t afterHeader = ini.find('\n', begin) + 1;
  ini.insert(afterHeader, line);
  return ini;
}

std::string DropSection(std::string ini, std::string_view section) {
  size_t begin, end;
  if (FindSection(ini, section, begin, end)) ini.erase(begin, end - begin);
  return ini;
}

std::string OurIni() {
  const std::vector<std::uint8_t> bytes = ReadFile(kSkinFolder / "skin.ini");
  return {bytes.begin(), bytes.end()};
}

std::unique_ptr<TSkinData> SkinWithIni(const std::string& ini) {
  auto data = std::make_unique<TSkinData>(nullptr);
  LoadIni(*data, ini);
  return data;
}

std::vector<std::uint8_t> StoredSkinWithIni(const std::string& ini) {
  std::vector<SkinPackageEntry> entries;
  entries.push_back({"skin.ini", {ini.begin(), ini.end()}});
  for (const auto& item : fs::directory_iterator(kSkinFolder)) {
    if (item.path().extension() == ".bmp")
      entries.push_back({item.path().filename().string(), ReadFile(item.path())});
  }
  return StoreSkinPackage(BuildSkinPackage(entries));
}

void LoadIni(TSkinData& data, const std::string& ini) {
  data.ReadSkinStream(FrameStoredSkin(StoredSkinWithIni(ini)));
}

}  // namespace controltest
