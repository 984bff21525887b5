#pragma once

#include "skin/controls/SkinFaceControl.h"

// Progress bars drawn from the skin's Progress element: the track, and the filled part from
// the fill frame (or, for a skin whose Progress Style is 1, from the Progress.Chunk image,
// tiled or stretched). A vertical bar is composed as a horizontal one and turned, so that it
// fills from the bottom.
class TSkinProgress : public TSkinFaceControl {
  VELMO_DECLARE_CLASS
 public:
  explicit TSkinProgress(ui::TComponent* owner);

  // How much of a bar `length` pixels long is filled for the position in [low, high].
  static int FilledLength(int length, int position, int low, int high);

 protected:
  bool DrawsFace() const override;
  void DrawSkin(HDC dc, const RECT& rect) override;

 private:
  // The horizontal bar into a face of its size.
  void DrawBar(HDC dc, int width, int height, int filled) const;
};
