#pragma once

#include "skin/controls/SkinControl.h"

class TArrowButton;

// Date-time pickers: the skin's arrow button over the picker's own drop-down button, and the
// skin's border (a shadow line with a white one inside) around a picker that has one.
class TSkinDateTime : public TSkinControl {
  VELMO_DECLARE_CLASS
 public:
  explicit TSkinDateTime(ui::TComponent* owner);

  void AttachControl(TWinSkinForm& form, TSkinData& skinData, bool applyColour,
                     HDC canvas) override;
  void AttachWindow(HWND window, TSkinData& skinData, TWinSkinForm& form, HDC canvas) override;

  TArrowButton* Arrow() const { return arrow_; }

 protected:
  void AfterMessage(ui::TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;
  void Notification(ui::TComponent* component, ui::TOperation operation) override;
  void SkinningSwitched(bool active) override;

 private:
  void MakeArrow();
  // Where the arrow button goes in the picker's client area.
  RECT ArrowBounds() const;

  TArrowButton* arrow_ = nullptr;  // owned
};
