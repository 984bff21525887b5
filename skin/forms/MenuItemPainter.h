#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <string>

#include "skin/forms/SkinManage.h"

struct SkinRecords;
namespace ui {
class TMenuItem;
}

// Drawing one owner-drawn menu item from the skin: the popup's background under it, the
// MenuItem element (frame 4 selected, frame 1 otherwise), the separator cut from frame 2,
// and the content (glyph or check mark, caption, shortcut), mirrored for right-to-left menus.
namespace skin {

// What an item shows, taken from a framework item or from a raw menu item.
struct MenuItemView {
  std::wstring caption;  // "-" is a separator
  std::wstring shortCut;
  bool enabled = true;
  bool checked = false;
  bool isDefault = false;
  int imageIndex = -1;
  HIMAGELIST images = nullptr;
  bool rightToLeft = false;
  bool IsLine() const { return caption == L"-"; }
  bool operator==(const MenuItemView&) const = default;
};
MenuItemView ViewOf(const ui::TMenuItem& item);
// A raw item of `menu` by command: its text (caption and, after a tab, its shortcut), or "-"
// when it has none; its state.
MenuItemView ViewOfRawItem(HMENU menu, UINT command);

enum class MenuItemLook {
  Skinned,  // the MenuItem element over the popup's background
  Plain,    // the skin's Hilight or Menu colour (a skin without MenuItem)
  Raw,      // as Skinned, but a separator is the normal element with an etched line
};

struct MenuItemTarget {
  HDC dc = nullptr;
  RECT rect{};
  UINT state = 0;  // ODS_ flags
  TSkinManage::PopupBackground background;
};

void PaintMenuItem(const SkinRecords& records, const MenuItemView& view,
                   const MenuItemTarget& target, MenuItemLook look);

}  // namespace skin
