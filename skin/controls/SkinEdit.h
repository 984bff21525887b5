#pragma once

#include "skin/controls/SkinControl.h"

class TSkinUpDown;

// Edits, memos without scroll bars and spin edits: the edit paints its text itself; the
// wrapper replaces the border with the skin's (a shadow-coloured line with white inside) and
// skins the spin button embedded in a spin edit. The form skinner can ask the edit to paint
// into a device context of its own (WM_SKINPAINTEDIT).
class TSkinEdit : public TSkinControl {
  VELMO_DECLARE_CLASS
 public:
  explicit TSkinEdit(ui::TComponent* owner);

  // The wrapper of the embedded spin button, once found.
  TSkinUpDown* UpDown() const { return upDown_; }

 protected:
  bool BeforeMessage(ui::TMessage& message) override;
  void AfterMessage(ui::TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;
  void Notification(ui::TComponent* component, ui::TOperation operation) override;

 private:
  // Wraps the first child window that is a spin button, when the skin skins them.
  void FindUpDown();

  TSkinUpDown* upDown_ = nullptr;  // owned (a component of ours)
};
