#include "skin/data/SkinText.h"

#include "ui/CodePage.h"

namespace skin {

std::wstring AnsiToWide(std::string_view text) { return ui::AnsiToWide(text, CP_ACP); }

std::wstring WideLeft(std::wstring_view text, int count) {
  if (count < 0 || static_cast<std::size_t>(count) >= text.size()) return std::wstring(text);
  return std::wstring(text.substr(0, static_cast<std::size_t>(count)));
}

int DrawTextCompat(HDC dc, std::wstring_view text, RECT& rect, UINT format) {
  return DrawTextW(dc, text.data(), static_cast<int>(text.size()), &rect, format);
}

std::wstring WindowTextWide(HWND window) {
  const int length = GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), length + 1)));
  return text;
}

void TrackMouseLeave(HWND window) {
  TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window, 0};
  TrackMouseEvent(&track);
}

bool IsPopupLike(HWND window) {
  return (GetWindowLongW(window, GWL_STYLE) & WS_POPUP) != 0 ||
         reinterpret_cast<UINT_PTR>(GetParent(window)) == 0x10014;
}

}  // namespace skin
