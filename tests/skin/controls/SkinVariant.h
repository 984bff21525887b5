#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "skin/data/SkinData.h"

// Our skin with its INI text changed, packed and loaded like the stored one: for the painters'
// other layouts and for skins that lack an image.
namespace controltest {

// The INI text with a key of a section set (added when missing).
std::string SetKey(std::string ini, std::string_view section, std::string_view key,
                   std::string_view value);
// The INI text without a section and its keys.
std::string DropSection(std::string ini, std::string_view section);
// Our skin's INI text.
std::string OurIni();
// Our images and this INI text as a skin file holds them.
std::vector<std::uint8_t> StoredSkinWithIni(const std::string& ini);
// A skin data component holding our images and this INI text.
std::unique_ptr<TSkinData> SkinWithIni(const std::string& ini);
// Loads our images with this INI text into the component, as a new skin file does: the
// records change, the wrappers are not told.
void LoadIni(TSkinData& data, const std::string& ini);

}  // namespace controltest
