#include "ui/Menus.h"

#include <algorithm>
#include <unordered_set>

#include "ui/GdiObject.h"

namespace ui {

namespace {

// Every live item, so that an item pointer found in a menu's item data is used only while
// the item exists.
std::unordered_set<const TMenuItem*>& LiveItems() {
  static std::unordered_set<const TMenuItem*> items;
  return items;
}

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

void BuildMenu(HMENU menu, const TMenuItem& parent, bool ownerDraw) {
  for (TMenuItem* item : parent.Items()) {
    if (!item->Visible()) continue;
    std::wstring text = item->Caption();
    if (item->ShortCut()) text += L"\t" + ShortCutToText(item->ShortCut());
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING | MIIM_DATA;
    info.fType = item->Caption() == L"-" ? MFT_SEPARATOR : MFT_STRING;
    if (ownerDraw) info.fType |= MFT_OWNERDRAW;
    info.fState = (item->Enabled() ? 0 : MFS_GRAYED) | (item->Checked() ? MFS_CHECKED : 0);
    info.wID = item->Command();
    info.dwItemData = reinterpret_cast<ULONG_PTR>(item);
    info.dwTypeData = text.data();
    if (!item->Items().empty()) {
      info.fMask |= MIIM_SUBMENU;
      info.hSubMenu = CreatePopupMenu();
      BuildMenu(info.hSubMenu, *item, ownerDraw);
    }
    InsertMenuItemW(menu, GetMenuItemCount(menu), TRUE, &info);
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
        .Integer<TMenuItem>(L"ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex)
        .Event<TMenuItem>(L"OnClick", &TMenuItem::OnClick);
    return true;
  }();
  (void)published;
  return info;
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), command_(NextCommand()) {
  LiveItems().insert(this);
}

TMenuItem::~TMenuItem() {
  LiveItems().erase(this);
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
  if (auto* menu = dynamic_cast<TMenu*>(parent)) {
    menu->Items().Add(this);
  } else if (auto* item = dynamic_cast<TMenuItem*>(parent)) {
    item->Add(this);
  }
}

void TMenuItem::Click() {
  if (enabled_ && OnClick) OnClick(*this);
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* root = this;
  while (root->parentItem_) root = root->parentItem_;
  return root->menu_;
}

TMenuItem* TMenuItem::FromItemData(ULONG_PTR data) {
  auto* item = reinterpret_cast<TMenuItem*>(data);
  return item && LiveItems().count(item) ? item : nullptr;
}

namespace {

constexpr int kSeparatorHeight = 8;
constexpr int kShortCutGap = 16;

SIZE TextSize(HDC dc, const std::wstring& text) {
  // An empty caption (or a lone prefix character) still takes a space.
  const std::wstring shown = text.empty() || text == L"&" ? L" " : text;
  RECT r{};
  DrawTextW(dc, shown.c_str(), static_cast<int>(shown.size()), &r,
            DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS | DT_NOCLIP);
  return {r.right - r.left, r.bottom - r.top};
}

}  // namespace

void TMenuItem::MeasureItem(HDC dc, int& width, int& height) {
  DefaultMeasureItem(dc, width, height);
  if (OnMeasureItem) OnMeasureItem(*this, dc, width, height);
}

void TMenuItem::DefaultMeasureItem(HDC dc, int& width, int& height) const {
  if (IsLine()) {
    width = 0;
    height = kSeparatorHeight;
  } else {
    const SIZE text = TextSize(dc, caption_);
    width = text.cx;
    height = text.cy + 6;
    if (shortCut_) width += kShortCutGap + TextSize(dc, ShortCutToText(shortCut_)).cx;
    const TMenu* menu = GetParentMenu();
    int imageWidth = 0, imageHeight = 0;
    if (menu && menu->Images() &&
        ImageList_GetIconSize(menu->Images(), &imageWidth, &imageHeight)) {
      width += imageWidth + 6;
      height = std::max(height, imageHeight + 6);
    }
  }
}

void TMenuItem::DrawItem(const TMenuDrawArgs& args) {
  if (OnDrawItem) {
    OnDrawItem(*this, args);
  } else {
    DefaultDrawItem(args);
  }
}

void TMenuItem::DefaultDrawItem(const TMenuDrawArgs& args) const {
  // The system's menu colours, the caption and the shortcut.
  const bool selected = args.Selected();
  FillRect(args.dc, &args.rect, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
  if (IsLine()) {
    RECT line = args.rect;
    line.top += (line.bottom - line.top) / 2 - 1;
    DrawEdge(args.dc, &line, EDGE_ETCHED, BF_TOP);
    return;
  }
  const int oldMode = SetBkMode(args.dc, TRANSPARENT);
  SetTextColor(args.dc, GetSysColor(!enabled_  ? COLOR_GRAYTEXT
                                    : selected ? COLOR_HIGHLIGHTTEXT
                                               : COLOR_MENUTEXT));
  RECT r = args.rect;
  r.left += GetSystemMetrics(SM_CXMENUCHECK) + 4;
  r.right -= 8;
  const UINT flags = DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS;
  DrawTextW(args.dc, caption_.c_str(), static_cast<int>(caption_.size()), &r, flags);
  if (shortCut_) {
    const std::wstring text = ShortCutToText(shortCut_);
    DrawTextW(args.dc, text.c_str(), static_cast<int>(text.size()), &r, flags | DT_RIGHT);
  }
  SetBkMode(args.dc, oldMode);
}

GdiObject<HFONT> CreateMenuFont(bool bold) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  if (bold) metrics.lfMenuFont.lfWeight = FW_BOLD;
  return GdiObject<HFONT>(CreateFontIndirectW(&metrics.lfMenuFont));
}

bool DispatchMenuItemMessage(UINT msg, LPARAM lParam) {
  if (msg == WM_MEASUREITEM) {
    auto& measure = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    if (measure.CtlType != ODT_MENU) return false;
    TMenuItem* item = TMenuItem::FromItemData(measure.itemData);
    if (!item) return false;
    GdiObject<HFONT> font = CreateMenuFont();
    HDC dc = GetDC(nullptr);
    int width = static_cast<int>(measure.itemWidth), height = static_cast<int>(measure.itemHeight);
    {
      SelectObjectGuard select(dc, font.get());
      item->MeasureItem(dc, width, height);
    }
    ReleaseDC(nullptr, dc);
    measure.itemWidth = static_cast<UINT>(std::max(width, 0));
    measure.itemHeight = static_cast<UINT>(std::max(height, 0));
    return true;
  }
  if (msg == WM_DRAWITEM) {
    const auto& draw = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (draw.CtlType != ODT_MENU) return false;
    TMenuItem* item = TMenuItem::FromItemData(draw.itemData);
    if (!item) return false;
    item->DrawItem({draw.hDC, draw.rcItem, draw.itemState, reinterpret_cast<HMENU>(draw.hwndItem)});
    return true;
  }
  return false;
}

const TClassInfo& TMenu::StaticClass() {
  static TClassInfo info(L"TMenu", &TComponent::StaticClass());
  static const bool published = [] {
    info.Boolean<TMenu>(L"OwnerDraw", &TMenu::OwnerDraw, &TMenu::SetOwnerDraw);
    return true;
  }();
  (void)published;
  return info;
}

const TClassInfo& TMainMenu::StaticClass() {
  static TClassInfo info(L"TMainMenu", &TMenu::StaticClass());
  return info;
}

const TClassInfo& TPopupMenu::StaticClass() {
  static TClassInfo info(L"TPopupMenu", &TMenu::StaticClass());
  return info;
}

VELMO_NAMED_CLASS_INFO(TTntMenuItem, TMenuItem)
VELMO_NAMED_CLASS_INFO(TTntPopupMenu, TPopupMenu)

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(new TMenuItem(nullptr)) {
  items_->menu_ = this;
}

TMenu::~TMenu() { delete items_; }

TMenuItem* TMenu::FindItem(UINT command) const { return FindByCommand(*items_, command); }

void TMenu::Build(HMENU menu) const { BuildMenu(menu, *items_, ownerDraw_); }

TMainMenu::TMainMenu(TComponent* owner) : TMenu(owner) {}

TMainMenu::~TMainMenu() {
  if (handle_) DestroyMenu(handle_);
}

HMENU TMainMenu::Handle() {
  if (!handle_) {
    handle_ = CreateMenu();
    Build(handle_);
  }
  return handle_;
}

void TMainMenu::Rebuild() {
  if (handle_) DestroyMenu(handle_);
  handle_ = nullptr;
  Handle();
}

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner) {}

TPopupMenu::~TPopupMenu() = default;

void TPopupMenu::Popup(int x, int y, HWND owner) {
  MenuHandle menu{CreatePopupMenu()};
  if (!menu.menu) return;
  Build(menu.menu);
  shown_ = menu.menu;
  UINT command = static_cast<UINT>(TrackPopupMenu(
      menu.menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, x, y, 0, owner, nullptr));
  shown_ = nullptr;
  if (command == 0) return;
  if (TMenuItem* item = FindItem(command)) item->Click();
}

bool TPopupMenu::IsShortCut(int shortCut) {
  TMenuItem* item = FindByShortCut(Items(), shortCut);
  if (!item) return false;
  item->Click();
  return true;
}

}  // namespace ui
