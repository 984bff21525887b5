#pragma once

#include "skin/controls/ScrollBarPainter.h"
#include "skin/controls/SkinControl.h"

// The vertical scroll bar of a combo box's drop-down list, painted straight into the list
// window's frame (the list is a popup, so no overlay can lie over it). Dragging its thumb is
// done here; the other parts are left to the system, shown hot and pressed as an overlay's.
class TComboxScrollBar : public TSkinControl {
  VELMO_DECLARE_CLASS
 public:
  explicit TComboxScrollBar(ui::TComponent* owner);

  // Paints the bar into the list's frame now.
  void DrawBar();
  bool Dragging() const { return dragging_; }
  // The part under the mouse or being pressed (ScrollBarLook::Part).
  int Part() const { return part_; }

 protected:
  bool BeforeMessage(ui::TMessage& message) override;
  void AfterMessage(ui::TMessage& message) override;

 private:
  // The list's vertical bar: in window coordinates, with the thumb along it.
  bool ReadBar(SCROLLBARINFO& info, RECT& bar) const;
  // The bar's look now, without the drag.
  ScrollBarLook Look(const SCROLLBARINFO& info, const RECT& bar) const;
  // The part at a screen point of the bar, or kNone.
  int PartAt(POINT screen) const;
  // Tracks the mouse from a press on the thumb until the button goes up.
  void DragThumb(POINT screen);

  int arrow_ = 0;
  bool dragging_ = false;
  bool pressed_ = false;  // an arrow or the track is held
  int dragThumbStart_ = 0;
  int part_ = ScrollBarLook::kNone;
};
