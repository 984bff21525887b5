#include "ui/Application.h"

#include <algorithm>

#include "ui/Form.h"
#include "ui/Menus.h"
#include "ui/MessagePump.h"

namespace ui {

TApplication& Application() {
  static TApplication* application = new TApplication();  // lives to the process end
  return *application;
}

const TClassInfo& TApplication::StaticClass() {
  static TClassInfo info(L"TApplication", &TComponent::StaticClass());
  static const bool published = [] {
    info.Text<TApplication>(L"Title", &TApplication::Title, &TApplication::SetTitle);
    return true;
  }();
  (void)published;
  return info;
}

TApplication::TApplication() : TComponent(nullptr) {
  SetMessageFilter([this](MSG& msg) { return PreTranslate(msg); });
}

TApplication::~TApplication() {
  SetMessageFilter(nullptr);
  if (handle_) DestroyWindow(handle_);
}

void TApplication::Initialize() {
  ui::ClearQuit();
  if (handle_) return;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = WndProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconW(instance, L"MAINICON");
  wc.hIconSm = static_cast<HICON>(LoadImageW(instance, L"MAINICON", IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON),
                                             GetSystemMetrics(SM_CYSMICON), 0));
  wc.lpszClassName = L"TApplication";
  RegisterClassExW(&wc);
  handle_ = CreateWindowExW(0, L"TApplication", title_.c_str(),
                            WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                            0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
  SetWindowLongPtrW(handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void TApplication::SetTitle(const std::wstring& title) {
  title_ = title;
  if (handle_) SetWindowTextW(handle_, title.c_str());
}

void TApplication::AddForm(TCustomForm* form) {
  forms_.push_back(form);
  if (!mainForm_ && handle_) mainForm_ = form;
}

void TApplication::RemoveForm(TCustomForm* form) {
  std::erase(forms_, form);
  if (mainForm_ == form) mainForm_ = nullptr;
}

void TApplication::Run() {
  // Terminated before the loop (a fatal message at start-up): nothing is shown.
  if (terminated_) return;
  if (mainForm_) mainForm_->Show();
  MSG msg;
  while (!terminated_ && !ui::QuitRequested()) {
    BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) break;
    if (PreTranslate(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  terminated_ = true;
}

void TApplication::Terminate() {
  terminated_ = true;
  PostQuitMessage(0);
}

void TApplication::ProcessMessages() { ui::ProcessMessages(); }

bool TApplication::PreTranslate(MSG& msg) {
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
  TWinControl* control = TWinControl::FromHandle(msg.hwnd);
  if (!control) return false;
  TCustomForm* form = GetParentForm(control);
  if (!form) return false;
  // Menu shortcuts of the focused control chain come first (Del, Ctrl+Del on the list).
  if (form->IsShortCut(ShortCutFromKey(msg.wParam))) return true;
  switch (msg.wParam) {
    case VK_TAB:
    case VK_RETURN:
    case VK_ESCAPE:
    case VK_CANCEL: {
      LRESULT code =
          SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
      if (msg.wParam == VK_TAB && (code & DLGC_WANTTAB)) return false;
      if (code & DLGC_WANTALLKEYS) return false;
      return form->Perform(CM_DIALOGKEY, msg.wParam, msg.lParam) != 0;
    }
    default:
      return false;
  }
}

LRESULT CALLBACK TApplication::WndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* app = reinterpret_cast<TApplication*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (app && app->mainForm_ && app->mainForm_->HandleAllocated()) {
    HWND main = app->mainForm_->WindowHandle();
    switch (msg) {
      case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_RESTORE) {
          // A second copy asks the first one to come back.
          if (IsIconic(main)) ShowWindow(main, SW_RESTORE);
          return 0;
        }
        break;
      case WM_CLOSE:
        app->mainForm_->Close();
        return 0;
      default:
        break;
    }
  }
  return DefWindowProcW(window, msg, wParam, lParam);
}

}  // namespace ui
