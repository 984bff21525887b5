#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/Component.h"
#include "ui/Font.h"
#include "ui/Messages.h"

namespace ui {

class TControl;
class TWinControl;
class TPopupMenu;

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

enum class TMouseButton { mbLeft, mbRight, mbMiddle };
// Shift state of a mouse event, as bits.
enum TShiftStateBits : int {
  ssShift = 1,
  ssAlt = 2,
  ssCtrl = 4,
  ssLeft = 8,
  ssRight = 16,
  ssMiddle = 32,
  ssDouble = 64
};
// The shift state of a mouse message's key flags (MK_SHIFT, MK_LBUTTON, ...).
int KeysToShiftState(WPARAM keys);
using TMouseEvent =
    std::function<void(TControl& sender, TMouseButton button, int shift, int x, int y)>;

// A control's message handler. WindowProc starts as the control's own WndProc; the skin
// engine saves it, installs its own, calls the saved one for what it does not handle, and
// puts it back when it lets go.
using TWndMethod = std::function<void(TMessage&)>;

// Something visible with bounds inside a parent: a window of its own (TWinControl) or a
// windowless control painted by its parent (TGraphicControl).
class TControl : public TComponent {
  VELMO_DECLARE_CLASS
 public:
  explicit TControl(TComponent* owner);
  ~TControl() override;

  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* parent);
  void SetParentComponent(TComponent* parent) override;

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
  void SetTop(int v) { SetBounds(left_, v, width_, height_); }
  void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
  void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
  virtual void SetBounds(int left, int top, int width, int height);
  RECT BoundsRect() const { return {left_, top_, left_ + width_, top_ + height_}; }
  virtual int ClientWidth() const { return width_; }
  virtual int ClientHeight() const { return height_; }
  virtual void SetClientSize(int width, int height);

  TAlign Align() const { return align_; }
  void SetAlign(TAlign align);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  std::wstring Caption() const { return GetText(); }
  void SetCaption(const std::wstring& text) { SetText(text); }
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool v);
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool v);
  TFont* Font() const { return font_.get(); }
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);
  TPopupMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TPopupMenu* menu) { popupMenu_ = menu; }

  virtual std::wstring GetText() const { return text_; }
  virtual void SetText(const std::wstring& text);

  // The message handler chain (see TWndMethod) and a direct call into it.
  TWndMethod WindowProc;
  LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);

  virtual void Invalidate();
  virtual void Repaint();
  void Click();
  // A mouse button went down on the control (client coordinates); raises OnMouseDown.
  // Also called by whoever takes a press away from the control (the skin engine).
  void MouseDown(TMouseButton button, int shift, int x, int y);
  bool MouseInControl() const { return mouseInControl_; }

  TNotifyEvent OnClick;
  TNotifyEvent OnResize;
  TMouseEvent OnMouseDown;

 protected:
  // The control's own message handling; ends in DefaultHandler.
  virtual void WndProc(TMessage& message);
  virtual void DefaultHandler(TMessage& message);
  virtual void FontChanged();
  virtual void Resized();
  void SetVisibleFlag(bool v) { visible_ = v; }
  void ParentColorChanged();
  void ParentFontChanged();

  std::wstring text_;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;

 private:
  friend class TWinControl;
  TWinControl* parent_ = nullptr;
  TAlign align_ = TAlign::alNone;
  bool visible_ = true;
  bool enabled_ = true;
  bool parentColor_ = true;
  bool parentFont_ = true;
  bool transparent_ = false;
  bool mouseInControl_ = false;
  TColor color_ = clBtnFace;
  std::unique_ptr<TFont> font_;
  TPopupMenu* popupMenu_ = nullptr;
};

// The window class the framework registers for a control class: the Unicode controls'
// classes carry their library's suffix ("TTntBitBtn.UnicodeClass"), others are the class
// name ("TButton").
std::wstring FrameworkWindowClass(const TPersistent& control);
// The Win32 class a framework window class is built on ("BUTTON" for
// "TTntBitBtn.UnicodeClass", any case), or empty when the framework registered no such
// class or built it on no system class.
std::wstring BaseWindowClass(std::wstring_view windowClass);
// The class name of any window.
std::wstring WindowClassName(HWND window);

// The parameters of the window a windowed control creates.
struct TCreateParams {
  std::wstring windowClass;  // the framework's class name for it ("TTntEdit.UnicodeClass")
  std::wstring baseClass;    // the Win32 class it is built on ("EDIT"); empty: a plain window
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
  DWORD exStyle = 0;
  UINT classStyle = CS_DBLCLKS;
};

// A control with a window of its own, over a real Win32 window class. The window carries
// its framework object in the property ControlAtomName(); notifications it sends to its
// parent come back to it reflected as CN_BASE + message.
class TWinControl : public TControl {
  VELMO_DECLARE_CLASS
 public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  HWND Handle();  // creates the window (and its parents') on first use
  HWND WindowHandle() const { return handle_; }
  bool HandleAllocated() const { return handle_ != nullptr; }
  void HandleNeeded() { Handle(); }
  void DestroyHandle();
  void RecreateWnd();  // posts CM_RECREATEWND; the window is made again with its state

  void SetBounds(int left, int top, int width, int height) override;
  void Loaded() override;
  int ClientWidth() const override;
  int ClientHeight() const override;
  virtual RECT ClientRect() const;
  // The area children are aligned in (the client rectangle less any frame of its own).
  virtual void AdjustClientRect(RECT& rect) const;
  virtual void AlignControls();

  const std::vector<TControl*>& Controls() const { return controls_; }
  int ControlCount() const { return static_cast<int>(controls_.size()); }
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);

  int TabOrder() const;
  void SetTabOrder(int order);
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool v) { tabStop_ = v; }
  // Windowed children in tab order (this control's own children only).
  std::vector<TWinControl*> TabList() const;
  bool ParentBackground() const { return parentBackground_; }
  void SetParentBackground(bool v);

  bool Focused() const;
  virtual bool CanFocus() const;
  void SetFocus();

  std::wstring GetText() const override;
  void SetText(const std::wstring& text) override;
  void Invalidate() override;
  void Repaint() override;

  // The framework object of a window of this thread, or null.
  static TWinControl* FromHandle(HWND window);
  // "ControlOfs" + module instance + creating thread id in upper-case hex: the instance as
  // wide as a pointer (8 digits, 16 in the 64-bit build), the thread id in 8.
  static const std::wstring& ControlAtomName();
  // Paints the windowless children into dc (clipped, in their own coordinates).
  void PaintControls(HDC dc, TControl* first = nullptr);

 protected:
  virtual void CreateParams(TCreateParams& params);
  virtual void CreateWnd();
  virtual void CreateWindowHandle(const TCreateParams& params);
  // The parent (for a child) or owner (for a top-level window) of the window to create.
  virtual HWND ParentWindow();
  virtual void DestroyWnd();
  // Called once the window exists: push the control's state into it.
  virtual void InitializeWindow() {}
  // Called before the window goes: pull state that lives only in the window.
  virtual void SaveWindowState() {}
  void WndProc(TMessage& message) override;
  void DefaultHandler(TMessage& message) override;
  void FontChanged() override;
  // Custom-drawn controls paint here (WM_PAINT already begun).
  virtual void PaintWindow(HDC dc);
  virtual void Resized() override;
  // Fills the background (WM_ERASEBKGND); false leaves it to the window class.
  virtual bool EraseBackground(HDC dc);
  HBRUSH BackgroundBrush();

  DWORD windowStyle_ = 0;  // extra style bits a subclass keeps across re-creation

 private:
  static LRESULT CALLBACK StdWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  void MainWndProc(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool ReflectToChild(TMessage& message);
  void HandleMouse(TMessage& message);
  void UpdateZOrder();

  HWND handle_ = nullptr;
  WNDPROC defWndProc_ = nullptr;
  std::vector<TControl*> controls_;
  std::vector<TWinControl*> tabList_;
  bool tabStop_ = false;
  bool parentBackground_ = true;
  bool recreating_ = false;
  bool aligning_ = false;
  GdiObject<HBRUSH> brush_;
  TColor brushColor_ = clNone;
};

// A windowless control: it has no window, its parent paints it and hands it its mouse
// messages (with CM_MOUSEENTER and CM_MOUSELEAVE as the mouse comes and goes).
class TGraphicControl : public TControl {
  VELMO_DECLARE_CLASS
 public:
  explicit TGraphicControl(TComponent* owner);
  ~TGraphicControl() override;

  // Draws the control at the origin of dc, which is clipped to the control.
  virtual void Paint(HDC dc) = 0;

 protected:
  void WndProc(TMessage& message) override;
};

// The form that contains a control (its top-level framework window), or null.
class TCustomForm;
TCustomForm* GetParentForm(TControl* control);

}  // namespace ui
