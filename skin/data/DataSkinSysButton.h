#pragma once

#include "skin/data/DataSkinObject.h"

// One caption button; what its numbers mean is the frame painter's.
class TDataSkinSysButton : public TDataSkinObject {
 public:
  using TDataSkinObject::TDataSkinObject;
  std::int32_t Action = 0;
  std::int32_t Align = 0;
  std::int32_t XCoord = 0;
  std::int32_t YCoord = 0;
  std::int32_t CombineOp = 0;
  std::int32_t Visibility = 0;
  std::int32_t Visibility1 = 0;
};
