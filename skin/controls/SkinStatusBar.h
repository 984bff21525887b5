#pragma once

#include <string>

#include "skin/controls/SkinFaceControl.h"

// Status bars: each panel (or, in simple mode, one field over the bar) drawn from the skin's
// status-bar edges with its text inside, and the skin's grip picture in the corner of a bar
// with a size grip.
class TSkinStatusBar : public TSkinFaceControl {
  VELMO_DECLARE_CLASS
 public:
  explicit TSkinStatusBar(ui::TComponent* owner);

 protected:
  void DrawSkin(HDC dc, const RECT& rect) override;

 private:
  // The text of a panel, or of the simple field for SB_SIMPLEID.
  std::wstring PanelText(int panel) const;
};
