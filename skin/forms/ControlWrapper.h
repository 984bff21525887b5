#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "ui/Component.h"

class TSkinData;
class TWinSkinForm;
namespace ui {
class TWinControl;
}

// Settings the classification gives a wrapper before attaching it (the rows that say
// "mode 2", "extended-combo flag", "glyph property PngImage", "single-bar mode").
struct WrapperSettings {
  int mode = 0;
  bool extendedCombo = false;  // TSkinComBox of an extended combo box
  bool singleBar = false;      // TSkinScrollbar that skins one bar only
  std::wstring imageKind;      // TSkinBitButton/TSkinSpeedButton: the glyph property's name
};

// What the form skinner and the classification know of a control wrapper. The wrappers
// themselves live a folder up (skin/controls) and register their classes by name at start-up,
// so that no include runs upward. A wrapper is owned by the control it wraps (or, for a
// window no framework control stands behind, by whoever the classification names) and
// registers itself with its form skinner when attached.
class TControlWrapper : public ui::TComponent {
 public:
  using ui::TComponent::TComponent;

  virtual void Configure(const WrapperSettings& settings) = 0;
  // Attach to the framework control that owns the wrapper.
  virtual void AttachControl(TWinSkinForm& form, TSkinData& skinData, bool applyColour,
                             HDC canvas) = 0;
  // Attach to a window that no framework control represents.
  virtual void AttachWindow(HWND window, TSkinData& skinData, TWinSkinForm& form, HDC canvas) = 0;
  // Scroll-bar wrappers attach to a control with window scroll bars through this.
  virtual void AttachScrolling(ui::TWinControl& control, TSkinData& skinData, TWinSkinForm& form,
                               HDC canvas) {
    (void)control;
    AttachControl(form, skinData, false, canvas);
  }
  // Undo what attaching changed on the control (colour, ParentBackground).
  virtual void RestoreControl() = 0;
  // The skin was replaced: re-apply colours and repaint.
  virtual void SkinChanged() = 0;
  // The mouse left the wrapped window (hover tracking of plain windows).
  virtual void MouseLeft() {}
  // The control's colour is replaced by the skin's (the attachment's colour flag); an
  // application's own wrapper is attached with it.
  virtual bool ApplyColour() const { return false; }
  // 0 new, 1 attached, 6 the wrapped window has been destroyed.
  virtual int StateCode() const = 0;
  virtual HWND WindowHandle() const = 0;
};

using WrapperFactory = TControlWrapper* (*)(ui::TComponent* owner);

namespace skin {

// Makes wrappers of `className` ("TSkinButton", ...) available to the classification.
void RegisterWrapperClass(std::wstring_view className, WrapperFactory factory);
// A new, unattached wrapper of the class owned by `owner`, or null while no such class is
// registered: rows whose wrapper is not there leave their control alone.
TControlWrapper* CreateWrapper(std::wstring_view className, ui::TComponent* owner);

}  // namespace skin
