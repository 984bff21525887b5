#pragma once

#include "skin/controls/SkinFaceControl.h"

struct SkinRecords;

// Size grips (scroll-bar windows that are no tab stop): the skin's face with the skin's grip
// picture in the corner.
class TSkinSizer : public TSkinFaceControl {
  VELMO_DECLARE_CLASS
 public:
  explicit TSkinSizer(ui::TComponent* owner);

  // The size of the skin's grip picture (the fifth ExtraImages frame); 0 x 0 without one.
  static SIZE GripSize(const SkinRecords* records);
  // The grip picture in the bottom-right corner of `area`.
  static void DrawGrip(HDC dc, const RECT& area, const SkinRecords* records);

 protected:
  void DrawSkin(HDC dc, const RECT& rect) override;
};
