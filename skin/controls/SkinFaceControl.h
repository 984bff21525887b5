#pragma once

#include "skin/controls/SkinControl.h"

// A wrapper that draws the whole face of its control: the control never paints itself or
// its background while the wrapper can draw (WM_PAINT, WM_PRINTCLIENT and WM_ERASEBKGND are
// answered here, the face through DrawSkin).
class TSkinFaceControl : public TSkinControl {
  VELMO_DECLARE_CLASS
 public:
  using TSkinControl::TSkinControl;

 protected:
  // The wrapper can draw the face now (its skin image is there).
  virtual bool DrawsFace() const { return true; }
  bool BeforeMessage(ui::TMessage& message) override;
};
