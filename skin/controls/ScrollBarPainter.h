#pragma once

#include <windows.h>

#include "ui/Bitmap.h"

struct SkinRecords;

// How a skinned scroll bar looks at one moment: the overlays over window scroll bars and the
// scroll bar painted into a combo box's drop-down list share it.
struct ScrollBarLook {
  // Parts, equal to the system's scroll codes; the end-of-scroll code matches none.
  enum Part : int {
    kNone = -1,
    kFirstArrow = 0,
    kSecondArrow = 1,
    kPageBefore = 2,
    kPageAfter = 3,
    kThumb = 5
  };
  bool vertical = true;
  SIZE size{};         // the bar's size
  int arrow = 0;       // arrow length along the axis (the system's arrow size)
  int thumbStart = 0;  // along the axis, from the bar's start
  int thumbEnd = 0;
  int part = kNone;      // under the mouse, or being scrolled
  bool pressed = false;  // the mouse went down on the bar
  bool disabled = false;

  int Length() const { return vertical ? size.cy : size.cx; }
  // The part at a distance along the axis.
  int HitTest(int along) const;
};

// Composes the bar from the skin's Scrollbar image (23 frames: arrows and grips), the track
// (HorzScroll, VertScroll) and the thumb (HorzScrollThumb, VertScrollThumb) on ButtonFace.
// Empty when the skin has no Scrollbar image or no bitmap could be made.
ui::Bitmap PaintScrollBar(const SkinRecords& records, const ScrollBarLook& look);
