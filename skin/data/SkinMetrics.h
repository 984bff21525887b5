#pragma once

#include <windows.h>

#include "ui/GdiObject.h"

// The skin's images are drawn for a 96 DPI screen. A program that is not DPI-aware sees the
// screen's own DPI where Windows does not stretch it (Windows 7 at 125 %): every system
// metric and system font grows while the skin's images and the layout stay in pixels. The
// parts the skin draws take the system's sizes at 96 DPI, so that they fit their images.
namespace skin {

// The screen's logical DPI as this program sees it.
int ScreenDpi();
// A value the system gives at the screen's DPI, as it would be at 96 DPI.
int At96Dpi(int value);
// GetSystemMetrics(index) as at 96 DPI.
int SkinMetric(int index);
// A system font (caption, menu) at the size it has at 96 DPI.
LOGFONTW SkinFont(LOGFONTW font);
// The system's caption and menu fonts at their 96 DPI size.
ui::GdiObject<HFONT> SkinCaptionFont();
ui::GdiObject<HFONT> SkinMenuFont(bool bold = false);

}  // namespace skin
