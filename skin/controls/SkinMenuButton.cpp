#include "skin/controls/SkinMenuButton.h"

#include "skin/data/SkinData.h"
#include "ui/GdiObject.h"

VELMO_NAMED_CLASS_INFO(TSkinMenuButton, TSkinButton)

namespace {
// The arrow's area at the right of the face.
constexpr int kArrowArea = 16;
}  // namespace

TSkinMenuButton::TSkinMenuButton(ui::TComponent* owner) : TSkinButton(owner) {}

void TSkinMenuButton::DrawSkin(HDC dc, const RECT& rect) {
  if (!HasImage(ButtonsRecord())) return;
  RefreshButtonState();
  const int frame = FaceFrame();
  if (!BeginFace(dc, rect, frame)) return;
  {
    ui::Bitmap::Canvas canvas(face_);
    const int W = face_.Width(), H = face_.Height();
    ui::SelectObjectGuard font(canvas.dc(), ControlFont());
    SetTextColor(canvas.dc(), TextColour(frame));
    DrawCaption(canvas.dc(), {0, 0, W - kArrowArea, H}, true, caption_);
    const COLORREF colour = GetSysColor(enabled_ ? COLOR_WINDOWTEXT : COLOR_BTNSHADOW);
    ui::GdiObject<HBRUSH> brush(CreateSolidBrush(colour));
    ui::GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, colour));
    ui::SelectObjectGuard selectBrush(canvas.dc(), brush.get());
    ui::SelectObjectGuard selectPen(canvas.dc(), pen.get());
    const POINT arrow[] = {{W - 15, H / 2 - 1}, {W - 9, H / 2 - 1}, {W - 12, H / 2 + 2}};
    Polygon(canvas.dc(), arrow, 3);
  }
  EndFace(dc, rect);
}
