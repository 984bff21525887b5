#pragma once

#include <windows.h>

class TWinSkinForm;

// One clickable thing drawn in a skinned frame (a caption button, a menu-bar item). Only
// one object of a form is hot at a time: the form skinner's HotObject.
class TNCObject {
 public:
  // State values.
  enum : int { kNormal = 1, kPressed = 2, kHot = 3 };

  explicit TNCObject(TWinSkinForm& form) : Form(form) {}
  virtual ~TNCObject() = default;
  TNCObject(const TNCObject&) = delete;
  TNCObject& operator=(const TNCObject&) = delete;

  virtual void MouseDown();
  virtual void MouseUp();
  virtual void MouseEnter();
  virtual void MouseLeave();
  virtual void Paint() {}

  TWinSkinForm& Form;
  RECT BoundsRect{};  // frame coordinates
  bool Visible = false;
  int State = kNormal;
  bool Enabled = true;
};
