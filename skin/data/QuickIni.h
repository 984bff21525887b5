#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The skin's INI text: kept lines in order plus an index of the section headers. Lookups scan
// linearly; a skin load asks a few hundred questions of a few hundred lines.
class TQuickIni {
 public:
  // Replaces whatever was parsed before. A zero byte ends the text early.
  void LoadFromStream(std::span<const std::uint8_t> text);

  // Index in Lines() of the header "[section]" (letter case ignored), or -1.
  int SectionIndex(std::string_view section) const;
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const;
  std::int32_t ReadInteger(std::string_view section, std::string_view key,
                           std::int32_t defaultValue) const;
  // Section names without brackets, in file order, duplicates kept.
  std::vector<std::string> ReadSections() const;

  const std::vector<std::string>& Lines() const { return lines_; }

 private:
  struct Section {
    std::string header;  // the whole trimmed line, brackets included
    int line;
  };
  std::vector<std::string> lines_;
  std::vector<Section> sections_;
};

// Integer text as the skins write it: decimal, or hexadecimal after "$", optional sign.
std::optional<std::int32_t> ParseSkinInteger(std::string_view text);
// Removes leading and trailing characters of code 32 or below.
std::string_view TrimBlanks(std::string_view text);
