#include "skin/controls/ArrowButton.h"

#include <windowsx.h>

#include <algorithm>

#include "skin/data/ElementDrawing.h"
#include "skin/data/SkinImages.h"
#include "skin/data/SkinRecords.h"
#include "ui/GdiObject.h"

VELMO_NAMED_CLASS_INFO(TArrowButton, ui::TCustomControl)

namespace {

constexpr int kNormalFrame = 1;
constexpr int kHotFrame = 4;

}  // namespace

TArrowButton::TArrowButton(ui::TComponent* owner, HWND picker, const SkinRecords* records)
    : ui::TCustomControl(owner), picker_(picker), records_(records) {}

void TArrowButton::WndProc(ui::TMessage& m) {
  switch (m.Msg) {
    case WM_MOUSEMOVE:
      if (!hot_) {
        hot_ = true;
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, WindowHandle(), 0};
        TrackMouseEvent(&track);
        Invalidate();
      }
      m.Result = 0;
      return;
    case WM_MOUSELEAVE:
      hot_ = false;
      Invalidate();
      m.Result = 0;
      return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
      MapWindowPoints(WindowHandle(), picker_, &p, 1);
      const LPARAM at = MAKELPARAM(p.x, p.y);
      PostMessageW(picker_, WM_LBUTTONDOWN, MK_LBUTTON, at);
      PostMessageW(picker_, WM_LBUTTONUP, 0, at);
      m.Result = 0;
      return;
    }
    case WM_LBUTTONUP:
      ::SetFocus(picker_);
      m.Result = 0;
      return;
    default:
      ui::TCustomControl::WndProc(m);
  }
}

void TArrowButton::PaintWindow(HDC dc) {
  RECT r;
  GetClientRect(WindowHandle(), &r);
  const COLORREF face =
      records_ ? skin::ResolveColour(records_->Colours.ButtonFace) : GetSysColor(COLOR_BTNFACE);
  ui::GdiObject<HBRUSH> brush(CreateSolidBrush(face));
  FillRect(dc, &r, brush.get());
  const TDataSkinObject* arrow = records_ ? records_->ComboxArrow.get() : nullptr;
  if (!arrow || arrow->Bitmap.Empty()) return;
  const bool hot = hot_ && IsWindowEnabled(picker_);
  try {
    skin::DrawFrame(dc, r, arrow->Bitmap, true, std::max(1, arrow->FrameCount),
                    hot ? kHotFrame : kNormalFrame);
  } catch (...) {
    // GDI ran out: the face without the arrow until the next paint.
  }
}
