#include "convert/OutputReaders.h"

#include <charconv>
#include <limits>
#include <optional>
#include <vector>

namespace {

std::string LowerAscii(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lower;
}

// 1-based position of the first occurrence, 0 when absent.
size_t FirstPosition(std::string_view text, std::string_view token) {
  size_t at = text.find(token);
  return at == std::string_view::npos ? 0 : at + 1;
}

// A marker counts when present and not the chunk's first character.
bool MarkerAfterStart(std::string_view text, std::string_view token) {
  return FirstPosition(text, token) >= 2;
}

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
}

// Lines as a string list reads a text: a final line break adds no empty line.
std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t begin = 0;
  while (begin < text.size()) {
    size_t end = text.find('\n', begin);
    if (end == std::string_view::npos) end = text.size();
    lines.emplace_back(text.substr(begin, end - begin));
    begin = end + 1;
  }
  return lines;
}

// A decimal integer with an optional sign and leading zeros; nothing else.
std::optional<int> ParseInteger(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return std::nullopt;
  long long value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
    return std::nullopt;
  return static_cast<int>(value);
}

}  // namespace

std::string_view TrimText(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);
  return text;
}

std::string ExtractBetween(std::string_view text, std::string_view start, std::string_view end,
                           int from) {
  size_t searchFrom = from <= 1 ? 0 : static_cast<size_t>(from - 1);
  if (searchFrom >= text.size() || start.empty()) return {};
  size_t startAt = text.find(start, searchFrom);
  if (startAt == std::string_view::npos) return {};
  size_t gapBegin = startAt + start.size();
  size_t endAt = text.find(end, gapBegin);
  if (endAt == std::string_view::npos) return {};
  size_t gapLength = endAt - gapBegin;
  size_t copyBegin = from == 0 ? gapBegin - 1 : gapBegin;
  return std::string(TrimText(text.substr(copyBegin, gapLength)));
}

int ReadDurationCentis(std::string_view chunk) {
  std::string lower = LowerAscii(chunk);
  if (!MarkerAfterStart(lower, "duration:")) return -1;
  std::string g = ExtractBetween(lower, "duration:", ",", 0) + "0";
  ReplaceAll(g, ": ", "");
  ReplaceAll(g, ".", ":");
  ReplaceAll(g, ":", "\n");
  std::vector<std::string> parts = SplitLines(g);
  if (parts.size() != 4) return 0;
  constexpr long long kScale[4] = {360000, 6000, 100, 1};
  long long total = 0;
  for (size_t i = 0; i < 4; ++i) {
    std::optional<int> part = ParseInteger(parts[i]);
    if (!part) return -1;
    total += *part * kScale[i];
  }
  if (total > std::numeric_limits<int>::max() || total < std::numeric_limits<int>::min()) return -1;
  return static_cast<int>(total);
}

int ReadTimeCentis(std::string_view chunk) {
  if (!MarkerAfterStart(chunk, "time=")) return -1;
  std::string g = ExtractBetween(LowerAscii(chunk), "time=", " ", 0);
  ReplaceAll(g, "=", "");
  ReplaceAll(g, ".", "\n");
  std::vector<std::string> lines = SplitLines(TrimText(g));
  if (lines.size() != 2) return 0;
  long long value = 100LL * ParseInteger(lines[0]).value_or(0);
  std::optional<int> fraction = ParseInteger(lines[1]);
  if (!fraction) return 0;
  value += *fraction;
  if (value > std::numeric_limits<int>::max() || value < std::numeric_limits<int>::min()) return 0;
  return static_cast<int>(value);
}

int ReadDurationFallback(std::string_view chunk) {
  int centis = ReadDurationCentis(chunk);
  return centis > 0 ? centis / 10 : centis;
}

int ReadTimeFallback(std::string_view chunk) {
  if (!MarkerAfterStart(chunk, "time=")) return -1;
  std::string g = ExtractBetween(LowerAscii(chunk), "time=", " ", 0);
  ReplaceAll(g, "=", "");
  ReplaceAll(g, ".", "");
  return ParseInteger(TrimText(g)).value_or(-1);
}

int ReadMencoderPercent(std::string_view chunk) {
  std::string lower = LowerAscii(chunk);
  if (!MarkerAfterStart(lower, "a-v:") || !MarkerAfterStart(lower, "fps trem:")) return -1;
  return ParseInteger(ExtractBetween(lower, "f (", "%)", 1)).value_or(-1);
}
