#pragma once

#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <string>
#include <vector>

#include "ui/BitmapImage.h"
#include "ui/ExtCtrls.h"
#include "ui/StdCtrls.h"

// Tiny control classes for kinds this framework does not have: each publishes what such a
// control publishes, so that the classification and the wrappers reach it by class name and
// property names as they would reach the real one.
namespace testcontrols {

// A windowed control over a common control's window class.
class TCommonControl : public ui::TWinControl {
 public:
  TCommonControl(ui::TComponent* owner, const wchar_t* baseClass, DWORD style)
      : ui::TWinControl(owner), base_(baseClass), style_(style) {}

 protected:
  void CreateParams(ui::TCreateParams& p) override;

 private:
  const wchar_t* base_;
  DWORD style_;
};

class TTrackBar : public TCommonControl {
  VELMO_DECLARE_CLASS
 public:
  explicit TTrackBar(ui::TComponent* owner)
      : TCommonControl(owner, TRACKBAR_CLASSW, TBS_AUTOTICKS) {}
};

class TDateTimePicker : public TCommonControl {
  VELMO_DECLARE_CLASS
 public:
  explicit TDateTimePicker(ui::TComponent* owner) : TCommonControl(owner, DATETIMEPICK_CLASSW, 0) {}
};

// A media player: the buttons it shows, enables and colours as set texts; it notes presses.
class TMediaPlayer : public ui::TCustomControl {
  VELMO_DECLARE_CLASS
 public:
  using ui::TCustomControl::TCustomControl;
  std::wstring visible = L"[btPlay,btPause,btStop,btNext,btPrev,btStep,btBack,btRecord,btEject]";
  std::wstring enabled = L"[btPlay,btPause,btStop]";
  std::wstring coloured = L"[btPlay]";
  std::vector<POINT> presses;

 protected:
  void WndProc(ui::TMessage& m) override;
};

// An old-style tab set with three tabs.
class TTabSet : public ui::TCustomControl {
  VELMO_DECLARE_CLASS
 public:
  using ui::TCustomControl::TCustomControl;
  int index = 1;
};

// Glyph properties as other libraries' check boxes publish them (the grouped kind's class);
// writes to UseCustomGlyphs are noted.
class TGlyphProperties : public ui::TPersistent {
  VELMO_DECLARE_CLASS
 public:
  ui::TBitmapImage glyphs;
  int transparent = 0;
  bool use = false;
  std::vector<bool> useWrites;
};

// Check boxes and radio buttons of other libraries: the glyph properties on the control
// (CustomGlyphs), or grouped in its Properties (Glyph).
class TVendorBox : public ui::TButtonControl {
 public:
  using ui::TButtonControl::TButtonControl;
  TGlyphProperties own;
};
class TRzCheckBox : public TVendorBox {
  VELMO_DECLARE_CLASS
 public:
  using TVendorBox::TVendorBox;
};
class TRzRadioButton : public TRzCheckBox {
  VELMO_DECLARE_CLASS
 public:
  using TRzCheckBox::TRzCheckBox;
};
class TcxCheckBox : public TVendorBox {
  VELMO_DECLARE_CLASS
 public:
  using TVendorBox::TVendorBox;
};

// A page control of another library that draws its tabs from two pictures.
class TAdvPageControl : public ui::TCustomControl {
  VELMO_DECLARE_CLASS
 public:
  using ui::TCustomControl::TCustomControl;
  ui::TBitmapImage normal, active;
};

}  // namespace testcontrols
