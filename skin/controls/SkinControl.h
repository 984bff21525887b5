#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "skin/forms/ControlWrapper.h"
#include "ui/Bitmap.h"
#include "ui/Control.h"
#include "ui/Messages.h"
#include "ui/WindowSubclass.h"

class TDataSkinObject;
struct SkinRecords;

// Base of the control wrappers. A wrapper does not replace its control: it takes every
// message of it first (through the framework control's WindowProc, or through a subclass of
// a bare window), leaves the control's behaviour alone, and paints the control's face from
// the skin. It is owned by the control it wraps and registers with its form skinner.
//
// Messages run through Dispatch: WM_SKINSTATE switches skinning on and off; while on,
// BeforeMessage decides whether the control's own handler runs, and AfterMessage follows it.
class TSkinControl : public TControlWrapper {
  VELMO_DECLARE_CLASS
 public:
  // Bits of State().
  enum : unsigned char { kHot = 1, kPressed = 2 };
  // StateCode() values.
  enum : int { kNew = 0, kAttached = 1, kEnded = 6 };

  explicit TSkinControl(ui::TComponent* owner);
  ~TSkinControl() override;

  void Configure(const WrapperSettings& settings) override;
  void AttachControl(TWinSkinForm& form, TSkinData& skinData, bool applyColour,
                     HDC canvas) override;
  void AttachWindow(HWND window, TSkinData& skinData, TWinSkinForm& form, HDC canvas) override;
  void RestoreControl() override;
  void SkinChanged() override;
  bool ApplyColour() const override { return applyColour_; }
  int StateCode() const override { return stateCode_; }
  // The wrapped window: a framework control's current one (it may have made a new one).
  HWND WindowHandle() const override;

  // Paints the whole window into dc, or into the window's own DC when dc is null.
  virtual void PaintWindow(HDC dc);
  // A graphic control repaints itself; a window is invalidated and updated at once. While the
  // form skinner defers paints (it is taking the window over), both are only invalidated.
  void Repaint();

  bool SkinningActive() const { return active_; }
  unsigned char State() const { return state_; }
  int Mode() const { return mode_; }
  TSkinData* SkinData() const { return skinData_; }
  TWinSkinForm* Form() const { return form_; }
  // The wrapped windowed control, or null for a bare window.
  ui::TWinControl* Control() const { return control_; }
  // The wrapped windowless control (speed buttons), or null.
  ui::TControl* GraphicControl() const { return graphic_; }
  // Whichever framework control is wrapped.
  ui::TControl* FrameworkControl() const;

 protected:
  // Stays true while the wrapper lives: taken before calling code that may free it.
  std::shared_ptr<bool> AliveFlag() const { return alive_; }
  // True: the control's own handler is to run (then AfterMessage).
  virtual bool BeforeMessage(ui::TMessage& message);
  virtual void AfterMessage(ui::TMessage& message);
  // Draws the face into dc; rect is the window rectangle moved to the origin.
  virtual void DrawSkin(HDC dc, const RECT& rect);
  // WM_SKINSTATE switched skinning on or off; for members that change the control itself.
  virtual void SkinningSwitched(bool active) { (void)active; }

  // For members that attach their own way: keeps the skin, form skinner and canvas and
  // registers with the form skinner; MarkAttached ends an attachment.
  void Register(TWinSkinForm& form, TSkinData& skinData, HDC canvas);
  void MarkAttached();
  // The wrapped window, where a member reads it again.
  void SetWindow(HWND window) { handle_ = window; }

  void Notification(ui::TComponent* component, ui::TOperation operation) override;

  // The messages' way in. Nothing the skin raises (a bitmap GDI cannot make, memory that ran
  // out) leaves it: the message then goes to the control's own handler if it has not yet.
  void Dispatch(ui::TMessage& message);
  void DispatchSkinned(ui::TMessage& message);
  // Passes the message to the control's own handler or the window's previous procedure.
  void CallPrevious(ui::TMessage& message);
  // Puts the dispatcher in front of a framework control's handler (a windowed or graphic
  // control: Control() or GraphicControl() is then set), and takes it out again.
  void HookControl(ui::TControl& control);
  void UnhookControl();
  // WM_PAINT answered by the wrapper: into wParam's DC, or between BeginPaint and EndPaint.
  void PaintNow(const ui::TMessage& message);
  // A press that the wrapper takes away from the control still reaches its OnMouseDown.
  void ForwardMouseDown(const ui::TMessage& message);

  // Focus, enabled state and caption, read again before each paint.
  void RefreshState();

  // --- Skin values ----------------------------------------------------------------------
  const SkinRecords* Records() const;
  bool HasOption(int option) const;
  bool HasControls(int controlType) const;
  COLORREF FaceColour() const;    // ButtonFace
  COLORREF ShadowColour() const;  // ButtonShadow
  COLORREF ButtonTextColour() const;
  // The control's "Font", or the window's font for a bare window.
  HFONT ControlFont() const;
  // The control's font colour, or the skin's ButtonText for a bare window.
  COLORREF FontColour() const;
  bool RightToLeft() const;

  // --- Drawing primitives ---------------------------------------------------------------
  // Frame `frame` (from 1) of a strip of frameCount frames stretched to rect, magenta clear.
  static void DrawStripFrame(HDC dc, const RECT& rect, int frameCount, int frame,
                             const ui::Bitmap& image);
  // Nine-part drawing of one frame of the record's image with its margins, Tile and Trans.
  static void DrawStateImage(HDC dc, const RECT& rect, const TDataSkinObject& record,
                             int frameCount, int frame, bool vertical = false);
  // The record has an image to draw.
  static bool HasImage(const TDataSkinObject* record);
  void FillFace(HDC dc, const RECT& rect) const;
  // The parent control's "Color", or ButtonFace.
  void FillParentColour(HDC dc, const RECT& rect) const;
  // What the parent shows under the control (its background and painting).
  void PaintParentBackground(HDC dc, const RECT& rect) const;
  // The caption centred (or spanning the width), with "||" as a line break and the focus
  // rectangle around it while focused.
  void DrawCaption(HDC dc, RECT rect, bool centre, std::wstring caption) const;
  // The focus rectangle around where the caption goes with these DrawText flags.
  void DrawTextFocus(HDC dc, UINT flags, const RECT& rect) const;
  // The first "||" of a caption turned into a line break.
  static std::wstring CaptionLines(std::wstring caption);

  unsigned char state_ = 0;
  HDC canvas_ = nullptr;
  unsigned char handled_ = 0;
  bool enabled_ = true;
  bool focused_ = false;
  std::wstring caption_;
  bool unicode_ = true;
  RECT windowRect_{};
  int mode_ = 0;
  WrapperSettings settings_;

 private:
  ui::WindowSubclass subclass_;
  bool active_ = true;
  TSkinData* skinData_ = nullptr;
  HWND handle_ = nullptr;
  ui::TWndMethod savedHandler_;
  ui::TControl* hooked_ = nullptr;
  ui::TWinControl* control_ = nullptr;
  ui::TControl* graphic_ = nullptr;
  bool applyColour_ = false;
  int savedColour_ = 0;
  bool colourSaved_ = false;
  bool savedParentColour_ = false;
  bool attached_ = false;
  int stateCode_ = kNew;
  TWinSkinForm* form_ = nullptr;
  bool backgroundSwitched_ = false;
  // False once the wrapper is gone: a handler it called may have freed it.
  std::shared_ptr<bool> alive_;
  // While a message is in hand: set once it reached the control's own handler.
  bool* passedOn_ = nullptr;
};
