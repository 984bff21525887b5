#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/Component.h"
#include "ui/GdiObject.h"
#include "ui/WindowSubclass.h"

class TSkinData;
class TControlWrapper;
namespace ui {
class TControl;
class TWinControl;
class TCustomForm;
}  // namespace ui

// Takes over one top-level window (a framework form, a standard dialog "#32770", or any
// window the control manager decides to skin) and makes it look like the current skin: it
// subclasses the window procedure, answers the non-client messages itself (frame size, hit
// test, painting, activation, caption buttons, system menu), draws the menu bar into the
// frame, and wraps the child controls. The control manager creates one per skinned window,
// keeps it in its list and frees it.
//
// The class is written in several files, one concern each:
//   WinSkinForm.cpp          life cycle, hooking, activation, message stages, size and state
//   WinSkinFormFrame.cpp     frame metrics, hit test, painting, caption buttons, region
//   WinSkinFormSysMenu.cpp   system menu and keyboard access
//   WinSkinFormControls.cpp  which wrapper each child control gets
//   WinSkinFormMenus.cpp     the menu bar's menus and owner-drawn menu items
class TWinSkinForm : public ui::TComponent {
 public:
  // SkinState values.
  enum : int {
    kHooked = 0,      // hooked, not yet activated
    kActive = 1,      // the skinned frame is painted and answered
    kReskinning = 3,  // re-skinning after a skin change
    kDestroying = 4,  // WM_NCDESTROY in progress
    kFitting = 5,     // being fitted to the frame at activation
    kGone = 6,        // the window is gone; the control manager frees the object
  };

  explicit TWinSkinForm(ui::TComponent* owner);
  ~TWinSkinForm() override;

  // --- Set by the control manager before hooking ---------------------------------------
  HWND Handle() const { return handle_; }
  void SetHandle(HWND window) { handle_ = window; }
  const void* ManagerTag() const { return managerTag_; }
  void SetManagerTag(const void* tag) { managerTag_ = tag; }
  const std::wstring& Name() const { return name_; }
  void SetName(const std::wstring& name) { name_ = name; }

  // --- Taking over and giving back -----------------------------------------------------
  // For a framework form: events, AutoScroll, HookWindow, the framework hook, the colour.
  void HookForm(TSkinData& skinData, ui::TCustomForm& form);
  // For any window; a plain window uses only this.
  void HookWindow(TSkinData& skinData);
  // Gives the window back.
  void Unhook();
  // Gives the window back with its size, style, menu and region as before skinning.
  void Restore();

  // --- What control wrappers and the other skinners use --------------------------------
  TSkinData* SkinData() const { return skinData_; }
  // The framework form, or null for a plain window.
  ui::TCustomForm* Form() const { return form_; }
  int SkinState() const { return skinState_; }
  void SetSkinState(int state) { skinState_ = state; }
  // Frame and menu-bar skinning is on for this window.
  bool FrameOn() const { return frameOn_; }
  // The work canvas handed to control wrappers: a memory DC owned by this object.
  HDC ControlCanvas() const { return controlCanvas_.get(); }

  // The control wrappers made for this window; owned (freed at Unhook).
  // AddControl reports whether the wrapper was in the list already.
  bool AddControl(TControlWrapper* wrapper);
  void RemoveControl(TControlWrapper* wrapper);
  const std::vector<TControlWrapper*>& Controls() const { return controls_; }
  // The wrapper under the mouse in a plain (non-framework) window.
  TControlWrapper* HotControl() const { return hotControl_; }
  void SetHotControl(TControlWrapper* wrapper) { hotControl_ = wrapper; }

  // --- Child control classification (WinSkinFormControls.cpp) -------------------------
  // The walk at activation for a framework form.
  void SkinFormControls(ui::TCustomForm& form);
  // Decide for one control; `container` is the component whose children are walked.
  void ClassifyControl(ui::TControl& control, ui::TComponent* container);
  // The Skin3rd lookup; true when a line decided (found).
  bool ClassifyBySkin3rd(const std::wstring& className, ui::TControl& control);
  void WalkComponents(ui::TComponent& component);
  void WalkControls(ui::TWinControl& control);
  // The walk and the decision for windows no framework control stands behind.
  void SkinChildWindows(HWND window);
  void ClassifyWindow(HWND window);
  // The control answers WM_SKINQUERY with 1, or a wrapper in Controls wraps it.
  bool IsWrapped(HWND window) const;
  // Frees and drops the wrappers whose state is 6 (ended).
  void PurgeEndedControls();

 private:
  // Frees every wrapper, restoring those whose window still stands.
  void FreeControls();

  HWND handle_ = nullptr;
  const void* managerTag_ = nullptr;
  std::wstring name_;
  TSkinData* skinData_ = nullptr;
  ui::TCustomForm* form_ = nullptr;
  int skinState_ = kHooked;
  bool frameOn_ = false;
  std::vector<TControlWrapper*> controls_;
  TControlWrapper* hotControl_ = nullptr;
  ui::WindowSubclass subclass_;
  ui::MemoryDC controlCanvas_;
};
