#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace ui {

// Conversions between UTF-16 and an 8-bit code page (CP_ACP, CP_UTF8, ...). Paths stay wide
// wherever they can: only the encoders' command lines need the ANSI code page.
std::string WideToAnsi(std::wstring_view text, UINT codePage);
std::wstring AnsiToWide(std::string_view text, UINT codePage);

}  // namespace ui
