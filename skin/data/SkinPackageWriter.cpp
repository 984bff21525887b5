#include "skin/data/SkinPackageWriter.h"

#include "skin/data/Lzh.h"
#include "skin/data/SkinReader.h"

namespace {

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

}  // namespace

std::vector<std::uint8_t> BuildSkinPackage(std::span<const SkinPackageEntry> entries,
                                           std::uint32_t formatCode) {
  std::string names;
  for (const SkinPackageEntry& e : entries) names += e.name + "\r\n";
  std::vector<std::uint8_t> out;
  PutU32(out, formatCode);
  PutU32(out, static_cast<std::uint32_t>(names.size()));
  PutU32(out, 0);
  PutU32(out, 0);
  const int extra = TSkinReader::ExtraBlockSize(formatCode);
  out.insert(out.end(), static_cast<std::size_t>(extra > 0 ? extra : 0), 0);
  out.insert(out.end(), names.begin(), names.end());
  for (const SkinPackageEntry& e : entries) PutU32(out, static_cast<std::uint32_t>(e.body.size()));
  for (const SkinPackageEntry& e : entries) out.insert(out.end(), e.body.begin(), e.body.end());
  return out;
}

std::vector<std::uint8_t> StoreSkinPackage(std::span<const std::uint8_t> package) {
  std::vector<std::uint8_t> out;
  PutU32(out, static_cast<std::uint32_t>(package.size()));
  const std::vector<std::uint8_t> packed = TLZH::Pack(package);
  out.insert(out.end(), packed.begin(), packed.end());
  return out;
}

std::vector<std::uint8_t> FrameStoredSkin(std::span<const std::uint8_t> stored) {
  std::vector<std::uint8_t> out;
  PutU32(out, static_cast<std::uint32_t>(stored.size()));
  out.insert(out.end(), stored.begin(), stored.end());
  return out;
}
