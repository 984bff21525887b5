#pragma once

#include <windows.h>

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
  UINT command_;
  TMenuItem* parentItem_ = nullptr;
  std::vector<TMenuItem*> items_;
};

// A context menu. Items are owned by the form; the menu handle is made for each popup.
class TPopupMenu : public TComponent {
  VELMO_DECLARE_CLASS
 public:
  explicit TPopupMenu(TComponent* owner);
  ~TPopupMenu() override;

  TMenuItem& Items() { return *items_; }
  const std::vector<TMenuItem*>& ItemList() const { return items_->Items(); }
  // Shows the menu at screen coordinates and runs the chosen item.
  void Popup(int x, int y, HWND owner);
  // Runs the item with that shortcut; false when none has it.
  bool IsShortCut(int shortCut);
  // The menu currently shown by Popup (null otherwise).
  HMENU Handle() const { return shown_; }

 private:
  TMenuItem* items_;  // owned: root item without caption
  HMENU shown_ = nullptr;
};

VELMO_NAMED_CLASS(TTntMenuItem, TMenuItem)
VELMO_NAMED_CLASS(TTntPopupMenu, TPopupMenu)

}  // namespace ui
