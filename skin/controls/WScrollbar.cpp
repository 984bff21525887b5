#include "skin/controls/WScrollbar.h"

#include <windowsx.h>

#include <algorithm>

#include "skin/controls/PropertyAccess.h"
#include "skin/controls/SkinControl.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinImages.h"
#include "ui/Control.h"
#include "ui/GdiObject.h"

namespace {

constexpr wchar_t kClassName[] = L"TWScrollbar";
// Stands for an empty range, so that the thumb of such a bar sits at its start.
constexpr int kEmptyRange = 9999999;

void RegisterOverlayClass(WNDPROC proc) {
  static const bool registered = [proc] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    return RegisterClassExW(&wc) != 0;
  }();
  (void)registered;
}

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

}  // namespace

TWScrollbar::TWScrollbar(TSkinControl& owner)
    : owner_(owner), alive_(std::make_shared<bool>(true)) {}

TWScrollbar::~TWScrollbar() {
  *alive_ = false;
  if (window_ && IsWindow(window_)) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
}

void TWScrollbar::AttachToControl(ui::TWinControl& control, int kind) {
  if (kind == kControl) targetControl_ = &control;
  Create(control.Handle(), kind);
}

void TWScrollbar::AttachToWindow(HWND target, int kind) { Create(target, kind); }

void TWScrollbar::Create(HWND target, int kind) {
  if (window_ || !target) return;
  target_ = target;
  kind_ = kind;
  arrow_ = GetSystemMetrics(SM_CXHSCROLL);
  if (kind != kControl) {
    orientation_ = kind;
  } else if (targetControl_ && targetControl_->HasProperty(L"Kind")) {
    orientation_ =
        ui::SameText(skin::EnumProperty(targetControl_, L"Kind"), L"sbHorizontal") ? 0 : 1;
  } else {
    orientation_ = (GetWindowLongW(target, GWL_STYLE) & SBS_VERT) ? 1 : 0;
  }
  HWND parent = GetParent(target);
  if (!parent) return;
  RegisterOverlayClass(&TWScrollbar::WindowProc);
  window_ = CreateWindowExW(WS_EX_TOOLWINDOW, kClassName, L"", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 0,
                            0, parent, nullptr, GetModuleHandleW(nullptr), this);
}

LRESULT CALLBACK TWScrollbar::WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    static_cast<TWScrollbar*>(create->lpCreateParams)->window_ = window;
  }
  auto* self = reinterpret_cast<TWScrollbar*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, msg, wParam, lParam);
  if (msg == WM_NCDESTROY) {
    self->window_ = nullptr;
    self->shown_ = false;
    return DefWindowProcW(window, msg, wParam, lParam);
  }
  // Nothing may leave a window procedure; the overlay's paints already fall back to a plain
  // face when GDI runs out.
  try {
    return self->OnMessage(msg, wParam, lParam);
  } catch (...) {
    return 0;
  }
}

LRESULT TWScrollbar::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(point);
      return 0;
    case WM_MOUSELEAVE:
      if (!pressed_ && part_ != ScrollBarLook::kNone) {
        part_ = ScrollBarLook::kNone;
        Invalidate();
      }
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      OnButtonDown(point);
      return 0;
    case WM_LBUTTONUP:
      OnButtonUp(point);
      return 0;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
      // Where the wheel goes to the window under the pointer, the default would pass it to
      // the parent form: the bar's control is the one to scroll.
      if (target_ && IsWindow(target_)) return SendMessageW(target_, msg, wParam, lParam);
      return 0;
    default:
      return DefWindowProcW(window_, msg, wParam, lParam);
  }
}

// ---- the system's bar ----------------------------------------------------------------------

bool TWScrollbar::ReadBar(Bar& bar) const {
  if (!target_ || !IsWindow(target_)) return false;
  if (kind_ == kControl) return ReadControlBar(bar);
  SCROLLBARINFO info{};
  info.cbSize = sizeof(info);
  if (!GetScrollBarInfo(target_, kind_ == kHorizontal ? OBJID_HSCROLL : OBJID_VSCROLL, &info))
    return false;
  bar.screen = info.rcScrollBar;
  bar.thumbStart = info.xyThumbTop;
  bar.thumbEnd = info.xyThumbBottom;
  bar.disabled = (info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE) != 0;
  bar.invisible = (info.rgstate[0] & STATE_SYSTEM_INVISIBLE) != 0;
  return true;
}

bool TWScrollbar::ReadControlBar(Bar& bar) const {
  GetWindowRect(target_, &bar.screen);
  const int L = orientation_ ? Height(bar.screen) : Width(bar.screen);
  const int A = arrow_;
  int length = A, start = A;
  if (targetControl_ && targetControl_->HasProperty(L"Position")) {
    const int position = skin::IntProperty(targetControl_, L"Position");
    const int min = skin::IntProperty(targetControl_, L"Min");
    const int max = skin::IntProperty(targetControl_, L"Max");
    const int page = std::max(0, skin::IntProperty(targetControl_, L"PageSize"));
    const int range = max != min ? max - min : kEmptyRange;
    if (page > 0) length = MulDiv(L - 2 * A, page - 1, range);
    if (position != min)
      start = A + MulDiv(page > 0 ? L - 2 * A : L - 3 * A, position - min, range);
  } else {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
    if (!GetScrollInfo(target_, SB_CTL, &info)) return false;
    const int range = info.nMax != info.nMin ? info.nMax - info.nMin : kEmptyRange;
    const int offset = info.nPos - info.nMin;
    if (info.nPage > 0) {
      length = MulDiv(L - 2 * A, static_cast<int>(info.nPage) - 1, range);
      if (length > 7) {
        start = offset ? A + MulDiv(L - 2 * A, offset, range) : A;
      } else {
        length = 8;
        start = offset ? A + MulDiv(L - 2 * A - 8, offset, range) : A;
      }
    } else {
      start = offset ? A + MulDiv(L - 3 * A, offset, range) : A;
    }
  }
  bar.thumbStart = start;
  bar.thumbEnd = start + length;
  bar.disabled = !IsWindowEnabled(target_);
  return true;
}

// ---- placing -------------------------------------------------------------------------------

void TWScrollbar::UpdatePosition(HWND target) {
  if (!window_ || !target) return;
  target_ = target;
  Bar bar;
  if (!ReadBar(bar)) return;
  const TSkinData* data = owner_.SkinData();
  const bool image =
      data && data->Records().Scrollbar && !data->Records().Scrollbar->Bitmap.Empty();
  // Without the skin's arrows the system's bar stays in sight.
  if (!(GetWindowLongW(target, GWL_STYLE) & WS_VISIBLE) || bar.invisible || !image ||
      Width(bar.screen) <= 0 || Height(bar.screen) <= 0) {
    Conceal();
    return;
  }
  POINT topLeft{bar.screen.left, bar.screen.top}, bottomRight{bar.screen.right, bar.screen.bottom};
  ScreenToClient(target, &topLeft);
  ScreenToClient(target, &bottomRight);
  barRect_ = {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
  length_ = orientation_ ? Height(bar.screen) : Width(bar.screen);

  POINT place{bar.screen.left, bar.screen.top};
  ScreenToClient(GetParent(window_), &place);
  RECT now;
  GetWindowRect(window_, &now);
  MapWindowPoints(nullptr, GetParent(window_), reinterpret_cast<POINT*>(&now), 2);
  // Directly above the target in z-order, so that the target's painting leaves it alone.
  HWND above = GetWindow(target, GW_HWNDPREV);
  UINT flags = SWP_NOACTIVATE | SWP_SHOWWINDOW;
  if (above == window_) flags |= SWP_NOZORDER;
  SetWindowPos(window_, above && above != window_ ? above : HWND_TOP, place.x, place.y,
               Width(bar.screen), Height(bar.screen), flags);
  if (shown_ && now.left == place.x && now.top == place.y && Width(now) == Width(bar.screen) &&
      Height(now) == Height(bar.screen)) {
    Invalidate();
  } else {
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE);
  }
  shown_ = true;
}

void TWScrollbar::Conceal() {
  if (window_) ShowWindow(window_, SW_HIDE);
  shown_ = false;
}

void TWScrollbar::Invalidate() {
  if (window_) InvalidateRect(window_, nullptr, FALSE);
}

void TWScrollbar::Refresh() {
  if (!shown_ || !window_) return;
  Bar bar;
  if (!ReadBar(bar)) return;
  if (bar.invisible || !EqualRect(&bar.screen, &painted_.screen)) {
    UpdatePosition(target_);
  } else if (bar.thumbStart != painted_.thumbStart || bar.thumbEnd != painted_.thumbEnd ||
             bar.disabled != painted_.disabled) {
    Invalidate();
  }
}

void TWScrollbar::SetPart(int part) {
  part_ = part;
  Invalidate();
}

void TWScrollbar::SetEnabled(bool enabled) {
  if (window_) EnableWindow(window_, enabled);
}

// ---- painting ------------------------------------------------------------------------------

void TWScrollbar::OnPaint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window_, &ps);
  RECT client;
  GetClientRect(window_, &client);
  ui::Bitmap picture;
  Bar bar;
  const TSkinData* data = owner_.SkinData();
  if (data && ReadBar(bar) && !bar.invisible) {
    painted_ = bar;
    const SIZE size{Width(bar.screen), Height(bar.screen)};
    if (size.cx > 0 && size.cy > 0 && size.cx <= client.right && size.cy <= client.bottom) {
      ScrollBarLook look = LookOf(bar);
      if (kind_ != kControl && part_ == ScrollBarLook::kThumb && pressed_) {
        // Dragged: the thumb follows the cursor from where it was pressed.
        POINT cursor;
        GetCursorPos(&cursor);
        const int moved = orientation_ ? cursor.y - pressPoint_.y : cursor.x - pressPoint_.x;
        const int thumb = bar.thumbEnd - bar.thumbStart;
        look.thumbStart = std::clamp(pressThumbStart_ + moved, arrow_,
                                     std::max(arrow_, look.Length() - arrow_ - thumb));
        look.thumbEnd = look.thumbStart + thumb;
      }
      picture = PaintScrollBar(data->Records(), look);
    }
  }
  if (!picture.Empty()) {
    ui::Bitmap::Canvas canvas(picture);
    BitBlt(dc, 0, 0, picture.Width(), picture.Height(), canvas.dc(), 0, 0, SRCCOPY);
  } else {
    const COLORREF face =
        data ? skin::ResolveColour(data->Records().Colours.ButtonFace) : GetSysColor(COLOR_BTNFACE);
    ui::GdiObject<HBRUSH> brush(CreateSolidBrush(face));
    FillRect(dc, &client, brush.get());
  }
  EndPaint(window_, &ps);
}

// ---- mouse ---------------------------------------------------------------------------------

int TWScrollbar::Along(POINT client) const { return orientation_ ? client.y : client.x; }

ScrollBarLook TWScrollbar::LookOf(const Bar& bar) const {
  ScrollBarLook look;
  look.vertical = orientation_ == 1;
  look.size = {Width(bar.screen), Height(bar.screen)};
  look.arrow = arrow_;
  look.thumbStart = bar.thumbStart;
  look.thumbEnd = bar.thumbEnd;
  look.part = part_;
  look.pressed = pressed_;
  look.disabled = bar.disabled;
  return look;
}

void TWScrollbar::OnMouseMove(POINT point) {
  Bar bar;
  if (ReadBar(bar)) {
    const int part = LookOf(bar).HitTest(Along(point));
    if (part != part_) {
      part_ = part;
      Invalidate();
    }
  }
  TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, window_, 0};
  TrackMouseEvent(&track);
}

LPARAM TWScrollbar::TargetPoint(POINT client) const {
  // Window scroll bars take screen points; a scroll bar control its own client points,
  // which are the overlay's.
  if (kind_ != kControl) ClientToScreen(window_, &client);
  return MAKELPARAM(client.x, client.y);
}

void TWScrollbar::OnButtonDown(POINT point) {
  GetCursorPos(&pressPoint_);
  Bar bar;
  if (ReadBar(bar)) {
    pressThumbStart_ = bar.thumbStart;
    part_ = LookOf(bar).HitTest(Along(point));
  }
  const LPARAM at = TargetPoint(point);
  pressed_ = true;
  Invalidate();
  UpdateWindow(window_);
  ReleaseCapture();
  // The system's tracking runs inside this call, until the button goes up.
  std::shared_ptr<bool> alive = alive_;
  HWND target = target_;
  if (kind_ == kControl)
    SendMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, at);
  else
    SendMessageW(target, WM_NCLBUTTONDOWN, kind_ == kHorizontal ? HTHSCROLL : HTVSCROLL, at);
  if (!*alive) return;
  pressed_ = false;
  ReleaseCapture();
  Invalidate();
}

void TWScrollbar::OnButtonUp(POINT point) {
  const LPARAM at = TargetPoint(point);
  pressed_ = false;
  ReleaseCapture();
  if (kind_ == kControl) {
    PostMessageW(target_, WM_LBUTTONUP, MK_LBUTTON, at);
    Invalidate();
  } else {
    PostMessageW(target_, WM_NCLBUTTONUP, kind_ == kHorizontal ? HTHSCROLL : HTVSCROLL, at);
  }
}
