#pragma once

#include "skin/data/DataSkinObject.h"

// An element with a second image (a tab's border, an up-down's glyphs, a frame edge's mask).
class TDataSkinBorder : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  ui::Bitmap Bitmap2;
};
