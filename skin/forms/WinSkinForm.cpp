#include "skin/forms/WinSkinForm.h"

#include <algorithm>

#include "skin/forms/ControlWrapper.h"

TWinSkinForm::TWinSkinForm(ui::TComponent* owner) : ui::TComponent(owner) {}

TWinSkinForm::~TWinSkinForm() { Unhook(); }

void TWinSkinForm::HookForm(TSkinData& skinData, ui::TCustomForm& form) {
  form_ = &form;
  HookWindow(skinData);
}

void TWinSkinForm::HookWindow(TSkinData& skinData) { skinData_ = &skinData; }

void TWinSkinForm::Unhook() {
  FreeControls();
  subclass_.Remove();
}

void TWinSkinForm::Restore() { Unhook(); }

bool TWinSkinForm::AddControl(TControlWrapper* wrapper) {
  if (std::find(controls_.begin(), controls_.end(), wrapper) != controls_.end()) return true;
  controls_.push_back(wrapper);
  return false;
}

void TWinSkinForm::RemoveControl(TControlWrapper* wrapper) {
  std::erase(controls_, wrapper);
  if (hotControl_ == wrapper) hotControl_ = nullptr;
}

void TWinSkinForm::FreeControls() {
  // Each wrapper is taken from the front; freeing it unregisters it (RemoveControl).
  while (!controls_.empty()) {
    TControlWrapper* wrapper = controls_.front();
    if (wrapper->StateCode() != 6) wrapper->RestoreControl();
    RemoveControl(wrapper);
    delete wrapper;
  }
  hotControl_ = nullptr;
}

void TWinSkinForm::PurgeEndedControls() {
  for (size_t i = controls_.size(); i-- > 0;) {
    TControlWrapper* wrapper = controls_[i];
    if (wrapper->StateCode() == 6) {
      RemoveControl(wrapper);
      delete wrapper;
    }
  }
}
