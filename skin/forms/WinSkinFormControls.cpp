#include "skin/forms/ControlWrapper.h"
#include "skin/forms/SkinMessages.h"
#include "skin/forms/WinSkinForm.h"

// Which wrapper each child control of a skinned window gets.

void TWinSkinForm::SkinFormControls(ui::TCustomForm& form) { (void)form; }

void TWinSkinForm::ClassifyControl(ui::TControl& control, ui::TComponent* container) {
  (void)control;
  (void)container;
}

bool TWinSkinForm::ClassifyBySkin3rd(const std::wstring& className, ui::TControl& control) {
  (void)className;
  (void)control;
  return false;
}

void TWinSkinForm::WalkComponents(ui::TComponent& component) { (void)component; }

void TWinSkinForm::WalkControls(ui::TWinControl& control) { (void)control; }

void TWinSkinForm::SkinChildWindows(HWND window) { (void)window; }

void TWinSkinForm::ClassifyWindow(HWND window) { (void)window; }

bool TWinSkinForm::IsWrapped(HWND window) const {
  if (SendMessageW(window, skin::WM_SKINQUERY, 0, 0) == 1) return true;
  for (TControlWrapper* wrapper : controls_)
    if (wrapper->WindowHandle() == window) return true;
  return false;
}
