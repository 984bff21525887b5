#pragma once

#include <windows.h>

#include <memory>

#include "skin/controls/ScrollBarPainter.h"

class TSkinControl;
namespace ui {
class TWinControl;
}

// The overlay that hides one system scroll bar: a small child window of the target's parent,
// placed exactly over the bar and just above the target, drawn from the skin. It scrolls
// nothing itself: a press on it is handed to the target as a press on its own scroll bar at
// the same screen point, so the system's tracking runs, and the scroll notifications the
// target then gets tell the overlay which part to show pressed (SetPart).
class TWScrollbar {
 public:
  enum Kind : int {
    kHorizontal = 0,  // the target's horizontal window scroll bar
    kVertical = 1,    // the target's vertical window scroll bar
    kControl = 2      // a scroll bar control
  };

  // The owner wrapper gives the skin.
  explicit TWScrollbar(TSkinControl& owner);
  ~TWScrollbar();
  TWScrollbar(const TWScrollbar&) = delete;
  TWScrollbar& operator=(const TWScrollbar&) = delete;

  void AttachToControl(ui::TWinControl& control, int kind);
  void AttachToWindow(HWND target, int kind);
  // Places the overlay over the target's bar, or hides it when the bar is not shown.
  void UpdatePosition(HWND target);
  void Conceal();
  void Invalidate();
  // Repaints (or places again) a shown overlay whose bar changed since it was painted: a
  // control may change its scroll range without repainting anything.
  void Refresh();
  // The part a scroll notification names (its scroll code).
  void SetPart(int part);
  void SetEnabled(bool enabled);

  HWND Handle() const { return window_; }
  HWND Target() const { return target_; }
  int Kind() const { return kind_; }
  bool Shown() const { return shown_; }
  int Part() const { return part_; }
  bool Pressed() const { return pressed_; }

 private:
  // The bar as the system has it: screen rectangle, thumb along the axis, state.
  struct Bar {
    RECT screen{};
    int thumbStart = 0, thumbEnd = 0;
    bool disabled = false;
    bool invisible = false;
  };
  static LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  void Create(HWND target, int kind);
  bool ReadBar(Bar& bar) const;
  bool ReadControlBar(Bar& bar) const;
  int Along(POINT client) const;
  void OnPaint();
  void OnMouseMove(POINT point);
  void OnButtonDown(POINT point);
  void OnButtonUp(POINT point);
  LPARAM TargetPoint(POINT client) const;

  TSkinControl& owner_;
  HWND window_ = nullptr;
  HWND target_ = nullptr;
  ui::TWinControl* targetControl_ = nullptr;  // kind 2 with a framework control
  int kind_ = kVertical;
  int orientation_ = 1;  // 0 horizontal, 1 vertical
  int arrow_ = 0;
  int length_ = 0;
  RECT barRect_{};  // in the target's client coordinates
  int part_ = ScrollBarLook::kNone;
  bool pressed_ = false;
  POINT pressPoint_{};
  int pressThumbStart_ = 0;
  bool shown_ = false;
  Bar painted_;  // the bar as last painted
  // False once the overlay is gone: the system's tracking runs inside a press.
  std::shared_ptr<bool> alive_;
};
