#include "convert/AnsiPaths.h"

#include <windows.h>

#include <cstdio>

#include "ui/CodePage.h"

std::optional<std::string> ExactAnsi(std::wstring_view text) {
  std::string ansi = ui::WideToAnsi(text, CP_ACP);
  if (ui::AnsiToWide(ansi, CP_ACP) != text) return std::nullopt;
  return ansi;
}

std::string EncoderPathText(const std::wstring& path) {
  if (std::optional<std::string> exact = ExactAnsi(path)) return *exact;
  DWORD length = GetShortPathNameW(path.c_str(), nullptr, 0);
  if (length > 0) {
    std::wstring shortPath(length, L'\0');
    shortPath.resize(GetShortPathNameW(path.c_str(), shortPath.data(), length));
    if (std::optional<std::string> exact = ExactAnsi(shortPath)) return *exact;
  }
  return ui::WideToAnsi(path, CP_ACP);
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
