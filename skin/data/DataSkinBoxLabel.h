#pragma once

#include "skin/data/DataSkinObject.h"

// The group box's caption background.
class TDataSkinBoxLabel : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  std::int32_t BackgroundLeftShift = 0;
  std::int32_t BackgroundRightShift = 0;
  std::int32_t BackgroundAlignment = 0;
};
