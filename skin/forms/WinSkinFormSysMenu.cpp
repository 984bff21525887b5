// Keyboard access and the skinned system menu: a skinned window keeps the keys and the
// system menu of a normal window although the system no longer draws its caption.
#include <memory>

#include "skin/data/SkinData.h"
#include "skin/forms/NCObject.h"
#include "skin/forms/SkinManage.h"
#include "skin/forms/WinSkinForm.h"
#include "ui/Application.h"
#include "ui/ExtCtrls.h"
#include "ui/Form.h"
#include "ui/Menus.h"

namespace {

constexpr UINT kWineAboutCommand = 0xF141;

}  // namespace

bool TWinSkinForm::KeyMenu(WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (menuTracking_ || (wParam & 0xFFF0) != SC_KEYMENU) return false;
  // Under the standard frame the system draws the menu bar and the system menu's button:
  // its keys are the system's too.
  if (!SkinnedFrame()) return false;
  if (lParam == ' ') {
    POINT origin{0, 0};
    ClientToScreen(handle_, &origin);
    ShowSysMenu(origin);
    result = 0;
    return true;
  }
  if (lParam == '-' || GetCapture()) return false;
  TNCObject* item = lParam == 0 ? (skinMenu_ ? FirstMenuItem() : nullptr)
                                : FindAccelerator(static_cast<wchar_t>(lParam));
  if (!item && lParam != 0) return false;
  // Alt or F10 alone on a window without a menu bar ends here: nothing to open.
  if (item) OpenMenu(item);
  result = 1;
  return true;
}

void TWinSkinForm::DialogChar(ui::TMessage& m) {
  oldFormProc_(m);
  if (m.Result != 0) return;
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  const bool alt = keys[VK_MENU] & 0x80, shift = keys[VK_SHIFT] & 0x80,
             control = keys[VK_CONTROL] & 0x80;
  if (alt && !shift && !control) {
    if (TNCObject* item = FindAccelerator(static_cast<wchar_t>(m.WParam))) {
      ClickMenuButton(item);
      m.Result = 1;
      handled_ = true;
      return;
    }
  }
  TSkinManage* manager = Manager();
  if (mdiKind_ == kMDIChild && manager && manager->MDIFrame() && manager->MDIFrame()->Form()) {
    if (manager->MDIFrame()->Form()->Perform(ui::CM_DIALOGCHAR, m.WParam, m.LParam) != 0) {
      m.Result = 1;
      return;
    }
  }
  ui::TCustomForm* main = ui::Application().MainForm();
  if (form_ && main && main != form_ && main->HandleAllocated()) {
    if (main->Perform(ui::CM_DIALOGCHAR, m.WParam, m.LParam) != 0) {
      m.Result = 1;
      return;
    }
  }
  m.Result = 0;
}

void TWinSkinForm::ShowSysMenu(POINT screenPoint) {
  TSkinManage* manager = Manager();
  if (manager && manager->ModuleTag()) return;
  // Opened again from inside its own menu loop (a click on the icon while it shows).
  const DWORD now = GetTickCount();
  if (sysMenuShown_ && now - lastSysMenuTick_ <= doubleClickTime_) {
    if (hotObject_) {
      if (hoverTimer_) hoverTimer_->SetEnabled(false);
      PostMessageW(handle_, WM_CLOSE, 0, 0);
    }
    return;
  }
  if (sysMenuOpen_) return;
  if (manager) manager->SetPopupKind(TSkinManage::kSystemMenuPopup);
  lastSysMenuTick_ = now;
  sysMenuShown_ = true;
  BuildSysMenu();
  // The menu loop may free this skinner (its window closed meanwhile); the popup and the
  // liveness flag outlive it.
  std::shared_ptr<ui::TPopupMenu> popup = sysMenuPopup_;
  std::shared_ptr<bool> alive = alive_;
  sysMenuOpen_ = true;
  popup->Popup(screenPoint.x, screenPoint.y, handle_);
  if (!*alive) return;
  sysMenuOpen_ = false;
}

void TWinSkinForm::BuildSysMenu() {
  sysMenuPopup_ = std::make_shared<ui::TPopupMenu>(nullptr);
  ui::TPopupMenu& popup = *sysMenuPopup_;
  popup.SetTag(kSysMenuTag);
  if (skinData_) popup.SetImages(skinData_->MenuGlyphs());
  if (!systemMenu_) systemMenu_ = GetSystemMenu(handle_, FALSE);
  const int count = systemMenu_ ? GetMenuItemCount(systemMenu_) : 0;
  const bool maximized = windowState_ == kMaximized, minimized = windowState_ == kMinimized;
  const HWND window = handle_;
  for (int i = 0; i < count; ++i) {
    wchar_t text[81] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE | MIIM_ID | MIIM_FTYPE | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 80;
    if (!GetMenuItemInfoW(systemMenu_, i, TRUE, &info)) continue;
    // Wine adds an item about itself to every system menu; Windows has none such.
    if (info.wID == kWineAboutCommand) continue;
    auto* item = new ui::TMenuItem(&popup);
    item->SetCaption(text[0] ? std::wstring(text) : std::wstring(L"-"));
    item->SetTag(static_cast<int>(info.wID));
    const WPARAM command = info.wID;
    item->OnClick = [window, command](ui::TPersistent&) {
      PostMessageW(window, WM_SYSCOMMAND, command, 0);
    };
    // Grayed and disabled share their bits; either one disables the item.
    bool enabled = (info.fState & MFS_GRAYED) == 0;
    item->SetChecked((info.fState & MFS_CHECKED) != 0);
    int image = -1;
    switch (info.wID) {
      case SC_SIZE:
        enabled = !maximized && sizable_;
        break;
      case SC_MOVE:
        enabled = !maximized;
        break;
      case SC_MINIMIZE:
        image = 2;
        enabled = !minimized && (windowButtons_ & kMinimizeBox);
        break;
      case SC_MAXIMIZE:
        image = 1;
        enabled = !maximized && (windowButtons_ & kMaximizeBox);
        break;
      case SC_CLOSE:
        image = 3;
        break;
      case SC_RESTORE:
        image = 0;
        enabled = windowState_ != kNormal;
        break;
      default:
        break;
    }
    item->SetEnabled(enabled);
    item->SetImageIndex(image);
    popup.Items().Add(item);
  }
  // No separator at the end (the one before Wine's item).
  while (!popup.ItemList().empty() && popup.ItemList().back()->IsLine())
    delete popup.ItemList().back();
  InstallSysMenuPainters(popup);
}

bool TWinSkinForm::CanClose() const {
  HMENU menu = systemMenu_ ? systemMenu_ : GetSystemMenu(handle_, FALSE);
  if (!menu) return false;
  // A greyed Close (a Yes/No message box, a window busy with something) closes nothing.
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STATE;
  if (!GetMenuItemInfoW(menu, SC_CLOSE, FALSE, &info)) return false;
  return (info.fState & MFS_DISABLED) == 0;
}
