#include "ui/Menus.h"

#include <algorithm>

namespace ui {

namespace {

// Menu commands the framework hands out; items keep theirs for life.
UINT NextCommand() {
  static UINT next = 100;
  return next++;
}

struct MenuHandle {
  HMENU menu;
  ~MenuHandle() {
    if (menu) DestroyMenu(menu);
  }
};

void BuildMenu(HMENU menu, const TMenuItem& parent) {
  for (TMenuItem* item : parent.Items()) {
    if (!item->Visible()) continue;
    if (item->Caption() == L"-") {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    std::wstring text = item->Caption();
    if (item->ShortCut()) text += L"\t" + ShortCutToText(item->ShortCut());
    UINT flags = MF_STRING | (item->Enabled() ? 0 : MF_GRAYED) | (item->Checked() ? MF_CHECKED : 0);
    if (!item->Items().empty()) {
      HMENU sub = CreatePopupMenu();
      BuildMenu(sub, *item);
      AppendMenuW(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), text.c_str());
    } else {
      AppendMenuW(menu, flags, item->Command(), text.c_str());
    }
  }
}

TMenuItem* FindByCommand(const TMenuItem& parent, UINT command) {
  for (TMenuItem* item : parent.Items()) {
    if (item->Command() == command) return item;
    if (TMenuItem* found = FindByCommand(*item, command)) return found;
  }
  return nullptr;
}

TMenuItem* FindByShortCut(const TMenuItem& parent, int shortCut) {
  for (TMenuItem* item : parent.Items()) {
    if (item->ShortCut() == shortCut && item->Enabled() && item->Visible()) return item;
    if (TMenuItem* found = FindByShortCut(*item, shortCut)) return found;
  }
  return nullptr;
}

}  // namespace

std::wstring ShortCutToText(int shortCut) {
  std::wstring text;
  if (shortCut & scShift) text += L"Shift+";
  if (shortCut & scCtrl) text += L"Ctrl+";
  if (shortCut & scAlt) text += L"Alt+";
  int key = shortCut & 0xFF;
  switch (key) {
    case VK_DELETE:
      return text + L"Del";
    case VK_INSERT:
      return text + L"Ins";
    case VK_RETURN:
      return text + L"Enter";
    case VK_ESCAPE:
      return text + L"Esc";
    case VK_BACK:
      return text + L"BkSp";
    default:
      break;
  }
  if (key >= VK_F1 && key <= VK_F12) return text + L"F" + std::to_wstring(key - VK_F1 + 1);
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
    return text + static_cast<wchar_t>(key);
  return text + L"#" + std::to_wstring(key);
}

int ShortCutFromKey(WPARAM key) {
  int shortCut = static_cast<int>(key & 0xFF);
  if (GetKeyState(VK_SHIFT) & 0x8000) shortCut |= scShift;
  if (GetKeyState(VK_CONTROL) & 0x8000) shortCut |= scCtrl;
  if (GetKeyState(VK_MENU) & 0x8000) shortCut |= scAlt;
  return shortCut;
}

const TClassInfo& TMenuItem::StaticClass() {
  static TClassInfo info(L"TMenuItem", &TComponent::StaticClass());
  static const bool published = [] {
    info.Text<TMenuItem>(L"Caption", &TMenuItem::Caption, &TMenuItem::SetCaption)
        .Integer<TMenuItem>(L"ShortCut", &TMenuItem::ShortCut, &TMenuItem::SetShortCut)
        .Boolean<TMenuItem>(L"Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled)
        .Boolean<TMenuItem>(L"Visible", &TMenuItem::Visible, &TMenuItem::SetVisible)
        .Boolean<TMenuItem>(L"Checked", &TMenuItem::Checked, &TMenuItem::SetChecked)
        .Event<TMenuItem>(L"OnClick", &TMenuItem::OnClick);
    return true;
  }();
  (void)published;
  return info;
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), command_(NextCommand()) {}

TMenuItem::~TMenuItem() {
  for (TMenuItem* item : items_) item->parentItem_ = nullptr;
  if (parentItem_) parentItem_->Remove(this);
}

void TMenuItem::Add(TMenuItem* item) {
  if (item->parentItem_) item->parentItem_->Remove(item);
  items_.push_back(item);
  item->parentItem_ = this;
}

void TMenuItem::Remove(TMenuItem* item) {
  std::erase(items_, item);
  item->parentItem_ = nullptr;
}

void TMenuItem::SetParentComponent(TComponent* parent) {
  if (auto* menu = dynamic_cast<TPopupMenu*>(parent)) {
    menu->Items().Add(this);
  } else if (auto* item = dynamic_cast<TMenuItem*>(parent)) {
    item->Add(this);
  }
}

void TMenuItem::Click() {
  if (enabled_ && OnClick) OnClick(*this);
}

const TClassInfo& TPopupMenu::StaticClass() {
  static TClassInfo info(L"TPopupMenu", &TComponent::StaticClass());
  return info;
}

VELMO_NAMED_CLASS_INFO(TTntMenuItem, TMenuItem)
VELMO_NAMED_CLASS_INFO(TTntPopupMenu, TPopupMenu)

TPopupMenu::TPopupMenu(TComponent* owner) : TComponent(owner), items_(new TMenuItem(nullptr)) {}

TPopupMenu::~TPopupMenu() { delete items_; }

void TPopupMenu::Popup(int x, int y, HWND owner) {
  MenuHandle menu{CreatePopupMenu()};
  if (!menu.menu) return;
  BuildMenu(menu.menu, *items_);
  shown_ = menu.menu;
  UINT command = static_cast<UINT>(TrackPopupMenu(
      menu.menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, x, y, 0, owner, nullptr));
  shown_ = nullptr;
  if (command == 0) return;
  if (TMenuItem* item = FindByCommand(*items_, command)) item->Click();
}

bool TPopupMenu::IsShortCut(int shortCut) {
  TMenuItem* item = FindByShortCut(*items_, shortCut);
  if (!item) return false;
  item->Click();
  return true;
}

}  // namespace ui
