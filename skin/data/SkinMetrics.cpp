#include "skin/data/SkinMetrics.h"

namespace skin {

int ScreenDpi() {
  // Fixed for the process: a program that is not DPI-aware keeps the DPI it started with.
  static const int dpi = [] {
    HDC screen = GetDC(nullptr);
    const int value = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    return value > 0 ? value : 96;
  }();
  return dpi;
}

int At96Dpi(int value) {
  const int dpi = ScreenDpi();
  return dpi == 96 ? value : MulDiv(value, 96, dpi);
}

int SkinMetric(int index) { return At96Dpi(GetSystemMetrics(index)); }

LOGFONTW SkinFont(LOGFONTW font) {
  font.lfHeight = At96Dpi(font.lfHeight);
  font.lfWidth = At96Dpi(font.lfWidth);
  return font;
}

namespace {

NONCLIENTMETRICSW SystemFonts() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  return metrics;
}

}  // namespace

ui::GdiObject<HFONT> SkinCaptionFont() {
  const LOGFONTW font = SkinFont(SystemFonts().lfCaptionFont);
  return ui::GdiObject<HFONT>(CreateFontIndirectW(&font));
}

ui::GdiObject<HFONT> SkinMenuFont(bool bold) {
  LOGFONTW font = SkinFont(SystemFonts().lfMenuFont);
  if (bold) font.lfWeight = FW_BOLD;
  return ui::GdiObject<HFONT>(CreateFontIndirectW(&font));
}

}  // namespace skin
