#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <string>
#include <vector>

#include "ui/Component.h"

// Popup menus with shortcuts.

namespace ui {

// Shortcut values: the virtual key plus scShift, scCtrl, scAlt.
inline constexpr int scShift = 0x2000;
inline constexpr int scCtrl = 0x4000;
inline constexpr int scAlt = 0x8000;
std::wstring ShortCutToText(int shortCut);
// The shortcut of a key press with the current shift state.
int ShortCutFromKey(WPARAM key);

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

  const std::vector<TMenuItem*>& Items() const { return items_; }
  void Add(TMenuItem* item);
  void Remove(TMenuItem* item);
  TMenuItem* ParentItem() const { return parentItem_; }
  // The command identifier of this item in the menus the framework builds.
  UINT Command() const { return command_; }
  void Click();
  void SetParentComponent(TComponent* parent) override;

  TNotifyEvent OnClick;

 private:
  std::wstring caption_;
  int shortCut_ = 0;
  bool enabled_ = true;
  bool visible_ = true;
  bool checked_ = false;
  int imageIndex_ = -1;
  UINT command_;
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
