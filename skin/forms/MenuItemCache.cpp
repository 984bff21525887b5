#include "skin/forms/MenuItemCache.h"

namespace skin {

const ui::Bitmap* MenuItemCache::Find(const Key& key) const {
  for (const auto& [k, bitmap] : entries_)
    if (k == key) return &bitmap;
  return nullptr;
}

void MenuItemCache::Store(Key key, ui::Bitmap composed) {
  if (composed.Empty()) return;
  if (entries_.size() >= kMaxEntries) entries_.clear();
  entries_.emplace_back(std::move(key), std::move(composed));
}

}  // namespace skin
