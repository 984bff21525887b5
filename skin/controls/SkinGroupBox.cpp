#include "skin/controls/SkinGroupBox.h"

#include "skin/controls/OffscreenFace.h"
#include "skin/data/SkinData.h"
#include "ui/GdiObject.h"

VELMO_NAMED_CLASS_INFO(TSkinGroupBox, TSkinFaceControl)

namespace {

constexpr int kCaptionInset = 8;

}  // namespace

TSkinGroupBox::TSkinGroupBox(ui::TComponent* owner) : TSkinFaceControl(owner) {}

void TSkinGroupBox::AttachControl(TWinSkinForm& form, TSkinData& skinData, bool applyColour,
                                  HDC canvas) {
  TSkinControl::AttachControl(form, skinData, applyColour, canvas);
  // The items inside fill themselves with the face; the box follows at once.
  Repaint();
}

void TSkinGroupBox::DrawSkin(HDC dc, const RECT& rect) {
  OffscreenFace face(rect);
  if (!face.Ready()) return;
  RefreshState();
  HDC target = face.dc();
  const int width = face.Width(), height = face.Height();
  FillFace(target, face.Local());
  ui::SelectObjectGuard font(target, ControlFont());
  SIZE zero{};
  GetTextExtentPoint32W(target, L"0", 1, &zero);
  const int y = zero.cy / 2 - 1;
  if (mode_ == 0 && Records() && Records()->FaceBrush) {
    RECT edge{0, y, width, height};
    FrameRect(target, &edge, Records()->FaceBrush.get());
    InflateRect(&edge, -1, -1);
    FrameRect(target, &edge, Records()->FaceBrush.get());
  }
  {
    ui::GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, ShadowColour()));
    ui::SelectObjectGuard usePen(target, pen.get());
    ui::SelectObjectGuard noFill(target, GetStockObject(NULL_BRUSH));
    RoundRect(target, 1, y, width - 1, height - 1, 5, 5);
  }
  if (!caption_.empty()) {
    // Measured and drawn as the system draws it: "&x" is an underlined x.
    RECT measured{};
    DrawTextW(target, caption_.c_str(), -1, &measured, DT_SINGLELINE | DT_CALCRECT);
    const SIZE extent{measured.right - measured.left, measured.bottom - measured.top};
    const bool right = (GetWindowLongW(WindowHandle(), GWL_EXSTYLE) & WS_EX_RIGHT) != 0;
    const int x = right ? width - kCaptionInset - extent.cx : kCaptionInset;
    // The outline stops two pixels short of the caption on both sides.
    const RECT cell{x - 2, 0, x + extent.cx + 2, extent.cy};
    SetBkColor(target, FaceColour());
    ExtTextOutW(target, 0, 0, ETO_OPAQUE, &cell, L"", 0, nullptr);
    SetBkMode(target, TRANSPARENT);
    SetTextColor(target, enabled_ ? FontColour() : ShadowColour());
    RECT text{x, 0, x + extent.cx, extent.cy};
    DrawTextW(target, caption_.c_str(), -1, &text, DT_SINGLELINE | DT_NOCLIP);
  }
  if (ui::TWinControl* control = Control()) control->PaintControls(target);
  face.CopyTo(dc);
}
