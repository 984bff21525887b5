#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/Component.h"
#include "ui/GdiObject.h"

// Main and popup menus with shortcuts; owner-drawn items with draw and measure handlers.

namespace ui {

class TMenu;
class TMenuItem;

// Shortcut values: the virtual key plus scShift, scCtrl, scAlt.
inline constexpr int scShift = 0x2000;
inline constexpr int scCtrl = 0x4000;
inline constexpr int scAlt = 0x8000;
std::wstring ShortCutToText(int shortCut);
// The shortcut of a key press with the current shift state.
int ShortCutFromKey(WPARAM key);

// What an owner-drawn item is drawn with: the target, the item's place in it, its ODS_ state
// flags and the menu (handle) that holds it.
struct TMenuDrawArgs {
  HDC dc = nullptr;
  RECT rect{};
  UINT state = 0;
  HMENU menu = nullptr;
  bool Selected() const { return (state & ODS_SELECTED) != 0; }
};
using TMenuDrawItemEvent = std::function<void(TMenuItem& item, const TMenuDrawArgs& args)>;
// Gets the size the framework proposes and may change it.
using TMenuMeasureItemEvent = std::function<void(TMenuItem& item, HDC dc, int& width, int& height)>;

class TMenuItem : public TComponent {
  VELMO_DECLARE_CLASS
 public:
  explicit TMenuItem(TComponent* owner);
  ~TMenuItem() override;

  std::wstring Caption() const { return caption_; }
  void SetCaption(const std::wstring& v) { caption_ = v; }
  int ShortCut() const { return shortCut_; }
  void SetShortCut(int v) { shortCut_ = v; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v) { enabled_ = v; }
  bool Visible() const { return visible_; }
  void SetVisible(bool v) { visible_ = v; }
  bool Checked() const { return checked_; }
  void SetChecked(bool v) { checked_ = v; }
  // Index into the menu's Images, or -1.
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int v) { imageIndex_ = v; }
  // The menu's default item (drawn bold).
  bool Default() const { return default_; }
  void SetDefault(bool v) { default_ = v; }
  bool IsLine() const { return caption_ == L"-"; }

  const std::vector<TMenuItem*>& Items() const { return items_; }
  void Add(TMenuItem* item);
  void Remove(TMenuItem* item);
  TMenuItem* ParentItem() const { return parentItem_; }
  // The command identifier of this item in the menus the framework builds.
  UINT Command() const { return command_; }
  void Click();
  void SetParentComponent(TComponent* parent) override;
  // The menu this item belongs to, through its parent items; null for a loose item.
  TMenu* GetParentMenu() const;

  // The live framework item an owner-drawn menu item carries as its item data, or null
  // (data of menus the framework did not build, or of an item freed meanwhile).
  static TMenuItem* FromItemData(ULONG_PTR data);
  // Owner drawing: the framework proposes a size, then OnMeasureItem may change it. DrawItem
  // runs OnDrawItem, or draws the item plainly in the system's colours without one.
  void MeasureItem(HDC dc, int& width, int& height);
  // The framework's proposal alone, in the font selected into dc.
  void DefaultMeasureItem(HDC dc, int& width, int& height) const;
  void DrawItem(const TMenuDrawArgs& args);
  // The plain look alone.
  void DefaultDrawItem(const TMenuDrawArgs& args) const;

  TNotifyEvent OnClick;
  TMenuDrawItemEvent OnDrawItem;
  TMenuMeasureItemEvent OnMeasureItem;

 private:
  friend class TMenu;
  std::wstring caption_;
  int shortCut_ = 0;
  bool enabled_ = true;
  bool visible_ = true;
  bool checked_ = false;
  int imageIndex_ = -1;
  bool default_ = false;
  UINT command_;
  TMenu* menu_ = nullptr;  // set on the root item of a menu
  TMenuItem* parentItem_ = nullptr;
  std::vector<TMenuItem*> items_;
};

// What main and popup menus share: the root item, owner drawing and the image list.
class TMenu : public TComponent {
  VELMO_DECLARE_CLASS
 public:
  explicit TMenu(TComponent* owner);
  ~TMenu() override;

  TMenuItem& Items() { return *items_; }
  const std::vector<TMenuItem*>& ItemList() const { return items_->Items(); }
  // Owner-drawn menus are built with MFT_OWNERDRAW items whose item data is the TMenuItem,
  // so that WM_MEASUREITEM and WM_DRAWITEM reach whoever paints them.
  bool OwnerDraw() const { return ownerDraw_; }
  void SetOwnerDraw(bool v) { ownerDraw_ = v; }
  HIMAGELIST Images() const { return images_; }
  void SetImages(HIMAGELIST images) { images_ = images; }  // not owned
  TMenuItem* FindItem(UINT command) const;

 protected:
  void Build(HMENU menu) const;

 private:
  TMenuItem* items_;  // owned: root item without caption
  bool ownerDraw_ = false;
  HIMAGELIST images_ = nullptr;
};

// The screen's menu font (SPI_GETNONCLIENTMETRICS), bold for a menu's default item.
GdiObject<HFONT> CreateMenuFont(bool bold = false);

// Serves WM_MEASUREITEM and WM_DRAWITEM of owner-drawn framework menu items, whoever owns
// the menu; false for anything else.
bool DispatchMenuItemMessage(UINT msg, LPARAM lParam);

// The menu bar of a form (TCustomForm::SetMenu).
class TMainMenu : public TMenu {
  VELMO_DECLARE_CLASS
 public:
  explicit TMainMenu(TComponent* owner);
  ~TMainMenu() override;
  // The menu bar built from the items; remade by Rebuild.
  HMENU Handle();
  void Rebuild();

 private:
  HMENU handle_ = nullptr;
};

// A context menu. Items are owned by the form; the menu handle is made for each popup.
class TPopupMenu : public TMenu {
  VELMO_DECLARE_CLASS
 public:
  explicit TPopupMenu(TComponent* owner);
  ~TPopupMenu() override;
  // Shows the menu at screen coordinates and runs the chosen item.
  void Popup(int x, int y, HWND owner);
  // Runs the item with that shortcut; false when none has it.
  bool IsShortCut(int shortCut);
  // The menu currently shown by Popup (null otherwise).
  HMENU Handle() const { return shown_; }

 private:
  HMENU shown_ = nullptr;
};

VELMO_NAMED_CLASS(TTntMenuItem, TMenuItem)
VELMO_NAMED_CLASS(TTntPopupMenu, TPopupMenu)

}  // namespace ui
