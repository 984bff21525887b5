#pragma once

#include <windows.h>

#include <memory>

#include "ui/BitmapImage.h"
#include "ui/StdCtrls.h"

// Controls the framework paints itself: panels, group boxes, labels, images, speed buttons;
// and the timer.

namespace ui {

// A windowed control with a window class of its own that paints in PaintWindow.
class TCustomControl : public TWinControl {
  VELMO_DECLARE_CLASS
 public:
  explicit TCustomControl(TComponent* owner);

 protected:
  void CreateParams(TCreateParams& params) override;
};

enum class TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

class TCustomPanel : public TCustomControl {
  VELMO_DECLARE_CLASS
 public:
  explicit TCustomPanel(TComponent* owner);
  TBevelCut BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TBevelCut v);
  TBevelCut BevelInner() const { return bevelInner_; }
  void SetBevelInner(TBevelCut v);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v);
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle v);
  void AdjustClientRect(RECT& rect) const override;

 protected:
  void PaintWindow(HDC dc) override;

 private:
  TBevelCut bevelOuter_ = TBevelCut::bvRaised;
  TBevelCut bevelInner_ = TBevelCut::bvNone;
  TAlignment alignment_ = TAlignment::taCenter;
  TBorderStyle borderStyle_ = TBorderStyle::bsNone;
};
VELMO_NAMED_CLASS(TPanel, TCustomPanel)
VELMO_NAMED_CLASS(TTntPanel, TPanel)

class TCustomGroupBox : public TCustomControl {
  VELMO_DECLARE_CLASS
 public:
  explicit TCustomGroupBox(TComponent* owner);
  void AdjustClientRect(RECT& rect) const override;

 protected:
  void PaintWindow(HDC dc) override;
};
VELMO_NAMED_CLASS(TGroupBox, TCustomGroupBox)
VELMO_NAMED_CLASS(TTntGroupBox, TGroupBox)

class TCustomLabel : public TGraphicControl {
  VELMO_DECLARE_CLASS
 public:
  explicit TCustomLabel(TComponent* owner);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v);
  void Paint(HDC dc) override;
  void Loaded() override;

 protected:
  void WndProc(TMessage& message) override;

 private:
  void AdjustBounds();
  TAlignment alignment_ = TAlignment::taLeftJustify;
  bool autoSize_ = true;
  bool wordWrap_ = false;
};
VELMO_NAMED_CLASS(TLabel, TCustomLabel)
VELMO_NAMED_CLASS(TTntLabel, TLabel)

class TImage : public TGraphicControl {
  VELMO_DECLARE_CLASS
 public:
  explicit TImage(TComponent* owner);
  TBitmapImage* Picture() const { return picture_.get(); }
  bool Stretch() const { return stretch_; }
  void SetStretch(bool v);
  bool Center() const { return center_; }
  void SetCenter(bool v);
  void Paint(HDC dc) override;

 private:
  std::unique_ptr<TBitmapImage> picture_;
  bool stretch_ = false;
  bool center_ = false;
};
VELMO_NAMED_CLASS(TTntImage, TImage)

// A windowless button; flat ones show their edge only while the mouse is over them.
class TSpeedButton : public TGraphicControl {
  VELMO_DECLARE_CLASS
 public:
  explicit TSpeedButton(TComponent* owner);
  TBitmapImage* Glyph() const { return glyph_.get(); }
  int NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int v);
  bool Flat() const { return flat_; }
  void SetFlat(bool v);
  bool Down() const { return down_; }
  void SetDown(bool v);
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int v) { groupIndex_ = v; }
  bool AllowAllUp() const { return allowAllUp_; }
  void SetAllowAllUp(bool v) { allowAllUp_ = v; }
  int Margin() const { return margin_; }
  void SetMargin(int v);
  int Spacing() const { return spacing_; }
  void SetSpacing(int v);
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout v);
  bool Pressed() const { return pressed_; }
  void Paint(HDC dc) override;

 protected:
  void WndProc(TMessage& message) override;

 private:
  std::unique_ptr<TBitmapImage> glyph_;
  int numGlyphs_ = 1;
  bool flat_ = false;
  bool down_ = false;
  bool pressed_ = false;
  int groupIndex_ = 0;
  bool allowAllUp_ = false;
  int margin_ = -1;
  int spacing_ = 4;
  TButtonLayout layout_ = TButtonLayout::blGlyphLeft;
};
VELMO_NAMED_CLASS(TTntSpeedButton, TSpeedButton)

// Raises OnTimer every Interval milliseconds while enabled, on the creating thread.
class TTimer : public TComponent {
  VELMO_DECLARE_CLASS
 public:
  explicit TTimer(TComponent* owner);
  ~TTimer() override;
  int Interval() const { return interval_; }
  void SetInterval(int v);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  TNotifyEvent OnTimer;

 private:
  static LRESULT CALLBACK WndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  void Update();
  HWND window_ = nullptr;
  int interval_ = 1000;
  bool enabled_ = true;
};

}  // namespace ui
