#pragma once

#include <cstdint>
#include <string>

#include "skin/data/Colours.h"
#include "skin/data/Margins.h"
#include "ui/Bitmap.h"

// One element of a skin: a strip of FrameCount equal state frames, the margins that keep
// their size when it is stretched, and how it is drawn. Painters read these, never the INI.
class TDataSkinObject {
 public:
  explicit TDataSkinObject(std::string name = {}) : Name(std::move(name)) {}
  virtual ~TDataSkinObject() = default;
  TDataSkinObject(TDataSkinObject&&) = default;
  TDataSkinObject& operator=(TDataSkinObject&&) = default;

  ::Margins
      Margins;  // Left = LeftWidth, Top = TopHeight, Right = RightWidth, Bottom = BottomHeight
  ui::Bitmap Bitmap;
  std::int32_t Trans = 0;
  std::int32_t Tile = 0;
  std::string Name;
  std::int32_t FrameCount = 0;
  std::int32_t Style = 0;
  std::int32_t NormalColour = 0, MouseOverColour = 0, PressedColour = 0;  // -1: not given
  Colour NormalColour2 = 0, MouseOverColour2 = 0, PressedColour2 = 0;
};
