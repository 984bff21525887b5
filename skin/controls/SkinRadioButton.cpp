#include "skin/controls/SkinRadioButton.h"

#include "skin/controls/PropertyAccess.h"
#include "skin/data/SkinData.h"

VELMO_NAMED_CLASS_INFO(TSkinRadioButton, TSkinCheckBox)

TSkinRadioButton::TSkinRadioButton(ui::TComponent* owner) : TSkinCheckBox(owner) {}

const ui::Bitmap* TSkinRadioButton::BoxImage() const {
  return Records() && Records()->Buttons ? &Records()->Buttons->RadioBitmap : nullptr;
}

int TSkinRadioButton::FrameCount() const {
  return Records() && Records()->Buttons ? Records()->Buttons->RadioButtonFrame : 1;
}

int TSkinRadioButton::RadioFrame(int frameCount, bool checked, bool disabled) {
  const int frame = (checked ? 2 : 1) + (disabled ? 2 : 0);
  return frameCount == 8 ? GroupedFrame(frame) : frame;
}

int TSkinRadioButton::BoxFrame() const {
  const bool checked = SendMessageW(WindowHandle(), BM_GETCHECK, 0, 0) == BST_CHECKED ||
                       skin::BoolProperty(FrameworkControl(), L"Checked");
  return RadioFrame(FrameCount(), checked, !enabled_);
}
