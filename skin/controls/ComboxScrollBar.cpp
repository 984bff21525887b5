#include "skin/controls/ComboxScrollBar.h"

#include <windowsx.h>

#include <algorithm>

#include "skin/data/SkinData.h"
#include "ui/GdiObject.h"

VELMO_NAMED_CLASS_INFO(TComboxScrollBar, TSkinControl)

namespace {
// The frame redraw of themed systems.
constexpr UINT kCaptionRedraw = 0x1AE;
}  // namespace

TComboxScrollBar::TComboxScrollBar(ui::TComponent* owner)
    : TSkinControl(owner), arrow_(GetSystemMetrics(SM_CXHSCROLL)) {}

bool TComboxScrollBar::ReadBar(SCROLLBARINFO& info, RECT& bar) const {
  HWND list = WindowHandle();
  if (!list || !IsWindow(list)) return false;
  info = {};
  info.cbSize = sizeof(info);
  if (!GetScrollBarInfo(list, OBJID_VSCROLL, &info)) return false;
  if (info.rgstate[0] & STATE_SYSTEM_INVISIBLE) return false;
  RECT window;
  GetWindowRect(list, &window);
  bar = info.rcScrollBar;
  OffsetRect(&bar, -window.left, -window.top);
  return bar.right > bar.left && bar.bottom > bar.top;
}

ScrollBarLook TComboxScrollBar::Look(const SCROLLBARINFO& info, const RECT& bar) const {
  ScrollBarLook look;
  look.vertical = true;
  look.size = {bar.right - bar.left, bar.bottom - bar.top};
  look.arrow = arrow_;
  look.thumbStart = info.xyThumbTop;
  look.thumbEnd = info.xyThumbBottom;
  look.disabled = (info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE) != 0;
  return look;
}

int TComboxScrollBar::PartAt(POINT screen) const {
  SCROLLBARINFO info;
  RECT bar;
  if (!ReadBar(info, bar) || !PtInRect(&info.rcScrollBar, screen)) return ScrollBarLook::kNone;
  return Look(info, bar).HitTest(screen.y - info.rcScrollBar.top);
}

void TComboxScrollBar::DrawBar() {
  SCROLLBARINFO info;
  RECT bar;
  if (!Records() || !ReadBar(info, bar)) return;
  ScrollBarLook look = Look(info, bar);
  look.part = part_;
  look.pressed = dragging_ || pressed_;
  if (dragging_) {
    const int thumb = look.thumbEnd - look.thumbStart;
    look.thumbStart = dragThumbStart_;
    look.thumbEnd = dragThumbStart_ + thumb;
  }
  ui::Bitmap picture = PaintScrollBar(*Records(), look);
  if (picture.Empty()) return;
  ui::WindowDC dc(WindowHandle(), ui::WindowDC::Area::Whole);
  ui::Bitmap::Canvas canvas(picture);
  BitBlt(dc.get(), bar.left, bar.top, picture.Width(), picture.Height(), canvas.dc(), 0, 0,
         SRCCOPY);
}

bool TComboxScrollBar::BeforeMessage(ui::TMessage& m) {
  const POINT at{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  switch (m.Msg) {
    case WM_NCLBUTTONDOWN:
      if (m.WParam != HTVSCROLL) break;
      // An arrow or the track: the system scrolls (inside the default handling), the bar shows
      // the part pressed meanwhile.
      part_ = PartAt(at);
      if (part_ != ScrollBarLook::kThumb) {
        pressed_ = true;
        DrawBar();
        const std::shared_ptr<bool> alive = AliveFlag();
        CallPrevious(m);
        if (!*alive) return false;
        pressed_ = false;
        part_ = PartAt(at);
        DrawBar();
        return false;
      }
      break;
    default:
      break;
  }
  if (m.Msg == WM_NCLBUTTONDOWN && m.WParam == HTVSCROLL) {
    SCROLLBARINFO info;
    RECT bar;
    POINT screen{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
    if (ReadBar(info, bar)) {
      const int along = screen.y - info.rcScrollBar.top;
      if (along >= info.xyThumbTop && along < info.xyThumbBottom) {
        DragThumb(screen);
        m.Result = 0;
        return false;
      }
    }
  }
  return TSkinControl::BeforeMessage(m);
}

void TComboxScrollBar::AfterMessage(ui::TMessage& m) {
  switch (m.Msg) {
    // After the system, which draws its own bar's hot parts on these.
    case WM_NCMOUSEMOVE: {
      const POINT at{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
      part_ = m.WParam == HTVSCROLL ? PartAt(at) : ScrollBarLook::kNone;
      DrawBar();
      if (part_ != ScrollBarLook::kNone) {
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE | TME_NONCLIENT, WindowHandle(), 0};
        TrackMouseEvent(&track);
      }
      break;
    }
    case WM_NCMOUSELEAVE:
      if (!pressed_ && !dragging_) part_ = ScrollBarLook::kNone;
      DrawBar();
      break;
    case WM_NCPAINT:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case kCaptionRedraw:
    // The list moves its bar on these without repainting the frame.
    case WM_PAINT:
    case WM_MOUSEWHEEL:
    case WM_KEYDOWN:
      DrawBar();
      break;
    default:
      TSkinControl::AfterMessage(m);
  }
}

void TComboxScrollBar::DragThumb(POINT screen) {
  HWND list = WindowHandle();
  SCROLLBARINFO bar{};
  RECT unused;
  if (!ReadBar(bar, unused)) return;
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_ALL;
  GetScrollInfo(list, SB_VERT, &info);
  const int thumb = bar.xyThumbBottom - bar.xyThumbTop;
  const int length = bar.rcScrollBar.bottom - bar.rcScrollBar.top;
  const int track = std::max(1, length - 2 * arrow_ - thumb);
  const int last = info.nPage > 0 ? info.nMax - static_cast<int>(info.nPage) + 1 : info.nMax;
  const int pressThumb = bar.xyThumbTop;
  int position = info.nPos;

  SetCapture(list);
  const std::shared_ptr<bool> alive = AliveFlag();
  dragging_ = true;
  part_ = ScrollBarLook::kThumb;
  dragThumbStart_ = pressThumb;
  DrawBar();
  MSG msg;
  while (IsWindow(list) && GetCapture() == list) {
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      WaitMessage();
      continue;
    }
    if (msg.message == WM_QUIT) {
      // The application is ending: the drag ends, and the outer loop must see the quit too.
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (msg.message == WM_LBUTTONUP || msg.message == WM_NCLBUTTONUP) break;
    if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE) {
      // The thumb follows the cursor; its place on the track gives the position.
      const int offset = std::clamp<int>(pressThumb + (msg.pt.y - screen.y) - arrow_, 0, track);
      dragThumbStart_ = arrow_ + offset;
      const int now = info.nMin + MulDiv(offset, last - info.nMin, track);
      if (now != position) {
        position = now;
        SendMessageW(list, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, position), 0);
      }
      DrawBar();
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    // What that ran may have freed the list's wrapper (us) along with its control.
    if (!*alive) return;
  }
  if (!*alive || !IsWindow(list)) return;
  SendMessageW(list, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, position), 0);
  if (!*alive) return;
  PostMessageW(list, WM_VSCROLL, SB_ENDSCROLL, 0);
  if (GetCapture() == list) ReleaseCapture();
  dragging_ = false;
  part_ = ScrollBarLook::kNone;
  DrawBar();
}
