#pragma once

#include "skin/forms/NCObject.h"
#include "ui/Bitmap.h"

class TDataSkinSysButton;

// A caption button: one entry of the skin's SysButtons, placed and painted by the form
// skinner's frame code.
class TWinSysButton : public TNCObject {
 public:
  // Actions with a meaning of their own; any other is the application's (WM_SKINUSERBUTTON).
  enum : int {
    kClose = 0,
    kMaximize = 1,
    kMinimize = 2,
    kIcon = 3,
    kHelp = 4,
    kChildMinimize = 7,
    kChildRestore = 8,
    kChildClose = 9,
    kSysMenu = 11,
    kSysMenu2 = 12,
    kMaximize2 = 22,
    kMinimize2 = 23,
    kChildMinimize2 = 60,
    kChildRestore2 = 61,
    kChildClose2 = 62,
  };

  TWinSysButton(TWinSkinForm& form, const TDataSkinSysButton& data) : TNCObject(form), Data(data) {}

  // Repaints the button alone into the window DC, in its present state.
  void Paint() override;
  bool IsIcon() const;
  // The state frame to draw: the button's state, or the disabled frame.
  int PaintFrame() const;

  // The strip the button is drawn from: the skin's, or for an icon button without an image
  // of its own a copy of the window icon (kept here, so that a skin shared by windows with
  // different icons is never written to).
  const ui::Bitmap& Image() const;
  int FrameCount() const;

  const TDataSkinSysButton& Data;
  ui::Bitmap IconImage;
};
