#include "skin/forms/WinSysButton.h"

#include <algorithm>

#include "skin/data/DataSkinSysButton.h"
#include "skin/forms/WinSkinForm.h"

bool TWinSysButton::IsIcon() const { return Data.Action == kIcon || Data.Action == kSysMenu; }

const ui::Bitmap& TWinSysButton::Image() const {
  return IconImage.Empty() ? Data.Bitmap : IconImage;
}

int TWinSysButton::FrameCount() const {
  return IconImage.Empty() && !IsIcon() ? std::max(1, Data.FrameCount) : 1;
}

int TWinSysButton::PaintFrame() const {
  if (!Enabled) return FrameCount() > 3 ? 4 : 1;
  if (State == kHot && Data.Visibility == 100) return 4;
  return State;
}

void TWinSysButton::Paint() {
  if (!Visible || Image().Empty() || !IsWindow(Form.Handle())) return;
  Form.PaintButtonAlone(*this, PaintFrame());
}
