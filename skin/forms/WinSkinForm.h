#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/Bitmap.h"
#include "ui/Component.h"
#include "ui/Control.h"
#include "ui/GdiObject.h"
#include "ui/Messages.h"
#include "ui/WindowSubclass.h"

class TSkinData;
class TControlWrapper;
class TNCObject;
class TWinSysButton;
class TWinSkinMenu;
class TMenuBtn;
class TSkinManage;
namespace ui {
class TControl;
class TWinControl;
class TCustomForm;
class TMenu;
class TMenuItem;
class TPopupMenu;
class TTimer;
struct TMenuDrawArgs;
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
  // MDIKind values.
  enum : int { kPlainWindow = 0, kMDIFrame = 1, kMDIChild = 2 };
  // BorderKind values.
  enum : int { kSizable = 0, kSingle = 1, kNoCaption = 2, kDialogFrame = 3 };
  // WindowButtons bits.
  enum : int { kMaximizeBox = 1, kMinimizeBox = 2, kContextHelp = 4, kSystemMenu = 8 };
  // WindowState values.
  enum : int { kNormal = 0, kMaximized = 1, kMinimized = 2 };
  // The system menu popup's Tag.
  static constexpr int kSysMenuTag = 33333;

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
  bool Hooked() const { return subclass_.Installed(); }

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
  // True while the window is being taken over: the whole window is painted once when that
  // ends, so a wrapper invalidates its control rather than painting it at once.
  bool PaintsDeferred() const { return paintsDeferred_; }

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

  // --- Window facts taken at hook time and kept up to date -----------------------------
  bool Active() const { return active_; }
  int WindowState() const { return windowState_; }
  int BorderKind() const { return borderKind_; }
  int MDIKind() const { return mdiKind_; }
  int WindowButtons() const { return windowButtons_; }
  bool IsDialogClass() const { return isDialogClass_; }
  bool RightToLeft() const { return rightToLeft_; }
  HMENU SystemMenu() const { return systemMenu_; }
  HWND MDIClient() const { return mdiClient_; }

  // --- Frame (WinSkinFormFrame.cpp) ----------------------------------------------------
  int BorderLeft() const { return borderLeft_; }
  int TitleHeight() const { return titleHeight_; }
  int BorderRight() const { return borderRight_; }
  int BorderBottom() const { return borderBottom_; }
  int MenuBarHeight() const { return menuBarHeight_; }
  void SetMenuBarHeight(int height) { menuBarHeight_ = height; }
  const RECT& TextRect() const { return textRect_; }
  int CaptionButtonsRight() const { return captionButtonsRight_; }
  const std::vector<std::unique_ptr<TWinSysButton>>& SysButtons() const { return sysButtons_; }
  TNCObject* HotObject() const { return hotObject_; }
  void SetHotObject(TNCObject* object) { hotObject_ = object; }
  bool HasRegion() const { return hasRegion_; }

  // The skin has a title bar image and the window a caption: the frame is the skin's. Else
  // the window keeps the standard frame.
  bool SkinnedFrame() const { return borderKind_ != kNoCaption && titleHeight_ > 0; }
  // The frame on the screen is ours (not the system's, nor an MDI frame's caption).
  bool OwnsFrame() const {
    return frameOn_ && SkinnedFrame() && (!isChild_ || mdiKind_ == kMDIChild) &&
           !(mdiKind_ == kMDIChild && windowState_ == kMaximized);
  }
  // Cloaked (compositor) or hidden while skinning, until the first skinned paint.
  bool HeldWhileSkinning() const { return cloaked_ || hiddenWhileSkinning_; }
  // Derives the frame metrics from the skin and makes one caption button per skin entry.
  void BuildSysButtons();
  // Paints the whole frame into dc, or into the window DC when dc is null.
  void PaintFrame(HDC dc = nullptr);
  // Builds and sets the window region from the frame edges' key pixels.
  void UpdateRegion();
  void RemoveRegion();
  void LayoutButtons();
  bool IsButtonVisible(int index);
  // The caption button at a frame point (visible, with an action), or null.
  TWinSysButton* ButtonAt(POINT framePoint) const;
  // The caption button or menu-bar item at a frame point, or null.
  TNCObject* ObjectAt(POINT framePoint) const;
  POINT ToFramePoint(POINT screenPoint) const;
  // Runs the action of the hot caption button; `point` is the click's screen point.
  void ClickButton(POINT point);
  // Renders the window's small icon for the icon button.
  void RebuildIconBitmap();
  const ui::Bitmap& IconBitmap() const { return iconBitmap_; }
  // Draws one state frame of a caption button into dc (frame coordinates).
  void PaintButton(HDC dc, const TWinSysButton& button, int frame);
  // Repaints one caption button on the window over the title beneath it.
  void PaintButtonAlone(const TWinSysButton& button, int frame);

  // --- Size and state --------------------------------------------------------------------
  void MaximizeToggle();
  void MinimizeToggle();
  void RestoreWindow();
  // Resizes the window so that the skinned frame surrounds the client area: the one given,
  // or the present one (keepClient), or the framework form's.
  void FitWindow(bool keepClient, SIZE client = {});

  // --- System menu and keyboard (WinSkinFormSysMenu.cpp) ------------------------------
  // The WM_SYSCOMMAND keyboard part; true when the message was taken (result in `result`).
  bool KeyMenu(WPARAM wParam, LPARAM lParam, LRESULT& result);
  // CM_DIALOGCHAR through the framework hook.
  void DialogChar(ui::TMessage& message);
  void ShowSysMenu(POINT screenPoint);
  void BuildSysMenu();
  bool CanClose() const;
  ui::TPopupMenu* SysMenuPopup() const { return sysMenuPopup_.get(); }

  // --- Menu bar and owner-drawn menus (WinSkinFormMenus.cpp) --------------------------
  TWinSkinMenu* SkinMenu() const { return skinMenu_; }
  bool MenuTracking() const { return menuTracking_; }
  void SetMenuTracking(bool value) { menuTracking_ = value; }
  HMENU TrackedMenu() const { return trackedMenu_; }
  void SetTrackedMenu(HMENU menu) { trackedMenu_ = menu; }
  // Makes the menu bar for the window menu (hook time); sets MenuBarHeight when there is one.
  void CreateMenuBar();
  void FreeMenuBar();
  // The menu bar takes a new menu handle and is rebuilt (CM_MENUCHANGED, WM_MDISETMENU).
  void RebuildMenuBar(HMENU menu);
  // The window was given a menu again (CM_MENUCHANGED): the bar takes it when MenuUpdate is
  // on, and the system is kept from drawing it.
  void WindowMenuChanged();
  // The strip's height under a window this wide: as many menu rows as the bar's items need.
  int MenuBarHeightFor(int windowWidth) const;
  // Draws the menu bar into the strip of dc (frame coordinates); false: there is no bar.
  bool PaintMenuBar(HDC dc, const RECT& strip);
  TNCObject* MenuItemAt(POINT framePoint) const;
  bool IsMenuItem(const TNCObject* object) const;
  TNCObject* FirstMenuItem() const;
  // The first enabled, visible bar item whose caption has `key` as its accelerator.
  TNCObject* FindAccelerator(wchar_t key) const;
  // Opens the bar item's drop-down menu and runs it; while one is open, switches to this one.
  void OpenMenu(TNCObject* item);
  // A left click on the bar item, as the mouse would give it (posted).
  void ClickMenuButton(TNCObject* item);
  // Owner-drawn popup and main menu items of the form and its owned forms.
  void InstallItemPainters(ui::TComponent& component, bool on);
  void InstallMainMenuPainters(ui::TComponent& component, bool on);
  // The items of the system menu popup get the skinned item painter.
  void InstallSysMenuPainters(ui::TPopupMenu& menu);
  // Every item of a tool button's drop-down menu gets the skinned item painter.
  void InstallDropDownPainters(ui::TMenu& menu);
  // WM_MEASUREITEM and WM_DRAWITEM of menu items; false leaves them to the default.
  bool MeasureMenuItem(MEASUREITEMSTRUCT& item);
  bool DrawMenuItem(const DRAWITEMSTRUCT& item);
  // The item painters: measure and draw handlers of framework menu items.
  void MeasurePopupItem(ui::TMenuItem& item, HDC dc, int& width, int& height);
  void MeasureMainItem(ui::TMenuItem& item, HDC dc, int& width, int& height);
  void DrawMenuItem(ui::TMenuItem& item, const ui::TMenuDrawArgs& args);
  void DrawPlainMenuItem(ui::TMenuItem& item, const ui::TMenuDrawArgs& args);
  // An item of a menu the framework did not build, drawn like a framework item.
  void DrawRawMenuItem(const DRAWITEMSTRUCT& item);
  bool IsMDIChildMaximized() const;

  // A size grip scroll bar was created in this window.
  void SizeGripCreated(HWND grip) { sizeGrip_ = grip; }

 private:
  // Window procedures. The window's way in: nothing the skin raises (a bitmap GDI cannot make,
  // memory that ran out) leaves it; the message then goes to the previous procedure if it
  // has not yet.
  LRESULT ShieldedWndProc(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT SkinWndProc(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT Stage2(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT Stage3(UINT msg, WPARAM wParam, LPARAM lParam);
  void SkinFormProc(ui::TMessage& message);
  LRESULT ClientWndProc(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam);

  // Message handlers.
  void OnSkinActivate();
  void OnSkinRefresh();
  void OnReskinScroll(HWND window);
  LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam);
  LRESULT OnCtlColor(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT OnSize(WPARAM wParam, LPARAM lParam);
  LRESULT OnSysCommand(WPARAM wParam, LPARAM lParam);
  LRESULT OnMenuChanged(WPARAM wParam, LPARAM lParam);
  LRESULT OnNcCalcSize(WPARAM wParam, LPARAM lParam);
  LRESULT OnNcHitTest(WPARAM wParam, LPARAM lParam);
  LRESULT OnNcActivate(WPARAM wParam, LPARAM lParam);
  LRESULT OnNcPaint(WPARAM wParam, LPARAM lParam);
  LRESULT OnNcMouseMove(WPARAM wParam, LPARAM lParam);
  LRESULT OnNcLButtonDown(WPARAM wParam, LPARAM lParam);
  LRESULT OnNcLButtonUp(WPARAM wParam, LPARAM lParam);
  LRESULT OnNcLButtonDblClk(WPARAM wParam, LPARAM lParam);
  LRESULT OnNcRButtonDown(WPARAM wParam, LPARAM lParam);
  LRESULT OnSkinMenuClick(LPARAM lParam);
  void OnHoverTimer();

  void ReadWindowState();
  // After a skin change: the menu bar goes to the frame or back to the system as the new
  // skin's frame wants, and the window keeps the client area it had under the old skin.
  void Reframe();
  void SetHoverTimer(bool on);
  // Hides (or shows) WS_SYSMENU, so that the default frame code never draws its buttons.
  void SetSysMenuStyleBit(bool show);
  // Maximised, the window covers its monitor's work area exactly (the system's answer is
  // made for the standard frame, whose edges it pushes off the monitor).
  void FitMaximizedToWorkArea(MINMAXINFO& info) const;
  void FollowCompositorFrame();
  void ReleaseCompositor();
  void FreeControls();
  void ReleaseWindow(bool restore);
  TSkinManage* Manager() const;
  // Menu bar tracking.
  void TrackBarMenu(TMenuBtn& button);
  void SwitchMenu(int index);
  void OnMenuFilter(const MSG& msg);
  static LRESULT CALLBACK MenuFilterHook(int code, WPARAM wParam, LPARAM lParam);
  // Makes every item of a bar menu owner-drawn (kept to be undone when the menu goes back).
  void MakeOwnerDrawn(HMENU menu);
  void RestoreOwnerDrawn();
  // The bar's drop-down menus hold this raw item (by command) or this menu.
  bool BarMenuHolds(HMENU menu) const;
  bool BarMenuHoldsCommand(UINT command) const;
  // The menu is drawn mirrored: a bar menu of a right-to-left window, or a right-to-left item.
  bool MenuIsRightToLeft(HMENU menu, UINT command) const;
  // Draw and measure handlers of framework items (popup or main menu measuring).
  std::function<void(ui::TMenuItem&, const ui::TMenuDrawArgs&)> ItemPainter();
  std::function<void(ui::TMenuItem&, HDC, int&, int&)> ItemMeasurer(bool mainMenu);
  // A framework item of the form's main menu.
  bool IsMainMenuItem(const ui::TMenuItem& item) const;
  // Frame painting pieces.
  void PaintEdge(HDC dc, const RECT& target, int edge, bool vertical);
  void PaintTitle(HDC dc, const RECT& titleRect);
  void PaintCaptionText(HDC dc, const RECT& titleRect);
  std::wstring ReadCaption() const;

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
  ui::WindowSubclass clientSubclass_;
  ui::MemoryDC controlCanvas_;

  bool redrawn_ = false;
  bool paintsDeferred_ = false;
  bool handled_ = false;
  ui::TWndMethod oldFormProc_;
  bool formHooked_ = false;
  ui::GdiObject<HFONT> captionFont_;
  bool activeFlag_ = false;
  std::unique_ptr<ui::TTimer> hoverTimer_;
  std::wstring captionSuffix_ = L"  ";
  std::wstring captionPrefix_ = L" ";
  std::wstring windowClass_;
  bool savedMenuUpdate_ = true;
  SIZE clientAtSkinChange_{};  // the client area under the skin before the last change
  DWORD lastSysMenuTick_ = 0;
  bool sysMenuShown_ = false;
  DWORD doubleClickTime_ = 0;
  HWND ownerWindow_ = nullptr;
  int borderLeft_ = 0, titleHeight_ = 0, borderRight_ = 0, borderBottom_ = 0;
  RECT windowRect_{};
  RECT textRect_{};
  SIZE ncExtra_{};
  int menuBarHeight_ = 0;
  bool menuTracking_ = false;
  bool rightToLeft_ = false;
  bool sizable_ = false;
  bool unicodeWindow_ = true;
  bool isDialogClass_ = false;
  bool isChild_ = false;
  std::shared_ptr<ui::TPopupMenu> sysMenuPopup_;  // shared with a menu loop that runs it
  bool sysMenuOpen_ = false;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  bool* passedOn_ = nullptr;  // while a message is in hand: set once Default ran for it
  HWND mdiClient_ = nullptr;
  HMENU windowMenu_ = nullptr;
  HMENU systemMenu_ = nullptr;
  HMENU trackedMenu_ = nullptr;
  int savedColor_ = 0;
  DWORD style_ = 0;
  int captionButtonsRight_ = 0;
  TNCObject* hotObject_ = nullptr;
  bool hasRegion_ = false;
  bool cloaked_ = false;
  bool hiddenWhileSkinning_ = false;
  TWinSkinMenu* skinMenu_ = nullptr;  // owned; made and freed by WinSkinFormMenus.cpp
  int pendingMenu_ = -1;              // the bar item whose menu opens after the open one
  // Item types of bar menus before they were made owner-drawn, per menu.
  std::map<HMENU, std::vector<UINT>> ownerDrawnMenus_;
  std::vector<std::unique_ptr<TWinSysButton>> sysButtons_;
  ui::Bitmap iconBitmap_;
  HICON iconHandle_ = nullptr;  // the window's (or its class's) own; not ours to destroy
  // The off-screen frame: the parts around the client area (or the whole window).
  ui::Bitmap frameParts_[4];
  ui::Bitmap titleBackground_;  // the title as painted before its buttons
  SIZE frameSize_{};
  SIZE regionSize_{};
  bool active_ = true;
  int mdiKind_ = kPlainWindow;
  int borderKind_ = kSingle;
  int windowButtons_ = 0;
  int windowState_ = kNormal;
  bool framePainting_ = true;  // off while CM_MENUCHANGED runs the default
  HWND sizeGrip_ = nullptr;
};
