#pragma once

#include <windows.h>

#include <utility>
#include <vector>

#include "skin/forms/MenuItemPainter.h"
#include "ui/Bitmap.h"

namespace skin {

// The items of one popup window as they were last composed, so that painting an item again
// in the same state (a repaint, the selection coming back) copies it instead of composing
// the background, the element, the glyph and the text anew. It lives with the popup's
// skinner, and is emptied whenever the popup's background is made again.
class MenuItemCache {
 public:
  // Everything a composed item depends on.
  struct Key {
    MenuItemView view;
    MenuItemLook look = MenuItemLook::Skinned;
    int width = 0, height = 0;
    UINT state = 0;
    int backgroundX = 0, backgroundY = 0;  // where the item lies on the popup's background
    const void* records = nullptr;
    HBITMAP element = nullptr;  // the skin's MenuItem image
    bool operator==(const Key&) const = default;
  };

  const ui::Bitmap* Find(const Key& key) const;
  void Store(Key key, ui::Bitmap composed);
  void Clear() { entries_.clear(); }

 private:
  // A popup holds a few dozen items in two states at most; beyond that it starts again.
  static constexpr size_t kMaxEntries = 128;
  std::vector<std::pair<Key, ui::Bitmap>> entries_;
};

}  // namespace skin
