#include "ui/CodePage.h"

namespace ui {

std::string WideToAnsi(std::wstring_view text, UINT codePage) {
  if (text.empty()) return {};
  int length = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()),
                                   nullptr, 0, nullptr, nullptr);
  std::string result(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), result.data(),
                      length, nullptr, nullptr);
  return result;
}

std::wstring AnsiToWide(std::string_view text, UINT codePage) {
  if (text.empty()) return {};
  int length =
      MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring result(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), result.data(),
                      length);
  return result;
}

}  // namespace ui
