#pragma once

#include "skin/controls/SkinFaceControl.h"

// Up-down (spin) buttons: two halves, up and down or left and right, each drawn from the
// skin's UpDown.Vert or UpDown.Horz strip by its state (normal, pressed, disabled, hot) with
// its arrow from the glyph strip on top. An up-down embedded in an edit (buddy mode) keeps
// clear of the edit's skinned frame.
class TSkinUpDown : public TSkinFaceControl {
  VELMO_DECLARE_CLASS
 public:
  // Frames of one button in the strips.
  enum : int { kNormal = 1, kPressedFrame = 2, kDisabled = 3, kHotFrame = 4 };

  explicit TSkinUpDown(ui::TComponent* owner);

  // Set before attaching: the up-down sits inside an edit.
  void SetBuddyMode(bool on) { buddy_ = on; }
  bool BuddyMode() const { return buddy_; }
  bool Horizontal() const;
  // The two buttons' rectangles inside `area`: up (or left) first.
  void Halves(const RECT& area, RECT& first, RECT& second) const;

 protected:
  bool BeforeMessage(ui::TMessage& message) override;
  void AfterMessage(ui::TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;

 private:
  // The state of a button for the cursor where it is now.
  int ButtonState(const RECT& half, POINT cursor) const;
  void DrawButton(HDC dc, const RECT& half, int button, int state) const;
  // Where the buttons go: the window, or in buddy mode the part 3 pixels inside the edit.
  RECT ButtonArea(const RECT& rect) const;

  bool buddy_ = false;
};
