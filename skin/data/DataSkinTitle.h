#pragma once

#include "skin/data/DataSkinObject.h"

// The caption text's background. Margins carry the text offsets: Left = TextShift,
// Top = TextShiftVert, Right = TextRightClip.
class TDataSkinTitle : public TDataSkinObject {
 public:
  static constexpr Colour kNoColour = 0x1FFFFFFF;
  using TDataSkinObject::TDataSkinObject;
  std::int32_t TextAlignment = 0;
  std::int32_t Textbackground = 0;
  std::int32_t FontHeight = 0;
  std::int32_t TXTBackleft = 0;
  std::int32_t TXTBackRight = 0;
  Colour ActiveText = kNoColour;
  Colour InActiveText = kNoColour;
};
