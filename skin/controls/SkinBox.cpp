#include "skin/controls/SkinBox.h"

VELMO_NAMED_CLASS_INFO(TSkinBox, TSkinControl)

TSkinBox::TSkinBox(ui::TComponent* owner) : TSkinControl(owner) {}

void TSkinBox::AttachControl(TWinSkinForm& form, TSkinData& skinData, bool applyColour,
                             HDC canvas) {
  TSkinControl::AttachControl(form, skinData, applyColour, canvas);
  // Only the colour is the skin's: the container's messages stay its own.
  UnhookControl();
}
