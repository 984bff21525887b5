// The form skinner's menus: the menu bar drawn in the frame and its drop-down menus, run
// with a message-filter hook for the keys and the mouse; the owner-drawn items of popup
// menus, main menus, drop-down menus and the system menu.
#include <algorithm>
#include <cwctype>
#include <functional>
#include <utility>

#include "skin/data/SkinData.h"
#include "skin/data/SkinMetrics.h"
#include "skin/forms/MenuBtn.h"
#include "skin/forms/MenuItemPainter.h"
#include "skin/forms/SkinManage.h"
#include "skin/forms/WinSkinForm.h"
#include "skin/forms/WinSkinMenu.h"
#include "ui/Form.h"
#include "ui/Menus.h"

namespace {

// While a drop-down menu of a skinned menu bar runs: one per process, as only one such
// menu is open at a time.
struct BarTracking {
  HHOOK hook = nullptr;
  TWinSkinForm* form = nullptr;
  int openIndex = -1;
  bool firstMessage = false;
  POINT lastMouse{};
};
BarTracking tracking;

void ForEachItem(ui::TMenuItem& parent, const std::function<void(ui::TMenuItem&)>& action) {
  for (ui::TMenuItem* item : std::vector<ui::TMenuItem*>(parent.Items())) {
    action(*item);
    ForEachItem(*item, action);
  }
}

wchar_t Upper(wchar_t c) { return static_cast<wchar_t>(std::towupper(c)); }

// The character after the first single "&" of a caption, or 0.
wchar_t AcceleratorOf(const std::wstring& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != L'&') continue;
    if (caption[i + 1] != L'&') return caption[i + 1];
    ++i;
  }
  return 0;
}

BOOL CALLBACK CollectMenuWindow(HWND window, LPARAM list) {
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  if (std::wstring(name) == L"#32768" && IsWindowVisible(window))
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

// The popup menu windows this thread shows.
std::vector<HWND> ShownMenuWindows() {
  std::vector<HWND> windows;
  EnumThreadWindows(GetCurrentThreadId(), CollectMenuWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

HMENU MenuOfWindow(HWND window) {
  return reinterpret_cast<HMENU>(SendMessageW(window, MN_GETHMENU, 0, 0));
}

int HighlightedItem(HMENU menu) {
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i)
    if (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE) return i;
  return -1;
}

// How deep the open menus go below `top`, and whether the item selected in the deepest one
// opens a submenu.
struct MenuDepth {
  int levels = 1;
  bool selectionHasSubmenu = false;
};
MenuDepth DepthBelow(HMENU top) {
  std::vector<HMENU> shown;
  for (HWND window : ShownMenuWindows()) shown.push_back(MenuOfWindow(window));
  MenuDepth depth;
  HMENU menu = top;
  for (int guard = 0; menu && guard < 16; ++guard) {
    const int selected = HighlightedItem(menu);
    HMENU sub = selected >= 0 ? GetSubMenu(menu, selected) : nullptr;
    depth.selectionHasSubmenu = sub != nullptr;
    if (!sub || std::find(shown.begin(), shown.end(), sub) == shown.end()) break;
    menu = sub;
    ++depth.levels;
  }
  return depth;
}

int TextWidth(HDC dc, const std::wstring& text) {
  RECT r{};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
            DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS | DT_NOCLIP);
  return r.right - r.left;
}

}  // namespace

// --- The bar -------------------------------------------------------------------------------

void TWinSkinForm::CreateMenuBar() {
  if (!skinData_ || !windowMenu_ || skinMenu_) return;
  // Without a skinned caption the frame has no strip to draw the bar in: the window keeps
  // the system's menu bar.
  if (borderKind_ == kNoCaption || skinData_->Records().FrameTop->Bitmap.Empty()) return;
  skinMenu_ = new TWinSkinMenu(*this, *skinData_);
  skinMenu_->Menu = form_ ? form_->Menu() : nullptr;
  skinMenu_->BuildButtons();
  menuBarHeight_ = skin::SkinMetric(SM_CYMENU);
}

void TWinSkinForm::FreeMenuBar() {
  // A bar menu still open closes; its filter must not reach this skinner any more.
  if (tracking.form == this) {
    tracking.form = nullptr;
    pendingMenu_ = -1;
    EndMenu();
  }
  if (IsMenuItem(hotObject_)) hotObject_ = nullptr;
  RestoreOwnerDrawn();
  delete skinMenu_;
  skinMenu_ = nullptr;
}

void TWinSkinForm::RebuildMenuBar(HMENU menu) {
  if (!skinMenu_) return;
  if (IsMenuItem(hotObject_)) hotObject_ = nullptr;
  if (menu) skinMenu_->MenuHandle = menu;
  skinMenu_->Menu = form_ ? form_->Menu() : nullptr;
  skinMenu_->BuildButtons();
  if ((skinState_ == kActive || skinState_ == kReskinning) && IsWindowVisible(handle_))
    PaintFrame(nullptr);
}

void TWinSkinForm::WindowMenuChanged() {
  HMENU menu = GetMenu(handle_);
  const UINT frameChanged =
      SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;
  // The form let its menu go: the bar goes too, and the client area takes its strip back.
  if (!menu && skinMenu_ && form_ && !form_->MenuHandle()) {
    FreeMenuBar();
    windowMenu_ = nullptr;
    menuBarHeight_ = 0;
    SetWindowPos(handle_, nullptr, 0, 0, 0, 0, frameChanged);
    return;
  }
  // A window that had no menu got one: the bar is made as when the window was taken over.
  if (menu && !skinMenu_ && frameOn_ && mdiKind_ != kMDIChild) {
    windowMenu_ = menu;
    CreateMenuBar();
    if (skinMenu_) {
      SetMenu(handle_, nullptr);
      SetWindowPos(handle_, nullptr, 0, 0, 0, 0, frameChanged);
    }
    return;
  }
  if (!menu || !skinMenu_) return;
  if (skinData_ && skinData_->MenuUpdate()) {
    windowMenu_ = menu;
    RebuildMenuBar(menu);
  }
  // The skinned bar draws the menu; the system must not.
  SetMenu(handle_, nullptr);
}

int TWinSkinForm::MenuBarHeightFor(int windowWidth) const {
  if (!skinMenu_) return menuBarHeight_;
  return skinMenu_->Rows(windowWidth - borderLeft_ - borderRight_) * skin::SkinMetric(SM_CYMENU);
}

bool TWinSkinForm::PaintMenuBar(HDC dc, const RECT& strip) {
  if (!skinMenu_) return false;
  skinMenu_->PaintBar(dc, strip);
  return true;
}

TNCObject* TWinSkinForm::MenuItemAt(POINT framePoint) const {
  return skinMenu_ ? skinMenu_->ItemAt(framePoint) : nullptr;
}

bool TWinSkinForm::IsMenuItem(const TNCObject* object) const {
  return dynamic_cast<const TMenuBtn*>(object) != nullptr;
}

TNCObject* TWinSkinForm::FirstMenuItem() const {
  if (!skinMenu_) return nullptr;
  for (const auto& button : skinMenu_->MenuButtons)
    if (button->Visible && !button->Caption.empty()) return button.get();
  return nullptr;
}

TNCObject* TWinSkinForm::FindAccelerator(wchar_t key) const {
  if (!skinMenu_ || !key) return nullptr;
  for (const auto& button : skinMenu_->MenuButtons) {
    if (!button->ItemEnabled || !button->Visible) continue;
    const wchar_t accelerator = AcceleratorOf(button->Caption);
    if (accelerator && Upper(accelerator) == Upper(key)) return button.get();
  }
  return nullptr;
}

void TWinSkinForm::ClickMenuButton(TNCObject* item) {
  if (!IsMenuItem(item)) return;
  RECT window{};
  GetWindowRect(handle_, &window);
  PostMessageW(
      handle_, WM_NCLBUTTONDOWN, HTMENU,
      MAKELPARAM(window.left + item->BoundsRect.left + 1, window.top + item->BoundsRect.top + 1));
}

// --- Opening a menu of the bar -------------------------------------------------------------

void TWinSkinForm::OpenMenu(TNCObject* item) {
  auto* button = dynamic_cast<TMenuBtn*>(item);
  if (!button || !skinMenu_) return;
  if (menuTracking_) {
    // A click on the bar while a menu is open (Wine hands a posted click to the window
    // inside the menu's loop): that menu closes and this one opens.
    if (button->Index != tracking.openIndex) SwitchMenu(button->Index);
    return;
  }
  const std::shared_ptr<bool> alive = alive_;
  int index = button->Index;
  while (index >= 0 && skinMenu_) {
    TMenuBtn* open = skinMenu_->Button(index);
    if (!open) break;
    pendingMenu_ = -1;
    TrackBarMenu(*open);
    if (!*alive) return;
    index = std::exchange(pendingMenu_, -1);
  }
  // The item stays hot while the cursor rests on it.
  if (TNCObject* hot = hotObject_; hot && IsMenuItem(hot)) {
    POINT cursor{};
    GetCursorPos(&cursor);
    if (PtInRect(&hot->BoundsRect, ToFramePoint(cursor))) {
      hot->State = TNCObject::kHot;
      hot->Paint();
    } else {
      hot->MouseLeave();
    }
  }
}

void TWinSkinForm::TrackBarMenu(TMenuBtn& button) {
  // The framework runs the top-level item's own click. A raw window's item that opens a
  // submenu is no command: its id is the submenu's handle, and the system sends nothing.
  if (form_ || !button.SubMenu) PostMessageW(handle_, WM_COMMAND, button.Command, 0);
  if (!button.SubMenu || !button.ItemEnabled) return;
  if (hotObject_ != &button || button.State != TNCObject::kPressed) button.MouseDown();
  // The drop-down opens without notifications: a raw window still updates its items on
  // WM_INITMENUPOPUP as under the system's own bar (a framework form has done so already),
  // before they are made the skin's.
  if (!form_) {
    const std::shared_ptr<bool> living = alive_;
    SendMessageW(handle_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(button.SubMenu),
                 MAKELPARAM(button.Index, FALSE));
    if (!*living) return;
  }
  tracking.form = this;
  tracking.openIndex = button.Index;
  GetWindowRect(handle_, &windowRect_);
  MakeOwnerDrawn(button.SubMenu);
  menuTracking_ = true;
  const POINT at{
      windowRect_.left + (rightToLeft_ ? button.BoundsRect.right : button.BoundsRect.left),
      windowRect_.top + button.BoundsRect.bottom};
  if (TSkinManage* manager = Manager()) {
    manager->SetPopupKind(TSkinManage::kMenuBarPopup);
    manager->SetPopupsFromMenuBar(true);
  }
  trackedMenu_ = button.SubMenu;
  if (!tracking.hook) {
    tracking.hook = SetWindowsHookExW(WH_MSGFILTER, MenuFilterHook, nullptr, GetCurrentThreadId());
    tracking.firstMessage = true;
    GetCursorPos(&tracking.lastMouse);
  }
  const std::shared_ptr<bool> alive = alive_;
  UINT flags = TPM_NONOTIFY | TPM_RIGHTBUTTON | TPM_RETURNCMD;
  if (rightToLeft_) flags |= TPM_RIGHTALIGN;
  const UINT command =
      static_cast<UINT>(TrackPopupMenu(button.SubMenu, flags, at.x, at.y, 0, handle_, nullptr));
  if (tracking.hook) UnhookWindowsHookEx(tracking.hook);
  tracking = {};
  if (!*alive) return;
  menuTracking_ = false;
  if (command) PostMessageW(handle_, WM_COMMAND, command, 0);
}

void TWinSkinForm::SwitchMenu(int index) {
  TMenuBtn* target = skinMenu_ ? skinMenu_->Button(index) : nullptr;
  if (!target) return;
  pendingMenu_ = index;
  target->MouseDown();
  EndMenu();
}

LRESULT CALLBACK TWinSkinForm::MenuFilterHook(int code, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = CallNextHookEx(tracking.hook, code, wParam, lParam);
  if (result == 0 && code == MSGF_MENU && tracking.form && lParam) {
    // A hook procedure is called by the system, which no exception may cross.
    try {
      tracking.form->OnMenuFilter(*reinterpret_cast<const MSG*>(lParam));
    } catch (...) {
    }
  }
  return result;
}

void TWinSkinForm::OnMenuFilter(const MSG& msg) {
  if (!skinMenu_ || pendingMenu_ >= 0) return;
  if (tracking.firstMessage) {
    tracking.firstMessage = false;
    // Down selects the first item, as a menu opened from the keyboard shows it.
    HWND target = handle_;
    for (HWND window : ShownMenuWindows())
      if (MenuOfWindow(window) == trackedMenu_) target = window;
    PostMessageW(target, WM_KEYDOWN, VK_DOWN, 0);
  }
  const int count = skinMenu_->Count();
  // The next (or previous) item that can open, round the bar.
  auto step = [&](int from, int direction) {
    for (int n = 1; n <= count; ++n) {
      const int i = ((from + direction * n) % count + count) % count;
      const TMenuBtn* b = skinMenu_->Button(i);
      if (b->Visible && b->ItemEnabled && !b->Caption.empty()) return i;
    }
    return -1;
  };
  int target = -1;
  switch (msg.message) {
    case WM_KEYDOWN: {
      // In a right-to-left bar the next item lies to the left.
      const WPARAM forward = rightToLeft_ ? VK_LEFT : VK_RIGHT;
      const WPARAM back = rightToLeft_ ? VK_RIGHT : VK_LEFT;
      if (msg.wParam == back) {
        if (DepthBelow(trackedMenu_).levels == 1) target = step(tracking.openIndex, -1);
      } else if (msg.wParam == forward) {
        if (!DepthBelow(trackedMenu_).selectionHasSubmenu) target = step(tracking.openIndex, 1);
      }
      break;
    }
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
      if (msg.pt.x != tracking.lastMouse.x || msg.pt.y != tracking.lastMouse.y) {
        tracking.lastMouse = msg.pt;
        const auto* under = static_cast<const TMenuBtn*>(MenuItemAt(ToFramePoint(msg.pt)));
        if (under && under->ItemEnabled) target = under->Index;
      }
      break;
    default:
      break;
  }
  if (target >= 0 && target != tracking.openIndex) SwitchMenu(target);
}

// --- Owner-drawn bar menus -----------------------------------------------------------------

void TWinSkinForm::MakeOwnerDrawn(HMENU menu) {
  std::vector<UINT>& types = ownerDrawnMenus_[menu];
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_SUBMENU;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
    if (static_cast<int>(types.size()) <= i) types.push_back(info.fType);
    // Right-to-left bar menus are mirrored by the painter (Wine draws no owner-drawn item
    // that carries MFT_RIGHTORDER).
    const UINT wanted = info.fType | MFT_OWNERDRAW;
    if (wanted != info.fType) {
      info.fMask = MIIM_FTYPE;
      info.fType = wanted;
      SetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
    }
    if (info.hSubMenu) MakeOwnerDrawn(info.hSubMenu);
  }
}

void TWinSkinForm::RestoreOwnerDrawn() {
  for (const auto& [menu, types] : ownerDrawnMenus_) {
    if (!IsMenu(menu)) continue;
    const int count = std::min<int>(GetMenuItemCount(menu), static_cast<int>(types.size()));
    for (int i = 0; i < count; ++i) {
      MENUITEMINFOW info{};
      info.cbSize = sizeof info;
      info.fMask = MIIM_FTYPE;
      if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
      info.fType = (info.fType & ~MFT_OWNERDRAW) | (types[static_cast<size_t>(i)] & MFT_OWNERDRAW);
      SetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
    }
  }
  ownerDrawnMenus_.clear();
}

bool TWinSkinForm::BarMenuHolds(HMENU menu) const { return ownerDrawnMenus_.count(menu) != 0; }

bool TWinSkinForm::BarMenuHoldsCommand(UINT command) const {
  return menuTracking_ && trackedMenu_ && GetMenuState(trackedMenu_, command, MF_BYCOMMAND) != ~0u;
}

bool TWinSkinForm::MenuIsRightToLeft(HMENU menu, UINT command) const {
  if (rightToLeft_ && BarMenuHolds(menu)) return true;
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE;
  return GetMenuItemInfoW(menu, command, FALSE, &info) && (info.fType & MFT_RIGHTORDER);
}

bool TWinSkinForm::IsMainMenuItem(const ui::TMenuItem& item) const {
  return skinMenu_ && skinMenu_->Menu && item.GetParentMenu() == skinMenu_->Menu;
}

// --- Which menus get the item painters ------------------------------------------------------

// The handlers hold this skinner only while it lives: a menu loop may outlast it (its
// window closed meanwhile), and its items are then drawn and measured plainly.
ui::TMenuDrawItemEvent TWinSkinForm::ItemPainter() {
  return [this, alive = alive_](ui::TMenuItem& item, const ui::TMenuDrawArgs& args) {
    if (*alive) {
      DrawMenuItem(item, args);
    } else {
      item.DefaultDrawItem(args);
    }
  };
}

ui::TMenuMeasureItemEvent TWinSkinForm::ItemMeasurer(bool mainMenu) {
  return [this, alive = alive_, mainMenu](ui::TMenuItem& item, HDC dc, int& w, int& h) {
    if (!*alive) return;
    if (mainMenu) {
      MeasureMainItem(item, dc, w, h);
    } else {
      MeasurePopupItem(item, dc, w, h);
    }
  };
}

void TWinSkinForm::InstallItemPainters(ui::TComponent& component, bool on) {
  if (!skinData_ || (form_ && form_->ClassName() == L"TwwRichEditForm")) return;
  for (ui::TComponent* owned : std::vector<ui::TComponent*>(component.Components())) {
    if (auto* form = dynamic_cast<ui::TCustomForm*>(owned)) {
      InstallItemPainters(*form, on);
      continue;
    }
    auto* popup = dynamic_cast<ui::TPopupMenu*>(owned);
    // A popup menu with the disable tag keeps the system look.
    if (!popup || popup->Tag() == skinData_->DisableTag()) continue;
    popup->SetOwnerDraw(on);
    ForEachItem(popup->Items(), [&](ui::TMenuItem& item) {
      if (!on) {
        item.OnDrawItem = nullptr;
        item.OnMeasureItem = nullptr;
        return;
      }
      item.OnDrawItem = ItemPainter();
      if (!item.OnMeasureItem) item.OnMeasureItem = ItemMeasurer(false);
    });
  }
}

void TWinSkinForm::InstallMainMenuPainters(ui::TComponent& component, bool on) {
  for (ui::TComponent* owned : std::vector<ui::TComponent*>(component.Components())) {
    auto* menu = dynamic_cast<ui::TMainMenu*>(owned);
    if (!menu) continue;
    menu->SetOwnerDraw(on);
    // The top-level items are the bar's buttons; the painters are for what drops down.
    for (ui::TMenuItem* top : std::vector<ui::TMenuItem*>(menu->Items().Items())) {
      ForEachItem(*top, [&](ui::TMenuItem& item) {
        if (!on) {
          item.OnDrawItem = nullptr;
          item.OnMeasureItem = nullptr;
        } else if (!item.OnDrawItem) {
          item.OnDrawItem = ItemPainter();
          item.OnMeasureItem = ItemMeasurer(true);
        }
      });
    }
  }
}

void TWinSkinForm::InstallSysMenuPainters(ui::TPopupMenu& menu) {
  // Without system menu skinning the popup keeps the system look, items and frame alike.
  if (!skinData_ || !(skinData_->SkinControls() & Bit(xcSystemMenu))) return;
  menu.SetOwnerDraw(true);
  ForEachItem(menu.Items(), [this](ui::TMenuItem& item) {
    item.OnDrawItem = ItemPainter();
    item.OnMeasureItem = ItemMeasurer(false);
  });
}

void TWinSkinForm::InstallDropDownPainters(ui::TMenu& menu) {
  menu.SetOwnerDraw(true);
  ForEachItem(menu.Items(), [this](ui::TMenuItem& item) {
    item.OnDrawItem = ItemPainter();
    item.OnMeasureItem = ItemMeasurer(true);
  });
}

// --- Measuring -------------------------------------------------------------------------------

namespace {

int MenuItemMarginLeft(const TSkinData* skinData) {
  if (!skinData || !skinData->SkinParsed() || !skinData->Records().MenuItem) return 0;
  return skinData->Records().MenuItem->Margins.left;
}

bool MenuHasImages(const ui::TMenuItem& item) {
  const ui::TMenu* menu = item.GetParentMenu();
  return menu && menu->Images();
}

}  // namespace

void TWinSkinForm::MeasurePopupItem(ui::TMenuItem& item, HDC, int& width, int&) {
  width += MenuItemMarginLeft(skinData_) + 12;
  if (!MenuHasImages(item)) width += 23;
}

void TWinSkinForm::MeasureMainItem(ui::TMenuItem& item, HDC dc, int& width, int& height) {
  item.DefaultMeasureItem(dc, width, height);
  width += MenuItemMarginLeft(skinData_) + 10;
  if (!MenuHasImages(item)) width += 25;
}

bool TWinSkinForm::MeasureMenuItem(MEASUREITEMSTRUCT& measure) {
  if (measure.CtlType != ODT_MENU) return false;
  if (ui::TMenuItem* item = ui::TMenuItem::FromItemData(measure.itemData)) {
    if (!IsMainMenuItem(*item))
      return ui::DispatchMenuItemMessage(WM_MEASUREITEM, reinterpret_cast<LPARAM>(&measure));
    if (TSkinManage* manager = Manager()) manager->MarkPopups();
    ui::WindowDC dc(handle_);
    ui::GdiObject<HFONT> font = skin::SkinMenuFont();
    ui::SelectObjectGuard select(dc.get(), font.get());
    int width = static_cast<int>(measure.itemWidth), height = static_cast<int>(measure.itemHeight);
    if (item->OnMeasureItem) {
      item->MeasureItem(dc.get(), width, height);
    } else {
      MeasureMainItem(*item, dc.get(), width, height);
    }
    measure.itemWidth = static_cast<UINT>(std::max(width, 0));
    measure.itemHeight = static_cast<UINT>(std::max(height, 0));
    return true;
  }
  if (!skinMenu_ || !BarMenuHoldsCommand(measure.itemID)) return false;
  // An item of a menu the framework did not build.
  const skin::MenuItemView view = skin::ViewOfRawItem(trackedMenu_, measure.itemID);
  if (view.IsLine()) {
    measure.itemWidth = 0;
    measure.itemHeight = 8;
    return true;
  }
  ui::WindowDC dc(handle_);
  ui::GdiObject<HFONT> font = skin::SkinMenuFont(view.isDefault);
  ui::SelectObjectGuard select(dc.get(), font.get());
  std::wstring text = view.caption;
  if (!view.shortCut.empty()) text += L"\t" + view.shortCut;
  measure.itemWidth =
      static_cast<UINT>(TextWidth(dc.get(), text) + 26 + MenuItemMarginLeft(skinData_));
  measure.itemHeight += 4;
  return true;
}

// --- Drawing ---------------------------------------------------------------------------------

bool TWinSkinForm::DrawMenuItem(const DRAWITEMSTRUCT& draw) {
  if (draw.CtlType != ODT_MENU) return false;
  const auto menu = reinterpret_cast<HMENU>(draw.hwndItem);
  if (ui::TMenuItem* item = ui::TMenuItem::FromItemData(draw.itemData)) {
    if (!IsMainMenuItem(*item))
      return ui::DispatchMenuItemMessage(WM_DRAWITEM, reinterpret_cast<LPARAM>(&draw));
    const ui::TMenuDrawArgs args{draw.hDC, draw.rcItem, draw.itemState, menu};
    if (item->OnDrawItem) {
      item->DrawItem(args);
    } else {
      DrawMenuItem(*item, args);
    }
    return true;
  }
  if (!skinMenu_ || !BarMenuHolds(menu)) return false;
  DrawRawMenuItem(draw);
  return true;
}

void TWinSkinForm::DrawMenuItem(ui::TMenuItem& item, const ui::TMenuDrawArgs& args) {
  if (!skinData_ || !skinData_->SkinParsed()) return;
  TSkinManage* manager = Manager();
  if (manager) {
    manager->MarkPopups();
    manager->AttachMenuToPopup(args.menu);
  }
  skin::MenuItemView view = skin::ViewOf(item);
  view.rightToLeft = MenuIsRightToLeft(args.menu, item.Command());
  skin::MenuItemTarget target{args.dc, args.rect, args.state, {}};
  if (manager) target.background = manager->PopupBitmap(args.menu);
  skin::PaintMenuItem(skinData_->Records(), view, target, skin::MenuItemLook::Skinned);
}

void TWinSkinForm::DrawPlainMenuItem(ui::TMenuItem& item, const ui::TMenuDrawArgs& args) {
  if (!skinData_ || !skinData_->SkinParsed()) return;
  skin::PaintMenuItem(skinData_->Records(), skin::ViewOf(item),
                      {args.dc, args.rect, args.state, {}}, skin::MenuItemLook::Plain);
}

void TWinSkinForm::DrawRawMenuItem(const DRAWITEMSTRUCT& draw) {
  if (!skinData_ || !skinData_->SkinParsed()) return;
  const auto menu = reinterpret_cast<HMENU>(draw.hwndItem);
  TSkinManage* manager = Manager();
  if (manager) {
    manager->AttachMenuToPopup(menu);
    manager->MarkPopups();
  }
  skin::MenuItemTarget target{draw.hDC, draw.rcItem, draw.itemState, {}};
  if (manager) target.background = manager->PopupBitmap(menu);
  skin::MenuItemView view = skin::ViewOfRawItem(menu, draw.itemID);
  view.rightToLeft = MenuIsRightToLeft(menu, draw.itemID);
  skin::PaintMenuItem(skinData_->Records(), view, target, skin::MenuItemLook::Raw);
}
