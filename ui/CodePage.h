#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace ui {

// The shell handles paths in code page 936 (GBK), whatever the system's code page.
inline constexpr UINT kShellCodePage = 936;

std::string WideToAnsi(std::wstring_view text, UINT codePage = kShellCodePage);
std::wstring AnsiToWide(std::string_view text, UINT codePage = kShellCodePage);

}  // namespace ui
