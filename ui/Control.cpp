#include "ui/Control.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdio>
#include <map>

#include "ui/Form.h"
#include "ui/Menus.h"

namespace ui {

namespace {

// The control whose window is being created: its first message binds it to the window.
thread_local TWinControl* t_creating = nullptr;
// The control under the mouse, and the windowless control that holds the mouse capture.
TControl* g_mouseControl = nullptr;
TControl* g_captureControl = nullptr;

HINSTANCE ModuleInstance() {
  static HINSTANCE module = [] {
    HMODULE m = nullptr;
    GetModuleHandleExW(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCWSTR>(&ModuleInstance), &m);
    return m;
  }();
  return module;
}

ATOM ControlAtom() {
  static ATOM atom = GlobalAddAtomW(TWinControl::ControlAtomName().c_str());
  return atom;
}

// Window classes registered by the framework, with the class and procedure each one is
// built on.
struct FrameworkClass {
  WNDPROC proc;
  std::wstring baseClass;
};
std::map<std::wstring, FrameworkClass>& ClassProcs() {
  static std::map<std::wstring, FrameworkClass> procs;
  return procs;
}

bool IsMouseDown(UINT msg) {
  return msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDOWN;
}

void RaiseMouseDown(TControl& control, const TMessage& m) {
  int shift = KeysToShiftState(m.WParam);
  if (m.Msg == WM_LBUTTONDBLCLK) shift |= ssDouble;
  control.MouseDown(m.Msg == WM_RBUTTONDOWN ? TMouseButton::mbRight : TMouseButton::mbLeft, shift,
                    GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
}

}  // namespace

int KeysToShiftState(WPARAM keys) {
  int shift = 0;
  if (keys & MK_SHIFT) shift |= ssShift;
  if (keys & MK_CONTROL) shift |= ssCtrl;
  if (keys & MK_LBUTTON) shift |= ssLeft;
  if (keys & MK_RBUTTON) shift |= ssRight;
  if (keys & MK_MBUTTON) shift |= ssMiddle;
  if (GetKeyState(VK_MENU) < 0) shift |= ssAlt;
  return shift;
}

std::wstring FrameworkWindowClass(const TPersistent& control) {
  const std::wstring& name = control.ClassName();
  return name.rfind(L"TTnt", 0) == 0 ? name + L".UnicodeClass" : name;
}

std::wstring BaseWindowClass(std::wstring_view windowClass) {
  for (const auto& [name, registered] : ClassProcs()) {
    if (SameText(name, windowClass)) return registered.baseClass;
  }
  return {};
}

std::wstring WindowClassName(HWND window) {
  wchar_t name[256]{};
  GetClassNameW(window, name, 256);
  return name;
}

// ---- TControl ----------------------------------------------------------------------------

const TClassInfo& TControl::StaticClass() {
  static TClassInfo info(L"TControl", &TComponent::StaticClass());
  static const bool published = [] {
    info.Integer<TControl>(L"Left", &TControl::Left, &TControl::SetLeft)
        .Integer<TControl>(L"Top", &TControl::Top, &TControl::SetTop)
        .Integer<TControl>(L"Width", &TControl::Width, &TControl::SetWidth)
        .Integer<TControl>(L"Height", &TControl::Height, &TControl::SetHeight)
        .Enum<TControl, TAlign>(
            L"Align", {L"alNone", L"alTop", L"alBottom", L"alLeft", L"alRight", L"alClient"},
            &TControl::Align, &TControl::SetAlign)
        .Boolean<TControl>(L"Visible", &TControl::Visible, &TControl::SetVisible)
        .Boolean<TControl>(L"Enabled", &TControl::Enabled, &TControl::SetEnabled)
        .Text<TControl>(L"Caption", &TControl::Caption, &TControl::SetCaption)
        .Boolean<TControl>(L"ParentColor", &TControl::ParentColor, &TControl::SetParentColor)
        .Boolean<TControl>(L"ParentFont", &TControl::ParentFont, &TControl::SetParentFont)
        .Object<TControl, TFont>(L"Font", L"TFont", &TControl::Font)
        .Event<TControl>(L"OnClick", &TControl::OnClick)
        .Event<TControl>(L"OnResize", &TControl::OnResize);
    TPropInfo color(L"Color", TPropKind::Integer);
    color.getOrdinal = [](const TPersistent& o) { return static_cast<const TControl&>(o).Color(); };
    color.setOrdinal = [](TPersistent& o, int v) { static_cast<TControl&>(o).SetColor(v); };
    color.parseInteger = [](const std::wstring& text, int& v) { return ColorFromText(text, v); };
    color.formatInteger = [](int v) { return ColorToText(v); };
    info.Add(std::move(color));
    TPropInfo popup(L"PopupMenu", TPropKind::Object, {}, L"TPopupMenu");
    popup.getObject = [](const TPersistent& o) -> TPersistent* {
      return static_cast<const TControl&>(o).PopupMenu();
    };
    popup.setObject = [](TPersistent& o, TPersistent* v) {
      static_cast<TControl&>(o).SetPopupMenu(static_cast<TPopupMenu*>(v));
    };
    info.Add(std::move(popup));
    return true;
  }();
  (void)published;
  return info;
}

TControl::TControl(TComponent* owner) : TComponent(owner), font_(std::make_unique<TFont>()) {
  WindowProc = [this](TMessage& m) { WndProc(m); };
  font_->OnChange = [this] { FontChanged(); };
}

TControl::~TControl() {
  if (g_mouseControl == this) g_mouseControl = nullptr;
  if (g_captureControl == this) g_captureControl = nullptr;
  if (parent_) parent_->RemoveControl(this);
  font_->OnChange = nullptr;
}

void TControl::SetParent(TWinControl* parent) {
  if (parent_ == parent) return;
  if (parent_) parent_->RemoveControl(this);
  if (parent) parent->InsertControl(this);
}

void TControl::SetParentComponent(TComponent* parent) {
  if (auto* w = dynamic_cast<TWinControl*>(parent)) SetParent(w);
}

void TControl::SetBounds(int left, int top, int width, int height) {
  bool sized = width != width_ || height != height_;
  if (parent_ && !dynamic_cast<TWinControl*>(this)) Invalidate();
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  if (parent_ && !dynamic_cast<TWinControl*>(this)) Invalidate();
  if (sized) Resized();
}

void TControl::SetClientSize(int width, int height) {
  SetBounds(left_, top_, width_ + width - ClientWidth(), height_ + height - ClientHeight());
}

void TControl::SetAlign(TAlign align) {
  if (align_ == align) return;
  align_ = align;
  if (parent_) parent_->AlignControls();
}

void TControl::SetVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  if (auto* w = dynamic_cast<TWinControl*>(this); w && w->HandleAllocated()) {
    ShowWindow(w->WindowHandle(), visible ? SW_SHOWNA : SW_HIDE);
  } else if (parent_) {
    parent_->Invalidate();
  }
  Perform(CM_VISIBLECHANGED, visible ? 1 : 0);
  if (parent_ && align_ != TAlign::alNone) parent_->AlignControls();
}

void TControl::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  if (auto* w = dynamic_cast<TWinControl*>(this); w && w->HandleAllocated()) {
    EnableWindow(w->WindowHandle(), enabled);
  }
  Perform(CM_ENABLEDCHANGED);
  Invalidate();
}

void TControl::SetColor(TColor color) {
  parentColor_ = false;
  if (color_ == color) return;
  color_ = color;
  Perform(CM_COLORCHANGED);
  Invalidate();
  if (auto* w = dynamic_cast<TWinControl*>(this)) {
    for (TControl* c : w->Controls()) c->ParentColorChanged();
  }
}

void TControl::SetParentColor(bool v) {
  parentColor_ = v;
  if (v) ParentColorChanged();
}

void TControl::ParentColorChanged() {
  if (!parentColor_ || !parent_) return;
  color_ = parent_->Color();
  Invalidate();
  if (auto* w = dynamic_cast<TWinControl*>(this)) {
    for (TControl* c : w->Controls()) c->ParentColorChanged();
  }
}

void TControl::SetParentFont(bool v) {
  parentFont_ = v;
  if (v) ParentFontChanged();
}

void TControl::ParentFontChanged() {
  if (!parentFont_ || !parent_) return;
  font_->Assign(*parent_->Font());
  parentFont_ = true;  // Assign reported a change; it came from the parent
}

void TControl::FontChanged() {
  parentFont_ = false;
  Perform(CM_FONTCHANGED);
  Invalidate();
  if (auto* w = dynamic_cast<TWinControl*>(this)) {
    for (TControl* c : w->Controls()) c->ParentFontChanged();
  }
}

void TControl::SetTransparent(bool v) {
  transparent_ = v;
  Invalidate();
}

void TControl::SetText(const std::wstring& text) {
  if (text_ == text) return;
  text_ = text;
  Perform(CM_TEXTCHANGED);
  Invalidate();
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage m{msg, wParam, lParam, 0};
  // A handler may replace WindowProc while it runs; keep the running one alive.
  TWndMethod proc = WindowProc;
  if (proc) proc(m);
  return m.Result;
}

void TControl::Invalidate() {
  if (parent_ && parent_->HandleAllocated() && visible_) {
    RECT r = BoundsRect();
    InvalidateRect(parent_->WindowHandle(), &r, TRUE);
  }
}

void TControl::Repaint() {
  Invalidate();
  if (parent_ && parent_->HandleAllocated()) UpdateWindow(parent_->WindowHandle());
}

void TControl::Click() {
  if (OnClick) OnClick(*this);
}

void TControl::MouseDown(TMouseButton button, int shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(*this, button, shift, x, y);
}

void TControl::Resized() {
  if (OnResize) OnResize(*this);
}

void TControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CM_MOUSEENTER:
      mouseInControl_ = true;
      break;
    case CM_MOUSELEAVE:
      mouseInControl_ = false;
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
      RaiseMouseDown(*this, m);
      break;
    default:
      break;
  }
  DefaultHandler(m);
}

void TControl::DefaultHandler(TMessage& m) { m.Result = 0; }

// ---- TGraphicControl ---------------------------------------------------------------------

const TClassInfo& TGraphicControl::StaticClass() {
  static TClassInfo info(L"TGraphicControl", &TControl::StaticClass());
  static const bool published = [] {
    info.Boolean<TControl>(L"Transparent", &TControl::Transparent, &TControl::SetTransparent);
    return true;
  }();
  (void)published;
  return info;
}

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) {}
TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      if (m.WParam) Paint(reinterpret_cast<HDC>(m.WParam));
      return;
    case WM_LBUTTONUP: {
      POINT pt{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
      TControl::WndProc(m);
      if (Enabled() && pt.x >= 0 && pt.y >= 0 && pt.x < Width() && pt.y < Height()) Click();
      return;
    }
    default:
      TControl::WndProc(m);
  }
}

// ---- TWinControl -------------------------------------------------------------------------

const TClassInfo& TWinControl::StaticClass() {
  static TClassInfo info(L"TWinControl", &TControl::StaticClass());
  static const bool published = [] {
    info.Integer<TWinControl>(L"TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder)
        .Boolean<TWinControl>(L"TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop)
        .Boolean<TWinControl>(L"ParentBackground", &TWinControl::ParentBackground,
                              &TWinControl::SetParentBackground);
    return true;
  }();
  (void)published;
  return info;
}

const std::wstring& TWinControl::ControlAtomName() {
  static const std::wstring name = [] {
    // The instance is written whole: 8 digits in the 32-bit build, 16 in the 64-bit one,
    // whose image base (0x140000000) does not fit in 8.
    wchar_t buffer[48];
    swprintf(buffer, 48, L"ControlOfs%0*llX%.8X", static_cast<int>(2 * sizeof(void*)),
             static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(ModuleInstance())),
             static_cast<unsigned>(GetCurrentThreadId()));
    return std::wstring(buffer);
  }();
  return name;
}

TWinControl* TWinControl::FromHandle(HWND window) {
  if (!window) return nullptr;
  return static_cast<TWinControl*>(GetPropW(window, MAKEINTATOM(ControlAtom())));
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
  SetDestroying();
  // Children go with their parent, whoever owns them.
  while (!controls_.empty()) delete controls_.back();
  DestroyHandle();
}

HWND TWinControl::Handle() {
  if (!handle_) CreateWnd();
  return handle_;
}

void TWinControl::CreateParams(TCreateParams& p) {
  p.windowClass = ClassName();
  p.style = WS_CHILD | WS_CLIPSIBLINGS | windowStyle_;
  if (Visible()) p.style |= WS_VISIBLE;
  if (!Enabled()) p.style |= WS_DISABLED;
  if (tabStop_) p.style |= WS_TABSTOP;
}

void TWinControl::CreateWnd() {
  // Making the parent's window makes its children's with it, this one among them; a second
  // window would be left behind, tagged as ours, never painted and never validated.
  if (Parent() && (!ParentWindow() || handle_)) return;
  TCreateParams params;
  CreateParams(params);
  auto& procs = ClassProcs();
  auto it = procs.find(params.windowClass);
  if (it == procs.end()) {
    static const bool commonControls = [] {
      INITCOMMONCONTROLSEX icc{sizeof(icc),
                               ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
      return InitCommonControlsEx(&icc) != FALSE;
    }();
    (void)commonControls;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    WNDPROC original = DefWindowProcW;
    if (!params.baseClass.empty()) {
      if (!GetClassInfoExW(nullptr, params.baseClass.c_str(), &wc)) return;
      original = wc.lpfnWndProc;
      wc.cbSize = sizeof(wc);
    } else {
      wc.style = params.classStyle;
      wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    }
    wc.lpfnWndProc = StdWndProc;
    wc.hInstance = ModuleInstance();
    wc.lpszClassName = params.windowClass.c_str();
    RegisterClassExW(&wc);
    it = procs.emplace(params.windowClass, FrameworkClass{original, params.baseClass}).first;
  }
  defWndProc_ = it->second.proc;
  CreateWindowHandle(params);
  if (!handle_) return;
  SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), FALSE);
  InitializeWindow();
  for (TWinControl* child : TabList()) child->HandleNeeded();
  AlignControls();
}

HWND TWinControl::ParentWindow() { return Parent() ? Parent()->Handle() : nullptr; }

void TWinControl::CreateWindowHandle(const TCreateParams& params) {
  HWND parent = ParentWindow();
  if (Parent() && !parent) return;
  t_creating = this;
  HWND created =
      CreateWindowExW(params.exStyle, params.windowClass.c_str(), text_.c_str(), params.style,
                      left_, top_, width_, height_, parent, nullptr, ModuleInstance(), nullptr);
  t_creating = nullptr;
  if (created) handle_ = created;
}

void TWinControl::DestroyHandle() {
  if (!handle_) return;
  for (TControl* c : controls_) {
    if (auto* w = dynamic_cast<TWinControl*>(c)) w->DestroyHandle();
  }
  SaveWindowState();
  DestroyWnd();
}

void TWinControl::DestroyWnd() {
  text_ = GetText();
  HWND window = handle_;
  if (window) DestroyWindow(window);
  // WM_NCDESTROY cleared handle_; a window of another thread would not have.
  handle_ = nullptr;
}

void TWinControl::RecreateWnd() {
  if (handle_) PostMessageW(handle_, CM_RECREATEWND, 0, 0);
}

LRESULT CALLBACK TWinControl::StdWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* control = FromHandle(window);
  if (!control && t_creating) {
    control = std::exchange(t_creating, nullptr);
    control->handle_ = window;
    SetPropW(window, MAKEINTATOM(ControlAtom()), control);
  }
  if (!control) {
    wchar_t name[256];
    GetClassNameW(window, name, 256);
    auto it = ClassProcs().find(name);
    WNDPROC proc = it == ClassProcs().end() ? DefWindowProcW : it->second.proc;
    return CallWindowProcW(proc, window, msg, wParam, lParam);
  }
  TMessage m{msg, wParam, lParam, 0};
  TWndMethod proc = control->WindowProc;
  proc(m);
  if (msg == WM_NCDESTROY && GetPropW(window, MAKEINTATOM(ControlAtom())) == control) {
    // A replaced WindowProc that swallowed WM_NCDESTROY must not leave a dangling handle.
    RemovePropW(window, MAKEINTATOM(ControlAtom()));
    if (control->handle_ == window) control->handle_ = nullptr;
  }
  return m.Result;
}

void TWinControl::DefaultHandler(TMessage& m) {
  // Framework notifications mean nothing to the window class.
  if (m.Msg >= CM_BASE && m.Msg < 0xC000) {
    m.Result = 0;
    return;
  }
  if (!handle_) {
    m.Result = 0;
    return;
  }
  m.Result = CallWindowProcW(defWndProc_ ? defWndProc_ : DefWindowProcW, handle_, m.Msg, m.WParam,
                             m.LParam);
}

bool TWinControl::ReflectToChild(TMessage& m) {
  HWND child = nullptr;
  switch (m.Msg) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
      child = reinterpret_cast<HWND>(m.LParam);
      break;
    case WM_NOTIFY:
      child = reinterpret_cast<NMHDR*>(m.LParam)->hwndFrom;
      break;
    case WM_DRAWITEM: {
      auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
      if (dis->CtlType != ODT_MENU) child = dis->hwndItem;
      break;
    }
    default:
      return false;
  }
  TWinControl* target = FromHandle(child);
  if (!target || target == this) return false;
  m.Result = target->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
  return true;
}

void TWinControl::HandleMouse(TMessage& m) {
  if (m.Msg == WM_MOUSELEAVE) {
    if (g_mouseControl == this || (g_mouseControl && g_mouseControl->Parent() == this &&
                                   !dynamic_cast<TWinControl*>(g_mouseControl))) {
      TControl* left = std::exchange(g_mouseControl, nullptr);
      left->Perform(CM_MOUSELEAVE);
    }
    DefaultHandler(m);
    return;
  }
  POINT pt{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  TControl* target = this;
  if (g_captureControl && g_captureControl->Parent() == this) {
    target = g_captureControl;
  } else {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
      TControl* c = *it;
      if (dynamic_cast<TWinControl*>(c) || !c->Visible()) continue;
      RECT bounds = c->BoundsRect();
      if (PtInRect(&bounds, pt)) {
        target = c;
        break;
      }
    }
  }
  if (m.Msg == WM_MOUSEMOVE && target != g_mouseControl) {
    if (g_mouseControl) std::exchange(g_mouseControl, nullptr)->Perform(CM_MOUSELEAVE);
    g_mouseControl = target;
    target->Perform(CM_MOUSEENTER);
    TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, handle_, 0};
    TrackMouseEvent(&tme);
  }
  if (target == this) {
    if (IsMouseDown(m.Msg)) RaiseMouseDown(*this, m);
    DefaultHandler(m);
    return;
  }
  if (m.Msg == WM_LBUTTONDOWN || m.Msg == WM_LBUTTONDBLCLK) {
    if (!target->Enabled()) return;
    g_captureControl = target;
    SetCapture(handle_);
  }
  LPARAM local = MAKELPARAM(pt.x - target->Left(), pt.y - target->Top());
  m.Result = target->Perform(m.Msg, m.WParam, local);
  if (m.Msg == WM_LBUTTONUP && g_captureControl == target) {
    g_captureControl = nullptr;
    ReleaseCapture();
  }
}

bool TWinControl::EraseBackground(HDC dc) {
  RECT r;
  GetClientRect(handle_, &r);
  FillRect(dc, &r, BackgroundBrush());
  return true;
}

HBRUSH TWinControl::BackgroundBrush() {
  if (!brush_ || brushColor_ != Color()) {
    brush_.reset(CreateSolidBrush(ColorToRGB(Color())));
    brushColor_ = Color();
  }
  return brush_.get();
}

void TWinControl::PaintWindow(HDC) {}

void TWinControl::PaintControls(HDC dc, TControl* first) {
  bool started = first == nullptr;
  for (TControl* c : controls_) {
    if (!started) {
      started = c == first;
      continue;
    }
    if (dynamic_cast<TWinControl*>(c) || !c->Visible()) continue;
    RECT r = c->BoundsRect();
    if (!RectVisible(dc, &r)) continue;
    int saved = SaveDC(dc);
    POINT origin;
    GetViewportOrgEx(dc, &origin);
    SetViewportOrgEx(dc, origin.x + r.left, origin.y + r.top, nullptr);
    IntersectClipRect(dc, 0, 0, c->Width(), c->Height());
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    RestoreDC(dc, saved);
  }
}

void TWinControl::WndProc(TMessage& m) {
  if (ReflectToChild(m)) return;
  switch (m.Msg) {
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
      // Owner-drawn items of the framework's menus, whichever control owns the menu.
      if (DispatchMenuItemMessage(m.Msg, m.LParam)) {
        m.Result = TRUE;
        return;
      }
      break;
    case WM_ERASEBKGND:
      if (EraseBackground(reinterpret_cast<HDC>(m.WParam))) {
        m.Result = 1;
        return;
      }
      break;
    case WM_PRINTCLIENT:
      if (defWndProc_ != DefWindowProcW) break;
      if (m.LParam & PRF_ERASEBKGND) EraseBackground(reinterpret_cast<HDC>(m.WParam));
      PaintWindow(reinterpret_cast<HDC>(m.WParam));
      PaintControls(reinterpret_cast<HDC>(m.WParam));
      m.Result = 0;
      return;
    case WM_PAINT: {
      bool ownPaint = defWndProc_ == DefWindowProcW;
      if (!ownPaint) break;
      if (m.WParam) {
        PaintWindow(reinterpret_cast<HDC>(m.WParam));
        PaintControls(reinterpret_cast<HDC>(m.WParam));
      } else {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(handle_, &ps);
        PaintWindow(dc);
        PaintControls(dc);
        EndPaint(handle_, &ps);
      }
      m.Result = 0;
      return;
    }
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MOUSELEAVE:
      HandleMouse(m);
      return;
    case WM_WINDOWPOSCHANGED: {
      auto* wp = reinterpret_cast<WINDOWPOS*>(m.LParam);
      if (!(wp->flags & SWP_NOMOVE)) {
        left_ = wp->x;
        top_ = wp->y;
      }
      if (!(wp->flags & SWP_NOSIZE)) {
        width_ = wp->cx;
        height_ = wp->cy;
      }
      DefaultHandler(m);
      return;
    }
    case WM_SIZE:
      DefaultHandler(m);
      Resized();
      return;
    case WM_SETFOCUS:
      if (TCustomForm* form = GetParentForm(this)) form->FocusChanged(this);
      break;
    case WM_SYSCHAR:
      // Alt+letter: give the form (and the skin engine's hook on it) the accelerator first.
      if (TCustomForm* form = GetParentForm(this)) {
        if (form->Perform(CM_DIALOGCHAR, m.WParam, m.LParam) != 0) {
          m.Result = 0;
          return;
        }
      }
      break;
    case WM_CONTEXTMENU:
      if (PopupMenu()) {
        POINT pt{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
        if (pt.x == -1 && pt.y == -1) {
          pt = {0, 0};
          ClientToScreen(handle_, &pt);
        }
        PopupMenu()->Popup(pt.x, pt.y, handle_);
        m.Result = 0;
        return;
      }
      break;
    case CM_FOCUSCHANGED:
    case CM_DIALOGCHAR:
      // Handed to every child until one answers.
      for (TControl* c : std::vector<TControl*>(controls_)) {
        m.Result = c->Perform(m.Msg, m.WParam, m.LParam);
        if (m.Result != 0 && m.Msg == CM_DIALOGCHAR) return;
      }
      m.Result = 0;
      return;
    case CM_RECREATEWND:
      if (handle_ && !recreating_) {
        recreating_ = true;
        HWND focus = GetFocus();
        bool hadFocus = focus == handle_;
        DestroyHandle();
        HandleNeeded();
        if (hadFocus && handle_) ::SetFocus(handle_);
        recreating_ = false;
      }
      m.Result = 0;
      return;
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(m.WParam);
      SetTextColor(dc, ColorToRGB(Font()->Color()));
      SetBkColor(dc, ColorToRGB(Color()));
      m.Result = reinterpret_cast<LRESULT>(BackgroundBrush());
      return;
    }
    case WM_NCDESTROY:
      TControl::WndProc(m);
      if (handle_) RemovePropW(handle_, MAKEINTATOM(ControlAtom()));
      handle_ = nullptr;
      return;
    default:
      break;
  }
  TControl::WndProc(m);
}

void TWinControl::Resized() {
  AlignControls();
  TControl::Resized();
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
  if (handle_) {
    SetWindowPos(handle_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    // WM_WINDOWPOSCHANGED stored the bounds; a window that refused keeps its own.
    return;
  }
  TControl::SetBounds(left, top, width, height);
}

void TWinControl::Loaded() {
  TControl::Loaded();
  AlignControls();
}

RECT TWinControl::ClientRect() const {
  RECT r{0, 0, width_, height_};
  if (handle_) GetClientRect(handle_, &r);
  return r;
}

int TWinControl::ClientWidth() const {
  RECT r = ClientRect();
  return r.right - r.left;
}

int TWinControl::ClientHeight() const {
  RECT r = ClientRect();
  return r.bottom - r.top;
}

void TWinControl::AdjustClientRect(RECT&) const {}

void TWinControl::AlignControls() {
  if (aligning_ || Loading()) return;
  aligning_ = true;
  RECT r = ClientRect();
  AdjustClientRect(r);
  auto place = [&](TAlign align, auto key) {
    std::vector<TControl*> list;
    for (TControl* c : controls_) {
      if (c->Align() == align && c->Visible()) list.push_back(c);
    }
    std::stable_sort(list.begin(), list.end(),
                     [&](TControl* a, TControl* b) { return key(a) < key(b); });
    for (TControl* c : list) {
      switch (align) {
        case TAlign::alTop:
          c->SetBounds(r.left, r.top, r.right - r.left, c->Height());
          r.top += c->Height();
          break;
        case TAlign::alBottom:
          c->SetBounds(r.left, r.bottom - c->Height(), r.right - r.left, c->Height());
          r.bottom -= c->Height();
          break;
        case TAlign::alLeft:
          c->SetBounds(r.left, r.top, c->Width(), r.bottom - r.top);
          r.left += c->Width();
          break;
        case TAlign::alRight:
          c->SetBounds(r.right - c->Width(), r.top, c->Width(), r.bottom - r.top);
          r.right -= c->Width();
          break;
        case TAlign::alClient:
          c->SetBounds(r.left, r.top, std::max<int>(0, r.right - r.left),
                       std::max<int>(0, r.bottom - r.top));
          break;
        default:
          break;
      }
    }
  };
  place(TAlign::alTop, [](TControl* c) { return c->Top(); });
  place(TAlign::alBottom, [](TControl* c) { return -(c->Top() + c->Height()); });
  place(TAlign::alLeft, [](TControl* c) { return c->Left(); });
  place(TAlign::alRight, [](TControl* c) { return -(c->Left() + c->Width()); });
  place(TAlign::alClient, [](TControl*) { return 0; });
  aligning_ = false;
}

void TWinControl::InsertControl(TControl* control) {
  control->parent_ = this;
  controls_.push_back(control);
  if (auto* w = dynamic_cast<TWinControl*>(control)) {
    tabList_.push_back(w);
    if (handle_) w->HandleNeeded();
  } else {
    control->Invalidate();
  }
  control->ParentFontChanged();
  control->ParentColorChanged();
  if (control->Align() != TAlign::alNone) AlignControls();
}

void TWinControl::RemoveControl(TControl* control) {
  if (control->parent_ != this) return;
  control->Invalidate();
  if (auto* w = dynamic_cast<TWinControl*>(control)) {
    std::erase(tabList_, w);
    if (!Destroying()) w->DestroyHandle();
  }
  std::erase(controls_, control);
  control->parent_ = nullptr;
  if (control->Align() != TAlign::alNone && !Destroying()) AlignControls();
}

int TWinControl::TabOrder() const {
  if (!Parent()) return -1;
  const auto& list = Parent()->tabList_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int order) {
  if (!Parent()) return;
  auto& list = Parent()->tabList_;
  std::erase(list, this);
  order = std::clamp(order, 0, static_cast<int>(list.size()));
  list.insert(list.begin() + order, this);
}

std::vector<TWinControl*> TWinControl::TabList() const { return tabList_; }

void TWinControl::SetParentBackground(bool v) {
  if (parentBackground_ == v) return;
  parentBackground_ = v;
  Invalidate();
}

bool TWinControl::Focused() const { return handle_ && GetFocus() == handle_; }

bool TWinControl::CanFocus() const {
  for (const TControl* c = this; c; c = c->Parent()) {
    if (!c->Visible() || !c->Enabled()) return false;
  }
  return true;
}

void TWinControl::SetFocus() {
  if (HWND h = Handle()) ::SetFocus(h);
}

std::wstring TWinControl::GetText() const {
  if (!handle_) return text_;
  int length = GetWindowTextLengthW(handle_);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  length = GetWindowTextW(handle_, text.data(), length + 1);
  text.resize(static_cast<size_t>(std::max(length, 0)));
  return text;
}

void TWinControl::SetText(const std::wstring& text) {
  if (GetText() == text) return;
  text_ = text;
  if (handle_) SetWindowTextW(handle_, text.c_str());
  Perform(CM_TEXTCHANGED);
}

void TWinControl::FontChanged() {
  if (handle_) SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), TRUE);
  TControl::FontChanged();
}

void TWinControl::Invalidate() {
  if (handle_) InvalidateRect(handle_, nullptr, TRUE);
}

void TWinControl::Repaint() {
  if (handle_) {
    InvalidateRect(handle_, nullptr, TRUE);
    UpdateWindow(handle_);
  }
}

TCustomForm* GetParentForm(TControl* control) {
  TControl* top = control;
  while (top && top->Parent()) top = top->Parent();
  return dynamic_cast<TCustomForm*>(top);
}

}  // namespace ui
