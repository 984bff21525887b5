#include "skin/forms/SkinManage.h"

#include <algorithm>
#include <utility>

#include "skin/data/SkinData.h"
#include "skin/forms/SkinMessages.h"
#include "skin/forms/WinSkinForm.h"
#include "skin/forms/WinSkinPopMenu.h"
#include "ui/Application.h"
#include "ui/ExtCtrls.h"
#include "ui/Form.h"

namespace {

// The hook handle lives in the manager; this flag outlives it, so that a window message
// that arrives after the manager went never reaches it.
bool hookDisabled = false;

bool Contains(const std::wstring& text, const wchar_t* part) {
  return text.find(part) != std::wstring::npos;
}

}  // namespace

TSkinManage::TSkinManage() : timer_(std::make_unique<ui::TTimer>(nullptr)) {
  timer_->SetEnabled(false);
  timer_->SetInterval(100);
  timer_->OnTimer = [this](ui::TPersistent&) {
    try {
      RunCommand();
    } catch (...) {
      // Called from the timer's window procedure, which nothing may leave.
    }
  };
}

TSkinManage::~TSkinManage() {
  state_ = kDestroying;
  enabled_ = false;
  timer_.reset();
  // Every skinner of this module gives its window back, last first.
  while (!formSkinners_.empty()) {
    TWinSkinForm* skinner = formSkinners_.back();
    formSkinners_.pop_back();
    skinner->Unhook();
    delete skinner;
  }
  popupSkinners_.clear();
  skinDatas_.clear();
  if (hook_) UnhookWindowsHookEx(hook_);
  hook_ = nullptr;
  hookDisabled = true;
}

TSkinManage* TSkinManage::Instance() { return dynamic_cast<TSkinManage*>(skin::SkinManager()); }

void TSkinManage::Register() {
  skin::SetSkinManagerFactory([] { return std::make_unique<TSkinManage>(); });
  hookDisabled = false;
}

bool TSkinManage::HookDisabled() { return hookDisabled; }

// --- Skin data components ------------------------------------------------------------------

void TSkinManage::RegisterSkinData(TSkinData& data) {
  if (std::find(skinDatas_.begin(), skinDatas_.end(), &data) != skinDatas_.end()) return;
  skinDatas_.push_back(&data);
  if (!mainSkinData_ && data.SkinFormtype() == TSkinFormType::sfMainform) mainSkinData_ = &data;
}

void TSkinManage::UnregisterSkinData(TSkinData& data) {
  std::erase(skinDatas_, &data);
  if (mainSkinData_ == &data) mainSkinData_ = nullptr;
  if (pendingSkinData_ == &data) pendingSkinData_ = nullptr;
  // The skinners that paint from it let go now: none may read a freed skin. Windows that
  // live on get back their frame, region, size, system menu and menu bar.
  for (size_t i = formSkinners_.size(); i-- > 0;) {
    TWinSkinForm* skinner = formSkinners_[i];
    if (skinner->SkinData() != &data) continue;
    formSkinners_.erase(formSkinners_.begin() + static_cast<std::ptrdiff_t>(i));
    skinner->Restore();
    delete skinner;
  }
  // Open popup menus painted from it are given back plain.
  std::erase_if(popupSkinners_, [&](const auto& popup) { return popup->SkinData() == &data; });
}

void TSkinManage::ReloadSkinData(TSkinData& data) {
  for (TWinSkinForm* skinner : formSkinners_)
    if (skinner->SkinData() == &data) skinner->BuildSysButtons();
  // An open menu shows the new skin too.
  for (const auto& popup : popupSkinners_)
    if (popup->SkinData() == &data) popup->SkinChanged();
}

void TSkinManage::RefreshSkinData() {
  if (pendingSkinData_) ReloadSkinData(*pendingSkinData_);
}

// --- The hook ------------------------------------------------------------------------------

void TSkinManage::InstallHook() {
  if (hook_) return;
  hook_ = SetWindowsHookExW(WH_CBT, CBTHook, nullptr, GetCurrentThreadId());
}

LRESULT CALLBACK TSkinManage::CBTHook(int code, WPARAM wParam, LPARAM lParam) {
  TSkinManage* manager = hookDisabled ? nullptr : Instance();
  if (!manager) return CallNextHookEx(nullptr, code, wParam, lParam);
  const HHOOK hook = manager->hook_;
  // A hook procedure is called by the system, which no exception may cross: a window that
  // cannot be skinned (memory ran out) stays plain.
  if (code >= 0) try {
      const HWND window = reinterpret_cast<HWND>(wParam);
      switch (code) {
        case HCBT_CREATEWND:
          manager->OnCreateWindow(window, *reinterpret_cast<CBT_CREATEWNDW*>(lParam));
          break;
        case HCBT_DESTROYWND:
          manager->RemovePopupMenu(window);
          break;
        case HCBT_ACTIVATE:
          if (manager->state_ == kNothingActivated) manager->state_ = kRunning;
          manager->SkinWindow(window);
          break;
        default:
          break;
      }
    } catch (...) {
    }
  return CallNextHookEx(hook, code, wParam, lParam);
}

void TSkinManage::OnCreateWindow(HWND window, const CBT_CREATEWNDW& create) {
  const CREATESTRUCTW& cs = *create.lpcs;
  const std::wstring name = ui::WindowClassName(window);
  if (name == L"ScrollBar" && (cs.style & SBS_SIZEGRIP)) {
    if (TWinSkinForm* skinner = FindFormSkinner(cs.hwndParent)) skinner->SizeGripCreated(window);
  }
  if (!(cs.style & WS_CHILD) && name == L"#32768") AddPopupMenu(window);
  if (cs.dwExStyle & WS_EX_MDICHILD) SkinWindow(window);
}

// --- Window rules --------------------------------------------------------------------------

ui::TComponent* TSkinManage::FindFrameworkForm(HWND window) {
  const auto& forms = ui::Application().Forms();
  for (ui::TCustomForm* form : forms)
    if (form->HandleAllocated() && form->WindowHandle() == window) return form;
  return ui::TWinControl::FromHandle(window);
}

void TSkinManage::SkinForm(ui::TCustomForm& form) {
  if (!form.HandleAllocated()) return;
  const HWND window = form.WindowHandle();
  if (!IsWindowVisible(window) || (GetWindowLongW(window, GWL_STYLE) & WS_CHILD)) return;
  SkinWindow(window);
}

bool TSkinManage::SkinWindow(HWND window) {
  if (!enabled_ || !IsWindow(window)) return false;
  PurgeFormSkinners();
  if (SendMessageW(window, skin::WM_SKINQUERY, 0, 0) == 1 || FindFormSkinner(window)) return false;
  ui::TComponent* framework = FindFrameworkForm(window);
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  const LONG exStyle = GetWindowLongW(window, GWL_EXSTYLE);
  if (!inSkinAll_ && (style & WS_CHILD) && !(exStyle & WS_EX_MDICHILD) &&
      ui::LowerCase(ui::WindowClassName(GetParent(window))) != L"mdiclient")
    return false;
  const std::wstring name = ui::WindowClassName(window);
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
  if (!framework && instance != GetModuleHandleW(nullptr) && name != L"#32770") return false;
  RECT r{};
  GetWindowRect(window, &r);
  if ((r.right - r.left) * (r.bottom - r.top) == 0 && !(exStyle & WS_EX_MDICHILD)) return false;
  // The literal 99, whatever DisableTag says.
  if (framework && framework->Tag() == 99) return false;
  if (Contains(name, L"TcxPopupEditPopupWindow") || Contains(name, L"TTERenderWindow") ||
      name == L"TApplication")
    return false;
  if (!AcceptWindow(window, name)) return false;
  TSkinData* data = FindSkinData(window);
  if (!data || !data->SkinParsed()) return false;

  auto* skinner = new TWinSkinForm(framework);
  skinner->SetHandle(window);
  skinner->SetManagerTag(moduleTag_);
  skinner->SetName(name);
  formSkinners_.push_back(skinner);
  if (auto* form = dynamic_cast<ui::TCustomForm*>(framework)) {
    skinner->HookForm(*data, *form);
  } else {
    skinner->HookWindow(*data);
  }
  if (!skinner->Hooked()) {
    // The window could not be subclassed (it went meanwhile): no entry stays for it.
    FreeFormSkinner(skinner);
    return false;
  }
  PostMessageW(window, skin::WM_SKINACTIVATE, 0, skin::kSkinActivateParam);
  return true;
}

bool TSkinManage::AcceptWindow(HWND window, const std::wstring& className) {
  bool result = true;
  if (!mainSkinData_) return result;
  const std::wstring lower = ui::LowerCase(className);
  if (!(mainSkinData_->Options() & Bit(xoPreview)) && Contains(lower, L"preview")) result = false;
  if (className == L"#32770" && (GetWindowLongW(window, GWL_STYLE) & 0x200)) result = false;
  if (lower == L"tpopupdbtreeview") result = false;
  mainSkinData_->AllowForm(window, className, result);
  return result;
}

TSkinData* TSkinManage::FindSkinData(HWND window) const {
  auto last = [&](TSkinFormType type, auto&& also) -> TSkinData* {
    for (auto it = skinDatas_.rbegin(); it != skinDatas_.rend(); ++it)
      if ((*it)->SkinFormtype() == type && also(**it)) return *it;
    return nullptr;
  };
  auto any = [](const TSkinData&) { return true; };
  if (TSkinData* own = last(TSkinFormType::sfOnlyThisForm, [&](const TSkinData& d) {
        auto* form = dynamic_cast<ui::TCustomForm*>(d.Owner());
        return form && form->HandleAllocated() && form->WindowHandle() == window;
      }))
    return own;
  const std::wstring lower = ui::LowerCase(ui::WindowClassName(window));
  if (lower == L"tmessageform" || lower == L"#32770")
    if (TSkinData* dialog = last(TSkinFormType::sfDialog, any)) return dialog;
  if (TSkinData* main = last(TSkinFormType::sfMainform, any)) return main;
  return skinDatas_.empty() ? nullptr : skinDatas_.front();
}

// --- Skinners ------------------------------------------------------------------------------

TWinSkinForm* TSkinManage::FindFormSkinner(HWND window) const {
  for (TWinSkinForm* skinner : formSkinners_)
    if (skinner->Handle() == window) return skinner;
  return nullptr;
}

void TSkinManage::RemoveFormSkinner(TWinSkinForm* skinner) {
  if (state_ == kDestroying) return;
  std::erase(formSkinners_, skinner);
  if (mdiFrame_ == skinner) SetMDIFrame(nullptr, nullptr);
}

void TSkinManage::FreeFormSkinner(TWinSkinForm* skinner) {
  std::erase(formSkinners_, skinner);
  delete skinner;
}

void TSkinManage::PurgeFormSkinners() {
  if (state_ == kDestroying) return;
  // Every entry is live: a skinner takes itself out of the list when it is freed.
  for (size_t i = formSkinners_.size(); i-- > 0;) {
    if (i >= formSkinners_.size()) continue;
    TWinSkinForm* skinner = formSkinners_[i];
    if (skinner->SkinState() == TWinSkinForm::kGone && skinner->ManagerTag() == moduleTag_)
      FreeFormSkinner(skinner);
  }
}

void TSkinManage::SetMDIMaximized(bool maximized) {
  if (mdiMaximized_ == maximized) return;
  mdiMaximized_ = maximized;
  if (mainSkinData_ && (mainSkinData_->Options() & Bit(xoMDIChildBorder))) return;
  for (TWinSkinForm* skinner : std::vector<TWinSkinForm*>(formSkinners_)) {
    if (skinner->MDIKind() != TWinSkinForm::kMDIChild) continue;
    const bool asMaximized = maximized || skinner->WindowState() == TWinSkinForm::kMinimized;
    // A maximized child shows the MDI frame's caption; a normal one its own skinned frame.
    if (asMaximized) {
      skinner->RemoveRegion();
    } else {
      skinner->UpdateRegion();
    }
    SetWindowPos(skinner->Handle(), nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
}

bool TSkinManage::IsMDIChildMaximized(HWND mdiClient) {
  BOOL maximized = FALSE;
  HWND child = reinterpret_cast<HWND>(
      SendMessageW(mdiClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)));
  return child && maximized;
}

// --- Popup menu windows --------------------------------------------------------------------

bool TSkinManage::AddPopupMenu(HWND window) {
  if (!enabled_ || SendMessageW(window, skin::WM_SKINQUERY, 0, 0) == 1) return false;
  if (IsPopupSkinned(window)) return false;
  TSkinData* data = FindSkinData(window);
  if (!data || !data->SkinParsed()) return false;
  const TSkinControlTypes kinds = data->SkinControls();
  bool skinned = false;
  switch (popupKind_) {
    case kPlainPopup:
      skinned = kinds & Bit(xcPopupMenu);
      break;
    case kMenuBarPopup:
      skinned = kinds & (Bit(xcMainMenu) | Bit(xcMenuItem));
      break;
    case kSystemMenuPopup:
      skinned = kinds & Bit(xcSystemMenu);
      break;
    default:
      break;
  }
  if (!skinned) {
    // The kind was for this popup: a refused one must not leave it to the next.
    if (popupSkinners_.empty()) {
      popupKind_ = kPlainPopup;
      popupsFromMenuBar_ = false;
    }
    return false;
  }
  // Every popup still open is a level below this one.
  const int level = static_cast<int>(popupSkinners_.size());
  auto popup = std::make_unique<TWinSkinPopMenu>();
  popup->Hook(window, *data, level);
  popup->Marked = popupsFromMenuBar_;
  popupSkinners_.push_back(std::move(popup));
  return true;
}

bool TSkinManage::RemovePopupMenu(HWND window) {
  auto it = std::find_if(popupSkinners_.begin(), popupSkinners_.end(),
                         [&](const auto& popup) { return popup->Handle() == window; });
  if (it == popupSkinners_.end()) return false;
  (*it)->Unhook();
  popupSkinners_.erase(it);
  if (popupSkinners_.empty()) {
    popupsFromMenuBar_ = false;
    popupKind_ = kPlainPopup;
  }
  return true;
}

bool TSkinManage::IsPopupSkinned(HWND window) const {
  return std::any_of(popupSkinners_.begin(), popupSkinners_.end(),
                     [&](const auto& popup) { return popup->Handle() == window; });
}

void TSkinManage::MarkPopups() {
  for (auto& popup : popupSkinners_) popup->Marked = true;
}

void TSkinManage::AttachMenuToPopup(HMENU menu) {
  if (!menu) return;
  for (const auto& popup : popupSkinners_)
    if (popup->Menu() == menu) {
      popup->AttachMenu(menu);
      return;
    }
  for (auto it = popupSkinners_.rbegin(); it != popupSkinners_.rend(); ++it)
    if (!(*it)->HasMenu() && !(*it)->Menu()) {
      (*it)->AttachMenu(menu);
      return;
    }
}

TSkinManage::PopupBackground TSkinManage::PopupBitmap(HMENU menu) const {
  for (const auto& popup : popupSkinners_) {
    if (!menu || popup->Menu() != menu) continue;
    const ui::Bitmap& background = popup->Background();
    if (background.Empty()) return {};
    return {&background, popup->ClientOrigin(), &popup->Items()};
  }
  return {};
}

// --- Commands ------------------------------------------------------------------------------

void TSkinManage::ScheduleCommand(int command, int delayMs) {
  command_ = command;
  if (!timer_) return;
  // A command asked for before the previous one ran replaces it; the delay starts again.
  timer_->SetEnabled(false);
  timer_->SetInterval(delayMs);
  if (state_ != kNothingActivated) {
    timer_->SetEnabled(true);
    return;
  }
  if (command == kSkinAll) enabled_ = true;
  if (command == kUnskinAll) enabled_ = false;
}

void TSkinManage::RunCommand() {
  // The windows a command skins are on the screen already: hiding them now would flash.
  const bool hide = std::exchange(hideWhileSkinning_, false);
  try {
    RunPendingCommand();
  } catch (...) {
    hideWhileSkinning_ = hide;
    throw;
  }
  hideWhileSkinning_ = hide;
}

void TSkinManage::RunPendingCommand() {
  if (timer_) timer_->SetEnabled(false);
  TSkinData* data = pendingSkinData_;
  if (!data) return;
  const bool onlyThis = data->SkinFormtype() == TSkinFormType::sfOnlyThisForm;
  const auto& forms = ui::Application().Forms();
  auto giveBack = [this](TWinSkinForm* skinner) {
    const HWND window = skinner->Handle();
    skinner->Restore();
    FreeFormSkinner(skinner);
    if (IsWindow(window)) {
      InvalidateRect(window, nullptr, TRUE);
      UpdateWindow(window);
    }
  };
  auto refresh = [](TWinSkinForm* skinner) {
    skinner->BuildSysButtons();
    SendMessageW(skinner->Handle(), skin::WM_SKINREFRESH, 0, 0);
  };
  switch (command_) {
    case kSkinAll:
      enabled_ = true;
      if (onlyThis) {
        inSkinAll_ = true;
        for (auto it = forms.rbegin(); it != forms.rend(); ++it) {
          if (*it != data->Owner()) continue;
          SkinForm(**it);
          break;
        }
        inSkinAll_ = false;
      } else {
        inSkinAll_ = true;
        PurgeFormSkinners();
        for (ui::TCustomForm* form : std::vector<ui::TCustomForm*>(forms.rbegin(), forms.rend()))
          SkinForm(*form);
        inSkinAll_ = false;
      }
      break;
    case kUnskinAll:
      enabled_ = false;
      PurgeFormSkinners();
      if (onlyThis) {
        for (auto it = formSkinners_.rbegin(); it != formSkinners_.rend(); ++it) {
          if ((*it)->SkinData() != data) continue;
          giveBack(*it);
          break;
        }
      } else {
        while (!formSkinners_.empty()) giveBack(formSkinners_.front());
      }
      break;
    case kRefresh:
      PurgeFormSkinners();
      for (TWinSkinForm* skinner : std::vector<TWinSkinForm*>(formSkinners_)) {
        if (skinner->SkinData() != data) continue;
        refresh(skinner);
        if (onlyThis) break;
      }
      break;
    case kPurge:
      for (TWinSkinForm* skinner : std::vector<TWinSkinForm*>(formSkinners_))
        if (skinner->SkinState() == TWinSkinForm::kGone) FreeFormSkinner(skinner);
      break;
    case kReskinWindow:
      if (TWinSkinForm* skinner = FindFormSkinner(reskinWindow_)) {
        skinner->Restore();
        skinner->SetSkinState(TWinSkinForm::kGone);
        PurgeFormSkinners();
      }
      SkinWindow(reskinWindow_);
      return;
    default:
      break;
  }
  data->SkinChanged();
  pendingSkinData_ = nullptr;
}
