#include "skin/controls/SkinUpDown.h"

#include <commctrl.h>

#include <algorithm>

#include "skin/controls/OffscreenFace.h"
#include "skin/data/ElementDrawing.h"
#include "skin/data/SkinData.h"
#include "ui/GdiObject.h"

VELMO_NAMED_CLASS_INFO(TSkinUpDown, TSkinFaceControl)

namespace {

// How far the buttons keep inside the edit of a buddy up-down: the edit's skinned frame.
constexpr int kBuddyInset = 3;

bool IsMouseDown(UINT msg) { return msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK; }

}  // namespace

TSkinUpDown::TSkinUpDown(ui::TComponent* owner) : TSkinFaceControl(owner) {}

bool TSkinUpDown::Horizontal() const {
  if (GetWindowLongW(WindowHandle(), GWL_STYLE) & UDS_HORZ) return true;
  if (const ui::TControl* control = FrameworkControl())
    return control->GetPropText(L"Orientation").value_or(L"") == L"udHorizontal";
  return false;
}

void TSkinUpDown::Halves(const RECT& area, RECT& first, RECT& second) const {
  first = second = area;
  if (Horizontal()) {
    first.right = second.left = (area.left + area.right) / 2;
  } else {
    first.bottom = second.top = (area.top + area.bottom) / 2;
  }
}

bool TSkinUpDown::BeforeMessage(ui::TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND:
      if (!FrameworkControl()) {
        RECT r;
        GetClientRect(WindowHandle(), &r);
        FillRect(reinterpret_cast<HDC>(m.WParam), &r,
                 static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
      }
      m.Result = 1;
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP: {
      // The control's handler (a change handler) may free the control and us with it.
      const std::shared_ptr<bool> alive = AliveFlag();
      if (IsMouseDown(m.Msg)) {
        CallPrevious(m);
        if (!*alive) return false;
        state_ |= kPressed;
      } else {
        state_ &= ~kPressed;
        CallPrevious(m);
        if (!*alive) return false;
      }
      Repaint();
      return false;
    }
    default:
      return TSkinFaceControl::BeforeMessage(m);
  }
}

void TSkinUpDown::AfterMessage(ui::TMessage& m) {
  switch (m.Msg) {
    case WM_MOUSEMOVE: {
      // A new half under the mouse shows hot.
      state_ |= kHot;
      TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, WindowHandle(), 0};
      TrackMouseEvent(&track);
      PaintWindow(nullptr);
      break;
    }
    case WM_MOUSELEAVE:
    case ui::CM_MOUSELEAVE:
      state_ &= ~(kHot | kPressed);
      PaintWindow(nullptr);
      break;
    default:
      TSkinControl::AfterMessage(m);
  }
}

int TSkinUpDown::ButtonState(const RECT& half, POINT cursor) const {
  if (!enabled_) return kDisabled;
  if (!PtInRect(&half, cursor)) return kNormal;
  if (state_ & kPressed) return kPressedFrame;
  if (state_ & kHot) return kHotFrame;
  return kNormal;
}

RECT TSkinUpDown::ButtonArea(const RECT& rect) const {
  if (!buddy_) return rect;
  RECT own{}, parent{};
  GetWindowRect(WindowHandle(), &own);
  GetWindowRect(GetParent(WindowHandle()), &parent);
  InflateRect(&parent, -kBuddyInset, -kBuddyInset);
  RECT area = rect;
  area.left += std::max<LONG>(0, parent.left - own.left);
  area.top += std::max<LONG>(0, parent.top - own.top);
  area.right -= std::max<LONG>(0, own.right - parent.right);
  area.bottom -= std::max<LONG>(0, own.bottom - parent.bottom);
  return area;
}

void TSkinUpDown::DrawButton(HDC dc, const RECT& half, int button, int state) const {
  const TDataSkinBorder* record =
      Records() ? (Horizontal() ? Records()->UpDownHorz : Records()->UpDownVert).get() : nullptr;
  const int frame = state + 4 * button;
  if (HasImage(record)) {
    DrawStateImage(dc, half, *record, 8, frame);
    if (!record->Bitmap2.Empty()) {
      const int width = record->Bitmap2.Width() / 8, height = record->Bitmap2.Height();
      const int x = (half.left + half.right - width) / 2, y = (half.top + half.bottom - height) / 2;
      skin::DrawFrameAtSize(dc, {x, y, x + width, y + height}, record->Bitmap2, true, width, frame);
    }
    return;
  }
  // Without the skin's strip: a plain button in the skin's colours.
  FillFace(dc, half);
  ui::GdiObject<HBRUSH> edge(CreateSolidBrush(ShadowColour()));
  FrameRect(dc, &half, edge.get());
  const int cx = (half.left + half.right) / 2, cy = (half.top + half.bottom) / 2;
  POINT arrow[3];
  const int s = 3;
  if (Horizontal()) {
    const int d = button == 0 ? -1 : 1;
    arrow[0] = {cx + d * s / 2 + d, cy};
    arrow[1] = {cx - d * s / 2, cy - s};
    arrow[2] = {cx - d * s / 2, cy + s};
  } else {
    const int d = button == 0 ? -1 : 1;
    arrow[0] = {cx, cy + d * s / 2 + d};
    arrow[1] = {cx - s, cy - d * s / 2};
    arrow[2] = {cx + s, cy - d * s / 2};
  }
  const COLORREF ink = state == kDisabled ? ShadowColour() : ButtonTextColour();
  ui::GdiObject<HBRUSH> brush(CreateSolidBrush(ink));
  ui::GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, ink));
  ui::SelectObjectGuard useBrush(dc, brush.get());
  ui::SelectObjectGuard usePen(dc, pen.get());
  Polygon(dc, arrow, 3);
}

void TSkinUpDown::DrawSkin(HDC dc, const RECT& rect) {
  OffscreenFace face(rect);
  if (!face.Ready()) return;
  RefreshState();
  const RECT local = face.Local();
  if (buddy_)
    FillRect(face.dc(), &local, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  else
    FillFace(face.dc(), local);
  POINT cursor;
  GetCursorPos(&cursor);
  ScreenToClient(WindowHandle(), &cursor);
  RECT first, second;
  Halves(ButtonArea(local), first, second);
  DrawButton(face.dc(), first, 0, ButtonState(first, cursor));
  DrawButton(face.dc(), second, 1, ButtonState(second, cursor));
  face.CopyTo(dc);
}
