#pragma once

#include <windows.h>

#include <string>

#include "skin/forms/NCObject.h"

class TSkinData;
class TWinSkinMenu;
namespace ui {
class TMenuItem;
}

// One top-level item of a skinned menu bar, drawn in the frame's menu strip.
class TMenuBtn : public TNCObject {
 public:
  TMenuBtn(TWinSkinForm& form, TWinSkinMenu& bar, int index)
      : TNCObject(form), Index(index), bar_(bar) {}

  // Repaints the item alone over the bar's background, in its present state.
  void Paint() override;

  ui::TMenuItem* FrameworkItem = nullptr;  // when the menu is a framework menu
  int Index;                               // position in the bar
  std::wstring Caption;
  bool ItemEnabled = true;  // menu-bar items do not use the inherited Enabled
  HMENU SubMenu = nullptr;  // the drop-down menu, or null
  UINT Command = 0;

 private:
  TWinSkinMenu& bar_;
};
