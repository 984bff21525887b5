#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The skin's INI text: kept lines in order, the section headers, and an index built once per
// load of the first header of each name and the first line of each key in each section, so
// that a lookup costs the same however many sections and lines the text has.
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
  std::size_t SectionCount() const { return sections_.size(); }

 private:
  struct Section {
    std::string header;  // the whole trimmed line, brackets included
    int line;
    std::unordered_map<std::string, int> keys;  // lower-cased key -> line of its first use
  };
  const Section* Find(std::string_view section) const;

  std::vector<std::string> lines_;
  std::vector<Section> sections_;
  std::unordered_map<std::string, std::size_t> firstSection_;  // lower-cased header -> section
};

// Integer text as the skins write it: decimal, or hexadecimal after "$", optional sign.
std::optional<std::int32_t> ParseSkinInteger(std::string_view text);
// Removes leading and trailing characters of code 32 or below.
std::string_view TrimBlanks(std::string_view text);
