#pragma once

#include "skin/controls/SkinControl.h"

// List-view headers and header controls: each item drawn from the skin's Headerbar image
// (the item under the mouse hot), with its image and text laid out by its format.
class TSkinHeader : public TSkinControl {
  VELMO_DECLARE_CLASS
 public:
  explicit TSkinHeader(ui::TComponent* owner);

  int HotItem() const { return hot_; }

 protected:
  bool BeforeMessage(ui::TMessage& message) override;
  void AfterMessage(ui::TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;

 private:
  bool HasHeaderImage() const;
  int ItemAt(POINT point) const;

  int hot_ = -1;
  ui::Bitmap face_;
};
