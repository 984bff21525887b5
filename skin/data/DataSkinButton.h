#pragma once

#include "skin/data/DataSkinObject.h"

// The push-button element with the check-box and radio-button images.
class TDataSkinButton : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  ui::Bitmap CheckBitmap;
  ui::Bitmap RadioBitmap;
  std::int32_t RadioButtonFrame = 0;
  std::int32_t CheckButtonFrame = 0;
  bool HasNormalColour2 = false;
  bool HasMouseOverColour2 = false;
  bool HasPressedColour2 = false;
};
