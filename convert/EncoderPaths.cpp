#include "convert/EncoderPaths.h"

#include <windows.h>

#include <cstdio>

#include "ui/CodePage.h"

namespace {

// Control characters never occur in a path: "\x01<index>\x02" stands for a wide-only one.
constexpr char kStandInOpen = '\x01';
constexpr char kStandInClose = '\x02';

// The text with every stand-in replaced by text(its index).
template <typename Char, typename Text>
std::basic_string<Char> ReplaceStandIns(std::basic_string_view<Char> line, Text text) {
  std::basic_string<Char> result;
  for (size_t i = 0; i < line.size(); ++i) {
    size_t close = line[i] == Char(kStandInOpen) ? line.find(Char(kStandInClose), i)
                                                 : std::basic_string_view<Char>::npos;
    if (close == std::basic_string_view<Char>::npos) {
      result += line[i];
      continue;
    }
    size_t index = 0;
    for (size_t d = i + 1; d < close; ++d)
      index = index * 10 + static_cast<size_t>(line[d] - Char('0'));
    result += text(index);
    i = close;
  }
  return result;
}

}  // namespace

std::optional<std::string> ExactAnsi(std::wstring_view text) {
  std::string ansi = ui::WideToAnsi(text, CP_ACP);
  if (ui::AnsiToWide(ansi, CP_ACP) != text) return std::nullopt;
  return ansi;
}

std::wstring ShortPathOf(const std::wstring& path) {
  DWORD length = GetShortPathNameW(path.c_str(), nullptr, 0);
  if (length == 0) return {};
  std::wstring shortPath(length, L'\0');
  shortPath.resize(GetShortPathNameW(path.c_str(), shortPath.data(), length));
  return shortPath;
}

EncoderPaths::EncoderPaths(ShortPath shortPath)
    : shortPath_(shortPath ? std::move(shortPath) : ShortPathOf) {}

std::string EncoderPaths::Path(const std::wstring& path) {
  if (std::optional<std::string> exact = ExactAnsi(path)) return *exact;
  std::wstring shortPath = shortPath_(path);
  if (!shortPath.empty())
    if (std::optional<std::string> exact = ExactAnsi(shortPath)) return *exact;
  wideOnly_.push_back(path);
  return kStandInOpen + std::to_string(wideOnly_.size() - 1) + kStandInClose;
}

std::wstring EncoderPaths::Wide(std::string_view ansiLine) const {
  // The stand-ins are ASCII: the same characters in every code page.
  return ReplaceStandIns<wchar_t>(ui::AnsiToWide(ansiLine, CP_ACP),
                                  [&](size_t index) { return wideOnly_.at(index); });
}

std::string EncoderPaths::Ansi(std::string_view ansiLine) const {
  return ReplaceStandIns<char>(
      ansiLine, [&](size_t index) { return ui::WideToAnsi(wideOnly_.at(index), CP_ACP); });
}

std::string RepresentableBaseName(std::wstring_view sourcePath) {
  size_t nameStart = sourcePath.find_last_of(L"\\:");
  std::wstring_view name =
      nameStart == std::wstring_view::npos ? sourcePath : sourcePath.substr(nameStart + 1);
  name = name.substr(0, name.size() >= 4 ? name.size() - 4 : 0);
  std::string base;
  for (size_t i = 0; i < name.size();) {
    size_t units =
        IS_HIGH_SURROGATE(name[i]) && i + 1 < name.size() && IS_LOW_SURROGATE(name[i + 1]) ? 2 : 1;
    std::wstring_view character = name.substr(i, units);
    if (std::optional<std::string> exact = ExactAnsi(character)) {
      base += *exact;
    } else {
      unsigned codePoint =
          units == 2 ? 0x10000 + ((character[0] - 0xD800u) << 10) + (character[1] - 0xDC00u)
                     : character[0];
      char hex[16];
      std::snprintf(hex, sizeof hex, "_%X_", codePoint);
      base += hex;
    }
    i += units;
  }
  return base;
}
