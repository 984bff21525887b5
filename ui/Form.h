#pragma once

#include <windows.h>

#include "ui/Control.h"

namespace ui {

class TMainMenu;

enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum class TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum class TPosition {
  poDesigned,
  poDefault,
  poDefaultPosOnly,
  poDefaultSizeOnly,
  poScreenCenter,
  poDesktopCenter,
  poMainFormCenter,
  poOwnerFormCenter
};
enum class TCloseAction { caNone, caHide, caFree, caMinimize };

// A top-level window. Its Left/Top/Width/Height are the outer bounds on the screen. Forms
// are owned by the application window (so a second copy can find the last active one).
class TCustomForm : public TWinControl {
  VELMO_DECLARE_CLASS
 public:
  explicit TCustomForm(TComponent* owner);
  ~TCustomForm() override;

  TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle v);
  TFormStyle FormStyle() const { return formStyle_; }
  void SetFormStyle(TFormStyle v);
  TPosition Position() const { return position_; }
  void SetPosition(TPosition v) { position_ = v; }
  int ClientWidthProp() const { return ClientWidth(); }
  void SetClientWidthProp(int v) { SetClientSize(v, ClientHeight()); }
  int ClientHeightProp() const { return ClientHeight(); }
  void SetClientHeightProp(int v) { SetClientSize(ClientWidth(), v); }
  bool AutoScroll() const { return autoScroll_; }
  void SetAutoScroll(bool v) { autoScroll_ = v; }
  int ClientWidth() const override;
  int ClientHeight() const override;
  RECT FrameRect() const;
  void SetClientSize(int width, int height) override;

  void Show();
  void Hide() { SetVisible(false); }
  void Close();
  // Frees the window's handle once the messages in flight are handled (CM_RELEASE).
  void Release();
  bool Active() const;

  TWinControl* ActiveControl() const { return activeControl_; }
  void SetActiveControl(TWinControl* control);
  // Moves the focus to the next (or previous) control in tab order, across containers.
  void SelectNext(TWinControl* current, bool forward);
  std::vector<TWinControl*> TabOrderList() const;
  // A key with shift state: true when a popup menu of the focused control chain took it.
  bool IsShortCut(int shortCut);
  // Called by controls when they get the focus; sends CM_FOCUSCHANGED to the form.
  void FocusChanged(TWinControl* control);
  // The main menu handle of the form; changing it sends CM_MENUCHANGED.
  void SetMenuHandle(HMENU menu);
  HMENU MenuHandle() const { return menu_; }
  // The form's main menu object (its menu bar), or null.
  TMainMenu* Menu() const { return mainMenu_; }
  void SetMenu(TMainMenu* menu);

  // Events of the layout: creation (after the layout was read), close and show.
  TNotifyEvent OnCreate;
  TNotifyEvent OnShow;
  TNotifyEvent OnDestroy;
  std::function<void(TCloseAction&)> OnClose;

  // Called once the layout was read into the form (runs OnCreate).
  void AfterConstruction();
  // The handler of a layout's event by its name ("TntFormCreate"), or empty.
  virtual TNotifyEvent MethodAddress(std::wstring_view name);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWindowHandle(const TCreateParams& params) override;
  void WndProc(TMessage& message) override;
  void InitializeWindow() override;
  HWND ParentWindow() override;

 private:
  TFormBorderStyle borderStyle_ = TFormBorderStyle::bsSizeable;
  TFormStyle formStyle_ = TFormStyle::fsNormal;
  TPosition position_ = TPosition::poDesigned;
  TWinControl* activeControl_ = nullptr;
  bool autoScroll_ = false;
  bool positioned_ = false;
  HMENU menu_ = nullptr;
  TMainMenu* mainMenu_ = nullptr;
};

class TForm : public TCustomForm {
  VELMO_DECLARE_CLASS
 public:
  using TCustomForm::TCustomForm;
};

class TTntForm : public TForm {
  VELMO_DECLARE_CLASS
 public:
  using TForm::TForm;
};

}  // namespace ui
