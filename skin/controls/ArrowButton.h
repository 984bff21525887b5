#pragma once

#include "ui/ExtCtrls.h"

struct SkinRecords;

// The skin's drop-down button laid over a date-time picker's own: the combo arrow picture
// (hot while the mouse is over it), and a press that reaches the picker at the same point,
// so that the picker opens its calendar.
class TArrowButton : public ui::TCustomControl {
  VELMO_DECLARE_CLASS
 public:
  // `picker` is the window the button lies in (it need not be a framework control).
  TArrowButton(ui::TComponent* owner, HWND picker, const SkinRecords* records);

  bool Hot() const { return hot_; }

 protected:
  HWND ParentWindow() override { return picker_; }
  void WndProc(ui::TMessage& message) override;
  void PaintWindow(HDC dc) override;

 private:
  HWND picker_;
  const SkinRecords* records_;
  bool hot_ = false;
};
