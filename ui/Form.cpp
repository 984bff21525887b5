#include "ui/Form.h"

#include <algorithm>

#include "ui/Application.h"
#include "ui/Menus.h"

namespace ui {

const TClassInfo& TCustomForm::StaticClass() {
  static TClassInfo info(L"TCustomForm", &TWinControl::StaticClass());
  static const bool published = [] {
    info.Enum<TCustomForm, TFormBorderStyle>(
            L"BorderStyle",
            {L"bsNone", L"bsSingle", L"bsSizeable", L"bsDialog", L"bsToolWindow", L"bsSizeToolWin"},
            &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle)
        .Enum<TCustomForm, TFormStyle>(L"FormStyle",
                                       {L"fsNormal", L"fsMDIChild", L"fsMDIForm", L"fsStayOnTop"},
                                       &TCustomForm::FormStyle, &TCustomForm::SetFormStyle)
        .Enum<TCustomForm, TPosition>(
            L"Position",
            {L"poDesigned", L"poDefault", L"poDefaultPosOnly", L"poDefaultSizeOnly",
             L"poScreenCenter", L"poDesktopCenter", L"poMainFormCenter", L"poOwnerFormCenter"},
            &TCustomForm::Position, &TCustomForm::SetPosition)
        .Integer<TCustomForm>(L"ClientWidth", &TCustomForm::ClientWidthProp,
                              &TCustomForm::SetClientWidthProp)
        .Integer<TCustomForm>(L"ClientHeight", &TCustomForm::ClientHeightProp,
                              &TCustomForm::SetClientHeightProp)
        .Boolean<TCustomForm>(L"AutoScroll", &TCustomForm::AutoScroll, &TCustomForm::SetAutoScroll)
        .Event<TCustomForm>(L"OnCreate", &TCustomForm::OnCreate)
        .Event<TCustomForm>(L"OnShow", &TCustomForm::OnShow)
        .Event<TCustomForm>(L"OnDestroy", &TCustomForm::OnDestroy);
    return true;
  }();
  (void)published;
  return info;
}

const TClassInfo& TForm::StaticClass() {
  static TClassInfo info(L"TForm", &TCustomForm::StaticClass());
  return info;
}

const TClassInfo& TTntForm::StaticClass() {
  static TClassInfo info(L"TTntForm", &TForm::StaticClass());
  return info;
}

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner) {
  SetVisibleFlag(false);
  Application().AddForm(this);
}

TCustomForm::~TCustomForm() {
  if (OnDestroy) OnDestroy(*this);
  Application().RemoveForm(this);
  // Children first, while this object is still a form.
  SetDestroying();
  while (!Controls().empty()) delete Controls().back();
  DestroyComponents();
  DestroyHandle();
}

void TCustomForm::SetBorderStyle(TFormBorderStyle v) {
  if (borderStyle_ == v) return;
  borderStyle_ = v;
  RecreateWnd();
}

void TCustomForm::SetFormStyle(TFormStyle v) {
  if (formStyle_ == v) return;
  formStyle_ = v;
  if (HandleAllocated()) {
    SetWindowPos(WindowHandle(), v == TFormStyle::fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0,
                 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

void TCustomForm::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.windowClass = ClassName();
  p.baseClass.clear();
  p.style = WS_CLIPCHILDREN;
  switch (borderStyle_) {
    case TFormBorderStyle::bsNone:
      p.style |= WS_POPUP;
      break;
    case TFormBorderStyle::bsSingle:
      p.style |= WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_BORDER;
      break;
    case TFormBorderStyle::bsSizeable:
      p.style |= WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME;
      break;
    case TFormBorderStyle::bsDialog:
      p.style |= WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
      p.exStyle |= WS_EX_DLGMODALFRAME;
      break;
    case TFormBorderStyle::bsToolWindow:
      p.style |= WS_CAPTION | WS_SYSMENU;
      p.exStyle |= WS_EX_TOOLWINDOW;
      break;
    case TFormBorderStyle::bsSizeToolWin:
      p.style |= WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
      p.exStyle |= WS_EX_TOOLWINDOW;
      break;
  }
  if (formStyle_ == TFormStyle::fsStayOnTop) p.exStyle |= WS_EX_TOPMOST;
  // Owned by the hidden application window, the main form still gets its taskbar button.
  if (Application().MainForm() == this || !Application().MainForm()) p.exStyle |= WS_EX_APPWINDOW;
}

void TCustomForm::CreateWindowHandle(const TCreateParams& params) {
  if (!positioned_ && position_ >= TPosition::poScreenCenter) {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    left_ = work.left + (work.right - work.left - width_) / 2;
    top_ = work.top + (work.bottom - work.top - height_) / 2;
    positioned_ = true;
  }
  TWinControl::CreateWindowHandle(params);
}

HWND TCustomForm::ParentWindow() {
  // Top-level: the owner is the hidden application window, so that the application can
  // find its last active form.
  return Application().Handle();
}

void TCustomForm::InitializeWindow() {
  if (menu_) ::SetMenu(WindowHandle(), menu_);
  // Every form shows the program's icon (shared resource icons need no clean-up).
  HINSTANCE instance = GetModuleHandleW(nullptr);
  if (HICON big = LoadIconW(instance, L"MAINICON"))
    SendMessageW(WindowHandle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
  if (HICON small = static_cast<HICON>(LoadImageW(instance, L"MAINICON", IMAGE_ICON,
                                                  GetSystemMetrics(SM_CXSMICON),
                                                  GetSystemMetrics(SM_CYSMICON), LR_SHARED)))
    SendMessageW(WindowHandle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
}

// The frame around the client area: the window's own, or before it exists the one its style
// will give it (a form without a border gets none).
RECT TCustomForm::FrameRect() const {
  DWORD style = 0, exStyle = 0;
  if (HandleAllocated()) {
    style = static_cast<DWORD>(GetWindowLongPtrW(WindowHandle(), GWL_STYLE));
    exStyle = static_cast<DWORD>(GetWindowLongPtrW(WindowHandle(), GWL_EXSTYLE));
  } else {
    TCreateParams params;
    const_cast<TCustomForm*>(this)->CreateParams(params);
    style = params.style;
    exStyle = params.exStyle;
  }
  RECT frame{0, 0, 0, 0};
  AdjustWindowRectEx(&frame, style, menu_ != nullptr, exStyle);
  return frame;
}

int TCustomForm::ClientWidth() const {
  if (HandleAllocated()) return TWinControl::ClientWidth();
  RECT frame = FrameRect();
  return Width() - (frame.right - frame.left);
}

int TCustomForm::ClientHeight() const {
  if (HandleAllocated()) return TWinControl::ClientHeight();
  RECT frame = FrameRect();
  return Height() - (frame.bottom - frame.top);
}

void TCustomForm::SetClientSize(int width, int height) {
  if (!HandleAllocated()) {
    TControl::SetClientSize(width, height);
    return;
  }
  RECT frame = FrameRect();
  SetBounds(Left(), Top(), width + frame.right - frame.left, height + frame.bottom - frame.top);
}

void TCustomForm::Show() {
  SetVisibleFlag(true);
  HWND h = Handle();
  if (!h) return;
  ShowWindow(h, SW_SHOW);
  SetForegroundWindow(h);
  if (!activeControl_) SelectNext(nullptr, true);
  if (OnShow) OnShow(*this);
}

void TCustomForm::Close() {
  if (HandleAllocated()) SendMessageW(WindowHandle(), WM_CLOSE, 0, 0);
}

void TCustomForm::Release() {
  if (HandleAllocated()) PostMessageW(WindowHandle(), CM_RELEASE, 0, 0);
}

bool TCustomForm::Active() const {
  return HandleAllocated() && GetActiveWindow() == WindowHandle();
}

void TCustomForm::SetActiveControl(TWinControl* control) {
  activeControl_ = control;
  if (control && HandleAllocated() && control->CanFocus()) control->SetFocus();
}

std::vector<TWinControl*> TCustomForm::TabOrderList() const {
  std::vector<TWinControl*> result;
  std::function<void(const TWinControl*)> walk = [&](const TWinControl* parent) {
    for (TWinControl* c : parent->TabList()) {
      result.push_back(c);
      walk(c);
    }
  };
  walk(this);
  return result;
}

void TCustomForm::SelectNext(TWinControl* current, bool forward) {
  std::vector<TWinControl*> list = TabOrderList();
  if (list.empty()) return;
  auto it = std::find(list.begin(), list.end(), current);
  int n = static_cast<int>(list.size());
  int start = it == list.end() ? (forward ? -1 : n) : static_cast<int>(it - list.begin());
  for (int step = 1; step <= n; ++step) {
    int i = ((start + (forward ? step : -step)) % n + n) % n;
    TWinControl* c = list[i];
    if (c->TabStop() && c->CanFocus()) {
      c->SetFocus();
      return;
    }
  }
}

bool TCustomForm::IsShortCut(int shortCut) {
  HWND focus = GetFocus();
  for (TControl* c = TWinControl::FromHandle(focus); c; c = c->Parent()) {
    if (c->PopupMenu() && c->PopupMenu()->IsShortCut(shortCut)) return true;
  }
  return false;
}

void TCustomForm::FocusChanged(TWinControl* control) {
  if (activeControl_ == control) return;
  activeControl_ = control;
  Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(control));
}

void TCustomForm::SetMenuHandle(HMENU menu) {
  menu_ = menu;
  if (HandleAllocated()) ::SetMenu(WindowHandle(), menu);
  Perform(CM_MENUCHANGED);
}

void TCustomForm::SetMenu(TMainMenu* menu) {
  mainMenu_ = menu;
  SetMenuHandle(menu ? menu->Handle() : nullptr);
}

void TCustomForm::AfterConstruction() {
  if (OnCreate) OnCreate(*this);
}

TNotifyEvent TCustomForm::MethodAddress(std::wstring_view) { return {}; }

void TCustomForm::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_CLOSE: {
      TCloseAction action =
          Application().MainForm() == this ? TCloseAction::caFree : TCloseAction::caHide;
      if (OnClose) OnClose(action);
      if (action == TCloseAction::caNone) return;
      if (Application().MainForm() == this) {
        Application().Terminate();
        Hide();
      } else if (action == TCloseAction::caMinimize) {
        ShowWindow(WindowHandle(), SW_MINIMIZE);
      } else if (action == TCloseAction::caFree) {
        Release();
      } else {
        Hide();
      }
      m.Result = 0;
      return;
    }
    case CM_RELEASE:
      // The owner keeps the object; the window goes, as the form was asked to free itself.
      DestroyHandle();
      m.Result = 0;
      return;
    case CM_DIALOGKEY:
      if (m.WParam == VK_TAB) {
        SelectNext(TWinControl::FromHandle(GetFocus()), (GetKeyState(VK_SHIFT) & 0x8000) == 0);
        m.Result = 1;
        return;
      }
      break;
    case WM_ACTIVATE:
      if (LOWORD(m.WParam) != WA_INACTIVE && activeControl_ && activeControl_->HandleAllocated()) {
        TWinControl::WndProc(m);
        ::SetFocus(activeControl_->WindowHandle());
        m.Result = 0;
        return;
      }
      break;
    case WM_COMMAND:
      // A choice in the form's menu bar.
      if (m.LParam == 0 && HIWORD(m.WParam) == 0 && mainMenu_) {
        if (TMenuItem* item = mainMenu_->FindItem(LOWORD(m.WParam))) {
          item->Click();
          m.Result = 0;
          return;
        }
      }
      break;
    case WM_SETFOCUS:
      if (activeControl_ && activeControl_->HandleAllocated() && activeControl_ != this) {
        ::SetFocus(activeControl_->WindowHandle());
        m.Result = 0;
        return;
      }
      break;
    default:
      break;
  }
  TWinControl::WndProc(m);
}

}  // namespace ui
