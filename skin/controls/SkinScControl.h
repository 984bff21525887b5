#pragma once

#include <memory>

#include "skin/controls/SkinControl.h"
#include "skin/controls/WScrollbar.h"

// Scroll bar controls: one overlay over the whole control.
class TSkinScControl : public TSkinControl {
  VELMO_DECLARE_CLASS
 public:
  explicit TSkinScControl(ui::TComponent* owner);
  ~TSkinScControl() override;

  void AttachControl(TWinSkinForm& form, TSkinData& skinData, bool applyColour,
                     HDC canvas) override;
  void AttachWindow(HWND window, TSkinData& skinData, TWinSkinForm& form, HDC canvas) override;
  void RestoreControl() override;

  TWScrollbar* Bar() const { return bar_.get(); }

 protected:
  void AfterMessage(ui::TMessage& message) override;

 private:
  void Place();
  std::unique_ptr<TWScrollbar> bar_;
};
