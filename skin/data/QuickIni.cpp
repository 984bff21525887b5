#include "skin/data/QuickIni.h"

#include <charconv>
#include <optional>

#include "skin/data/SkinReader.h"

namespace {

bool IsHeader(std::string_view line) {
  return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

// The key of a line: the text before its first "=", trimmed and lower-cased; none without "=".
std::optional<std::string> LineKey(std::string_view line) {
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  return AsciiLower(TrimBlanks(line.substr(0, equals)));
}

}  // namespace

std::string_view TrimBlanks(std::string_view text) {
  std::size_t begin = 0, end = text.size();
  while (begin < end && static_cast<unsigned char>(text[begin]) <= 32) ++begin;
  while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 32) --end;
  return text.substr(begin, end - begin);
}

std::optional<std::int32_t> ParseSkinInteger(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (!text.empty() && text[0] == '$') {
    base = 16;
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  std::uint64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  // Hexadecimal covers all 32 bits (so $FFFFFFFF is -1); decimal stays within the signed range.
  const std::uint64_t limit =
      base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
  if (value > limit) return std::nullopt;
  std::int64_t result = base == 16 ? static_cast<std::int32_t>(static_cast<std::uint32_t>(value))
                                   : static_cast<std::int64_t>(value);
  if (negative) result = -result;
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(result));
}

void TQuickIni::LoadFromStream(std::span<const std::uint8_t> bytes) {
  lines_.clear();
  sections_.clear();
  firstSection_.clear();
  std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (const auto zero = text.find('\0'); zero != std::string_view::npos)
    text = text.substr(0, zero);
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = TrimBlanks(text.substr(start, end - start));
    if (!line.empty() && line.front() != ';') {
      const int index = static_cast<int>(lines_.size());
      if (IsHeader(line)) {
        firstSection_.try_emplace(AsciiLower(line), sections_.size());
        sections_.push_back({std::string(line), index, {}});
      } else if (!sections_.empty()) {
        if (auto key = LineKey(line)) sections_.back().keys.try_emplace(std::move(*key), index);
      }
      lines_.emplace_back(line);
    }
    if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') {
      ++end;
    }
    start = end + 1;
  }
}

const TQuickIni::Section* TQuickIni::Find(std::string_view section) const {
  std::string header(1, '[');
  header.append(section).push_back(']');
  const auto found = firstSection_.find(AsciiLower(header));
  return found == firstSection_.end() ? nullptr : &sections_[found->second];
}

int TQuickIni::SectionIndex(std::string_view section) const {
  const Section* s = Find(section);
  return s ? s->line : -1;
}

std::string TQuickIni::ReadString(std::string_view section, std::string_view key,
                                  std::string_view defaultValue) const {
  const Section* s = Find(section);
  if (!s) return std::string(defaultValue);
  // The first line with the key decides, even when its value is empty.
  const auto found = s->keys.find(AsciiLower(key));
  if (found == s->keys.end()) return std::string(defaultValue);
  const std::string_view line = lines_[static_cast<std::size_t>(found->second)];
  const std::string_view value = TrimBlanks(line.substr(line.find('=') + 1));
  return value.empty() ? std::string(defaultValue) : std::string(value);
}

std::int32_t TQuickIni::ReadInteger(std::string_view section, std::string_view key,
                                    std::int32_t defaultValue) const {
  std::string text = ReadString(section, key, "");
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text = "$" + text.substr(2);
  }
  return ParseSkinInteger(text).value_or(defaultValue);
}

std::vector<std::string> TQuickIni::ReadSections() const {
  std::vector<std::string> names;
  for (const Section& s : sections_) {
    std::string_view name = TrimBlanks(s.header);
    name = TrimBlanks(name.substr(1, name.size() - 2));
    names.emplace_back(name);
  }
  return names;
}
