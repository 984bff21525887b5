#include "skin/forms/WinSkinForm.h"

#include <windowsx.h>

#include <algorithm>
#include <utility>

#include "skin/data/SkinData.h"
#include "skin/data/SkinImages.h"
#include "skin/data/SkinMetrics.h"
#include "skin/forms/CompositorFrame.h"
#include "skin/forms/ControlWrapper.h"
#include "skin/forms/SkinManage.h"
#include "skin/forms/SkinMessages.h"
#include "skin/forms/WinSysButton.h"
#include "ui/CodePage.h"
#include "ui/ExtCtrls.h"
#include "ui/Form.h"
#include "ui/Menus.h"

namespace {

// Themed Windows redraws the caption and the frame behind our back with these.
constexpr UINT kThemedCaptionRedraw = 0x00AE;
constexpr UINT kThemedFrameRedraw = 0x00AF;
constexpr UINT kHoverInterval = 250;

bool FrameShown(int state) {
  return state == TWinSkinForm::kActive || state == TWinSkinForm::kReskinning;
}

int StateFromPlacement(HWND window) {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (!GetWindowPlacement(window, &placement)) return TWinSkinForm::kNormal;
  switch (placement.showCmd) {
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
      return TWinSkinForm::kMinimized;
    case SW_SHOWMAXIMIZED:
      return TWinSkinForm::kMaximized;
    default:
      return TWinSkinForm::kNormal;
  }
}

}  // namespace

TWinSkinForm::TWinSkinForm(ui::TComponent* owner)
    : ui::TComponent(owner),
      doubleClickTime_(GetDoubleClickTime()),
      captionFont_(skin::SkinCaptionFont()) {}

TWinSkinForm::~TWinSkinForm() {
  *alive_ = false;
  ReleaseWindow(false);
  sysButtons_.clear();
  hoverTimer_.reset();
  // Out of the manager's list, so that it never reaches a freed skinner (the framework form
  // frees us as an owned component when it goes before the manager purges).
  if (TSkinManage* manager = Manager()) {
    manager->RemoveFormSkinner(this);
    if (manager->MDIFrame() == this) manager->SetMDIFrame(nullptr, nullptr);
  }
}

TSkinManage* TWinSkinForm::Manager() const { return TSkinManage::Instance(); }

LRESULT TWinSkinForm::Default(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (passedOn_) *passedOn_ = true;
  return subclass_.CallPrevious(msg, wParam, lParam);
}

LRESULT TWinSkinForm::ShieldedWndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  bool passed = false;
  bool* const outer = std::exchange(passedOn_, &passed);
  const std::shared_ptr<bool> alive = alive_;
  LRESULT result = 0;
  try {
    result = SkinWndProc(msg, wParam, lParam);
  } catch (...) {
    if (*alive && !passed) {
      try {
        result = Default(msg, wParam, lParam);
      } catch (...) {
      }
    }
  }
  if (*alive) passedOn_ = outer;
  return result;
}

// --- Taking over -----------------------------------------------------------------------

void TWinSkinForm::HookForm(TSkinData& skinData, ui::TCustomForm& form) {
  form_ = &form;
  if (skinData.OnBeforeSkinForm) skinData.OnBeforeSkinForm(skinData, handle_, name_);
  if (skinData.SkinControls() & Bit(xcMenuItem)) form.SetPropText(L"AutoScroll", L"False");
  HookWindow(skinData);
  if (frameOn_ && !formHooked_) {
    oldFormProc_ = form.WindowProc;
    form.WindowProc = [this](ui::TMessage& message) {
      // The framework calls this from the window's procedure, which nothing may leave.
      try {
        SkinFormProc(message);
      } catch (...) {
      }
    };
    formHooked_ = true;
  }
  savedColor_ = form.GetPropInt(L"Color").value_or(ui::clBtnFace);
  form.SetPropInt(L"Color",
                  static_cast<int>(skin::ResolveColour(skinData.Records().Colours.ButtonFace)));
  if (skinData.SkinControls() & Bit(xcMenuItem)) InstallMainMenuPainters(form, true);
}

void TWinSkinForm::HookWindow(TSkinData& skinData) {
  if (subclass_.Installed() || !IsWindow(handle_)) return;
  TSkinManage* manager = Manager();
  if (manager) manager->SetState(TSkinManage::kRunning);
  skinData_ = &skinData;
  hoverTimer_ = std::make_unique<ui::TTimer>(nullptr);
  hoverTimer_->SetEnabled(false);
  hoverTimer_->SetInterval(kHoverInterval);
  hoverTimer_->OnTimer = [this](ui::TPersistent&) {
    try {
      OnHoverTimer();
    } catch (...) {
      // A button's repaint that failed; the next tick or paint tries again.
    }
  };

  style_ = GetWindowLongW(handle_, GWL_STYLE);
  const DWORD exStyle = GetWindowLongW(handle_, GWL_EXSTYLE);
  rightToLeft_ = (exStyle & WS_EX_LEFTSCROLLBAR) != 0;
  isChild_ = (style_ & WS_CHILD) != 0;
  windowClass_ = ui::WindowClassName(handle_);
  ownerWindow_ = GetWindow(handle_, GW_OWNER);
  frameOn_ = (skinData.SkinControls() & Bit(xcMainMenu)) != 0;

  windowButtons_ = 0;
  if ((style_ & WS_SYSMENU) || systemMenu_) windowButtons_ |= kSystemMenu;
  if (style_ & WS_MINIMIZEBOX) windowButtons_ |= kMinimizeBox;
  if (style_ & WS_MAXIMIZEBOX) windowButtons_ |= kMaximizeBox;
  if (exStyle & WS_EX_CONTEXTHELP) windowButtons_ |= kContextHelp;
  ReadWindowState();
  sizable_ = (style_ & WS_THICKFRAME) != 0;

  for (HWND child = GetTopWindow(handle_); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (ui::WindowClassName(child) == L"MDIClient") {
      mdiKind_ = kMDIFrame;
      mdiClient_ = child;
      if (manager) manager->SetMDIFrame(child, this);
      break;
    }
  }
  if (exStyle & WS_EX_MDICHILD) {
    mdiKind_ = kMDIChild;
    if (skinData.Options() & Bit(xoMDIChildBorder)) frameOn_ = false;
  }

  borderKind_ = kSingle;
  if ((style_ & WS_CAPTION) != WS_CAPTION) {
    borderKind_ = kNoCaption;
  } else if (style_ & WS_THICKFRAME) {
    borderKind_ = kSizable;
  } else if (style_ & DS_MODALFRAME) {
    borderKind_ = kDialogFrame;
  }
  isDialogClass_ = windowClass_ == L"#32770" || windowClass_ == L"TMessageForm";
  // Dialogs wear the dialog frame whatever their style says; a window without a caption
  // keeps none.
  if ((isDialogClass_ || (exStyle & WS_EX_DLGMODALFRAME)) && borderKind_ != kNoCaption)
    borderKind_ = kDialogFrame;

  unicodeWindow_ = IsWindowUnicode(handle_) != FALSE;

  if (mdiKind_ == kMDIFrame) {
    savedMenuUpdate_ = skinData.MenuUpdate();
    clientSubclass_.Install(mdiClient_, [this](UINT msg, WPARAM wParam, LPARAM lParam) {
      try {
        return ClientWndProc(msg, wParam, lParam);
      } catch (...) {
        return LRESULT{0};  // as for the window (ShieldedWndProc); it has no painting of ours
      }
    });
  }
  subclass_.Install(handle_, [this](UINT msg, WPARAM wParam, LPARAM lParam) {
    return ShieldedWndProc(msg, wParam, lParam);
  });

  if (frameOn_) {
    windowMenu_ = GetMenu(handle_);
    if (windowMenu_ && mdiKind_ != kMDIChild) CreateMenuBar();
    BuildSysButtons();
  } else {
    skinState_ = kActive;
  }
  FollowCompositorFrame();
  // The window shows its first frame skinned: cloaked where the compositor can, else hidden
  // meanwhile.
  if (!isChild_ && OwnsFrame() && manager && manager->HideWhileSkinning()) {
    cloaked_ = skin::compositor::Cloak(handle_);
    if (!cloaked_ && IsWindowVisible(handle_)) {
      SetWindowLongW(handle_, GWL_STYLE, GetWindowLongW(handle_, GWL_STYLE) & ~WS_VISIBLE);
      hiddenWhileSkinning_ = true;
    }
  }

  if (mdiKind_ == kMDIChild) {
    const int standard = skin::SkinMetric(SM_CYCAPTION) + skin::SkinMetric(SM_CXFRAME);
    if (titleHeight_ < standard) menuBarHeight_ = standard - titleHeight_;
    if (windowState_ == kMaximized && manager && !manager->MDIMaximized())
      manager->SetMDIMaximized(true);
  }
}

// --- Activation --------------------------------------------------------------------------

void TWinSkinForm::OnSkinActivate() {
  activeFlag_ = true;
  systemMenu_ = GetSystemMenu(handle_, FALSE);
  if (systemMenu_) windowButtons_ |= kSystemMenu;
  RebuildIconBitmap();
  RECT window{}, client{};
  GetWindowRect(handle_, &window);
  GetClientRect(handle_, &client);
  ncExtra_ = {(window.right - window.left) - client.right,
              (window.bottom - window.top) - client.bottom};
  TSkinManage* manager = Manager();
  // Visible again (not yet on the screen: painted below, before anything shows).
  const bool unhidden = std::exchange(hiddenWhileSkinning_, false);
  if (unhidden) {
    const LONG style = GetWindowLongW(handle_, GWL_STYLE);
    if (!(style & WS_VISIBLE)) SetWindowLongW(handle_, GWL_STYLE, style | WS_VISIBLE);
  }
  paintsDeferred_ = true;
  if (form_) {
    SkinFormControls(*form_);
    if (skinData_ && (skinData_->SkinControls() & Bit(xcPopupMenu)))
      InstallItemPainters(*form_, true);
  } else {
    SkinChildWindows(handle_);
  }
  // The window is fitted to its frame and region unseen, as with redrawing turned off: the
  // system would otherwise paint it and its children at each change. It is painted whole
  // once below.
  bool fittedUnseen = false;
  auto fitUnseen = [&](auto&& fit) {
    const LONG style = GetWindowLongW(handle_, GWL_STYLE);
    fittedUnseen = (style & WS_VISIBLE) != 0;
    if (fittedUnseen) SetWindowLongW(handle_, GWL_STYLE, style & ~WS_VISIBLE);
    skinState_ = kFitting;
    FitWindow(false);
    skinState_ = kActive;
    fit();
    if (fittedUnseen)
      SetWindowLongW(handle_, GWL_STYLE, GetWindowLongW(handle_, GWL_STYLE) | WS_VISIBLE);
  };
  if (skinState_ == kHooked) {
    if (mdiKind_ == kMDIChild) {
      if (windowState_ == kMaximized) {
        if (manager && manager->MDIClient())
          PostMessageW(manager->MDIClient(), skin::WM_SKINMDIREDRAW,
                       reinterpret_cast<WPARAM>(handle_), 0);
      } else if (windowState_ == kNormal && SkinnedFrame()) {
        fitUnseen([&] { UpdateRegion(); });
      }
    } else if (!isChild_ && SkinnedFrame() && windowState_ != kMinimized) {
      fitUnseen([&] {
        if (windowState_ == kMaximized) {
          SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        } else {
          UpdateRegion();
        }
      });
    }
  }
  SendMessageW(handle_, skin::WM_SKINNOTIFY, 0, skin::SkinCookie);
  if (skinData_ && skinData_->OnAfterSkinForm)
    skinData_->OnAfterSkinForm(*skinData_, handle_, name_);
  skinState_ = kActive;
  paintsDeferred_ = false;
  // The frame is painted once it is complete (not while the window was being fitted).
  if (frameOn_ && borderKind_ != kNoCaption) PaintFrame(nullptr);
  // A hidden window got no paints meanwhile: all of it is painted from the queue. A cloaked
  // one comes out at its first paint.
  if (unhidden || fittedUnseen)
    RedrawWindow(handle_, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  if (fittedUnseen) {
    // What the fitted window no longer covers, or its region cuts away, is shown again by the
    // windows below: only that is repainted, as the system would have.
    RECT now{}, both{};
    GetWindowRect(handle_, &now);
    UnionRect(&both, &now, &window);
    ui::GdiObject<HRGN> uncovered(CreateRectRgnIndirect(&both));
    ui::GdiObject<HRGN> covered(CreateRectRgn(0, 0, 0, 0));
    if (uncovered && covered) {
      if (GetWindowRgn(handle_, covered.get()) == ERROR)
        SetRectRgn(covered.get(), 0, 0, now.right - now.left, now.bottom - now.top);
      OffsetRgn(covered.get(), now.left, now.top);
      if (CombineRgn(uncovered.get(), uncovered.get(), covered.get(), RGN_DIFF) != NULLREGION) {
        const HWND parent = GetAncestor(handle_, GA_PARENT);
        POINT origin{0, 0};
        MapWindowPoints(parent, nullptr, &origin, 1);
        OffsetRgn(uncovered.get(), -origin.x, -origin.y);
        RedrawWindow(parent, nullptr, uncovered.get(),
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
      }
    }
  }
  if (cloaked_) InvalidateRect(handle_, nullptr, FALSE);
  SetHoverTimer(active_);
}

void TWinSkinForm::FitWindow(bool keepClient, SIZE client) {
  if (windowState_ == kMaximized) {
    SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return;
  }
  int clientWidth = 0, clientHeight = 0;
  if (client.cx > 0 && client.cy > 0) {
    clientWidth = client.cx;
    clientHeight = client.cy;
  } else if (keepClient || isDialogClass_ || skinState_ == kReskinning || !form_) {
    RECT client{};
    GetClientRect(handle_, &client);
    clientWidth = client.right;
    clientHeight = client.bottom;
  } else {
    clientWidth = form_->ClientWidth();
    clientHeight = form_->ClientHeight();
    if (mdiKind_ != kMDIChild) clientHeight -= menuBarHeight_;
  }
  int width = clientWidth + borderLeft_ + borderRight_;
  if (skinMenu_) menuBarHeight_ = MenuBarHeightFor(width);
  const int height = clientHeight + titleHeight_ + borderBottom_ + menuBarHeight_;
  RECT window{};
  GetWindowRect(handle_, &window);
  if (isDialogClass_ && !keepClient && skinData_) {
    // A dialog whose caption would not fit is widened, its controls moved to the middle.
    const std::wstring text = ReadCaption();
    HDC screen = GetDC(nullptr);
    RECT measured{};
    {
      // The old font goes back before the screen DC is released.
      ui::SelectObjectGuard font(screen, captionFont_.get());
      DrawTextW(screen, text.c_str(), static_cast<int>(text.size()), &measured,
                DT_CALCRECT | DT_NOPREFIX | DT_NOCLIP);
    }
    ReleaseDC(nullptr, screen);
    const auto& title = *skinData_->Records().Title;
    const int needed = measured.right + title.Margins.left + title.Margins.right;
    if (needed > width) {
      const int shift = (needed - width) / 2;
      for (HWND child = GetWindow(handle_, GW_CHILD); child;
           child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, handle_, reinterpret_cast<POINT*>(&r), 2);
        SetWindowPos(
            child, nullptr, r.left + shift, r.top, 0, 0,
            SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSENDCHANGING | SWP_NOOWNERZORDER);
      }
      width = needed;
    }
  }
  SetWindowPos(handle_, nullptr, 0, 0, width, height,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TWinSkinForm::Reframe() {
  const SIZE client = clientAtSkinChange_;
  // The skinned frame draws the menu bar in its strip; the standard frame leaves it to the
  // system. Either change moves the client area, which is measured before.
  if (SkinnedFrame()) {
    if (HMENU menu = GetMenu(handle_); menu && !skinMenu_ && mdiKind_ != kMDIChild) {
      windowMenu_ = menu;
      CreateMenuBar();
    }
  } else {
    if (skinMenu_) {
      FreeMenuBar();
      menuBarHeight_ = 0;
      if (windowMenu_ && !GetMenu(handle_)) SetMenu(handle_, windowMenu_);
    }
    SetSysMenuStyleBit(true);
  }
  if (windowState_ != kNormal || client.cx <= 0 || client.cy <= 0) {
    SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return;
  }
  if (SkinnedFrame()) {
    FitWindow(true, client);
    return;
  }
  // The system's frame: its size is what the system makes of it, measured after the change.
  SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  RECT now{}, window{};
  GetClientRect(handle_, &now);
  GetWindowRect(handle_, &window);
  const int dw = client.cx - now.right, dh = client.cy - now.bottom;
  if (dw != 0 || dh != 0)
    SetWindowPos(handle_, nullptr, 0, 0, window.right - window.left + dw,
                 window.bottom - window.top + dh, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// --- Message stages ------------------------------------------------------------------------

LRESULT TWinSkinForm::SkinWndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_NCPAINT:
      // A skinned frame is not painted before activation; the standard frame is the
      // system's from the start.
      if (skinState_ == kHooked && SkinnedFrame()) return 0;
      break;
    case WM_ERASEBKGND:
      return OnEraseBkgnd(wParam, lParam);
    case WM_NCDESTROY: {
      skinState_ = kDestroying;
      ReleaseWindow(false);
      const LRESULT result = Default(msg, wParam, lParam);
      skinState_ = kGone;
      return result;
    }
    case WM_PAINT:
      if (cloaked_ && skinState_ != kHooked) {
        const LRESULT result = Default(msg, wParam, lParam);
        cloaked_ = false;
        skin::compositor::Uncloak(handle_);
        return result;
      }
      break;
    case WM_NCACTIVATE:
      // Not painted before activation; the change itself always goes ahead, so that
      // another window can become active meanwhile.
      if (skinState_ == kHooked && mdiKind_ != kMDIChild && SkinnedFrame()) return TRUE;
      break;
    case kThemedCaptionRedraw:
    case kThemedFrameRedraw:
      // Only a frame of ours is kept from them; the standard frame redraws its caption.
      if (OwnsFrame()) return 0;
      break;
    case WM_INITMENUPOPUP:
      if (TSkinManage* manager = Manager())
        manager->SetPopupKind(reinterpret_cast<HMENU>(wParam) == systemMenu_
                                  ? TSkinManage::kSystemMenuPopup
                                  : TSkinManage::kMenuBarPopup);
      return Default(msg, wParam, lParam);
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
      return OnCtlColor(msg, wParam, lParam);
    case skin::WM_SKINACTIVATE:
      OnSkinActivate();
      return 0;
    case skin::WM_SKINRESKINSCROLL:
      OnReskinScroll(reinterpret_cast<HWND>(wParam));
      return 0;
    case skin::WM_SKINQUERY:
      PostMessageW(handle_, skin::WM_SKINNOTIFY, 0, skin::SkinCookie);
      return 1;
    case skin::WM_SKINREFRESH:
      // Framework forms take it through their framework hook.
      if (!formHooked_) {
        OnSkinRefresh();
        return 0;
      }
      break;
    default:
      break;
  }
  if (!frameOn_) return Default(msg, wParam, lParam);
  return Stage2(msg, wParam, lParam);
}

LRESULT TWinSkinForm::Stage2(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (isChild_ && mdiKind_ != kMDIChild) return Default(msg, wParam, lParam);
  switch (msg) {
    case WM_SYSCOMMAND:
      return OnSysCommand(wParam, lParam);
    case WM_COMMAND:
      switch (wParam) {
        case SC_SIZE:
        case SC_MOVE:
        case SC_MINIMIZE:
        case SC_MAXIMIZE:
        case SC_NEXTWINDOW:
        case SC_PREVWINDOW:
        case SC_CLOSE:
        case SC_RESTORE:
          PostMessageW(handle_, WM_SYSCOMMAND, wParam, 0);
          return 0;
        default:
          return Default(msg, wParam, lParam);
      }
    case WM_WINDOWPOSCHANGED:
      ReadWindowState();
      return Default(msg, wParam, lParam);
    case WM_ACTIVATE:
    case WM_NCACTIVATE:
      active_ = LOBYTE(wParam) != 0;
      break;
    case WM_GETMINMAXINFO: {
      const LRESULT result = Default(msg, wParam, lParam);
      ReadWindowState();
      if (mdiKind_ != kMDIChild && SkinnedFrame())
        FitMaximizedToWorkArea(*reinterpret_cast<MINMAXINFO*>(lParam));
      return result;
    }
    case ui::CM_MENUCHANGED:
      return OnMenuChanged(wParam, lParam);
    case skin::WM_SKINMENUCLICK:
      return OnSkinMenuClick(lParam);
    case WM_SIZE:
      // Handled once: the default procedure (and the framework's OnResize) sees it once.
      return OnSize(wParam, lParam);
    case WM_SETICON: {
      const LRESULT result = Default(msg, wParam, lParam);
      RebuildIconBitmap();
      // The default frame code paints its own caption for a new icon.
      if (FrameShown(skinState_) && IsWindowVisible(handle_)) PaintFrame(nullptr);
      return result;
    }
    case WM_SETTEXT: {
      const LRESULT result = Default(msg, wParam, lParam);
      // Same for a new text; framework forms are served by their framework hook.
      if (!form_ && FrameShown(skinState_) && IsWindowVisible(handle_)) PaintFrame(nullptr);
      return result;
    }
    default:
      break;
  }
  if (skinState_ == kHooked || (mdiKind_ == kMDIChild && windowState_ == kMaximized))
    return Default(msg, wParam, lParam);
  return Stage3(msg, wParam, lParam);
}

LRESULT TWinSkinForm::Stage3(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_NCCALCSIZE:
      return OnNcCalcSize(wParam, lParam);
    case WM_NCHITTEST:
      return OnNcHitTest(wParam, lParam);
    case WM_NCPAINT:
      return OnNcPaint(wParam, lParam);
    case WM_NCACTIVATE:
      return OnNcActivate(wParam, lParam);
    case WM_NCMOUSEMOVE:
      return OnNcMouseMove(wParam, lParam);
    case WM_NCLBUTTONDOWN:
      return OnNcLButtonDown(wParam, lParam);
    case WM_NCLBUTTONUP:
      return OnNcLButtonUp(wParam, lParam);
    case WM_NCLBUTTONDBLCLK:
      return OnNcLButtonDblClk(wParam, lParam);
    case WM_NCRBUTTONDOWN:
      return OnNcRButtonDown(wParam, lParam);
    case WM_MEASUREITEM:
      if (wParam == 0 && MeasureMenuItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)))
        return TRUE;
      return Default(msg, wParam, lParam);
    case WM_DRAWITEM:
      if (wParam == 0 && DrawMenuItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)))
        return TRUE;
      return Default(msg, wParam, lParam);
    case skin::WM_SKINPAINTFRAME:
      PaintFrame(nullptr);
      return 0;
    default:
      return Default(msg, wParam, lParam);
  }
}

void TWinSkinForm::SkinFormProc(ui::TMessage& m) {
  handled_ = false;
  switch (m.Msg) {
    case WM_SETTEXT:
      if (IsWindowVisible(handle_)) {
        oldFormProc_(m);
        TSkinManage* manager = Manager();
        if (windowState_ == kMaximized && manager && manager->MDIClient())
          PostMessageW(manager->MDIClient(), skin::WM_SKINMDIREDRAW,
                       reinterpret_cast<WPARAM>(handle_), 0);
        if (windowState_ == kMinimized) {
          PaintFrame(nullptr);
        } else {
          SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        }
      } else {
        oldFormProc_(m);
      }
      handled_ = true;
      return;
    case skin::WM_SKINREFRESH:
      OnSkinRefresh();
      redrawn_ = true;
      return;
    case ui::CM_DIALOGCHAR:
      DialogChar(m);
      return;
    case skin::WM_SKINPAINTDC:
      if (m.LParam == skin::SkinCookie) {
        if (m.WParam) PaintFrame(reinterpret_cast<HDC>(m.WParam));
        m.Result = skin::SkinCookie;
        return;
      }
      break;
    case skin::WM_SKINPROBE:
      m.Result = m.LParam == skin::SkinCookie ? skin::SkinCookie : 1;
      return;
    case ui::CM_MENUCHANGED: {
      // The framework tells its form (not the window) that the menu changed.
      const bool painting = framePainting_;
      framePainting_ = false;
      oldFormProc_(m);
      framePainting_ = painting;
      WindowMenuChanged();
      return;
    }
    default:
      break;
  }
  oldFormProc_(m);
}

LRESULT TWinSkinForm::ClientWndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  auto previous = [&] { return clientSubclass_.CallPrevious(msg, wParam, lParam); };
  TSkinManage* manager = Manager();
  switch (msg) {
    case WM_NCDESTROY: {
      const LRESULT result = previous();
      clientSubclass_.Remove();
      return result;
    }
    case WM_NCCALCSIZE:
      if (frameOn_ && skinData_ && !(skinData_->Options() & Bit(xoMDIScrollbar))) {
        const LONG style = GetWindowLongW(mdiClient_, GWL_STYLE);
        SetWindowLongW(mdiClient_, GWL_STYLE, style & ~(WS_HSCROLL | WS_VSCROLL));
      }
      return previous();
    case WM_MDICREATE:
      if (skinData_) skinData_->SetMenuUpdate(false);
      return previous();
    case WM_MDIDESTROY: {
      const LRESULT result = previous();
      if (frameOn_) {
        if (manager) manager->SetMDIMaximized(IsMDIChildMaximized());
        if (skinMenu_ && !SendMessageW(mdiClient_, WM_MDIGETACTIVE, 0, 0) && skinData_) {
          skinData_->SetMenuUpdate(savedMenuUpdate_);
          RebuildMenuBar(windowMenu_);
        }
      }
      return result;
    }
    case WM_MDITILE:
    case WM_MDICASCADE:
      if (frameOn_ && manager && manager->MDIMaximized()) manager->SetMDIMaximized(false);
      return previous();
    case WM_MDISETMENU: {
      const LRESULT result = previous();
      if (frameOn_) {
        if (wParam && skinMenu_) RebuildMenuBar(reinterpret_cast<HMENU>(wParam));
        SetMenu(handle_, nullptr);
      }
      return result;
    }
    case skin::WM_SKINMDIREDRAW:
      RedrawWindow(handle_, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
      return 0;
    default:
      return previous();
  }
}

bool TWinSkinForm::IsMDIChildMaximized() const {
  if (!mdiClient_) return false;
  BOOL maximized = FALSE;
  HWND child = reinterpret_cast<HWND>(
      SendMessageW(mdiClient_, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)));
  return child && maximized;
}

// --- Stage handlers ----------------------------------------------------------------------

LRESULT TWinSkinForm::OnEraseBkgnd(WPARAM wParam, LPARAM lParam) {
  const LRESULT result = Default(WM_ERASEBKGND, wParam, lParam);
  if (form_ || !skinData_) return result;
  RECT client{};
  GetClientRect(handle_, &client);
  FillRect(reinterpret_cast<HDC>(wParam), &client, skinData_->Records().FaceBrush.get());
  return 1;
}

LRESULT TWinSkinForm::OnCtlColor(UINT msg, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = Default(msg, wParam, lParam);
  if (form_ || !skinData_) return result;
  SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
  if (msg == WM_CTLCOLORSTATIC)
    return reinterpret_cast<LRESULT>(skinData_->Records().FaceBrush.get());
  return result;
}

void TWinSkinForm::OnReskinScroll(HWND window) {
  for (size_t i = controls_.size(); i-- > 0;) {
    TControlWrapper* old = controls_[i];
    if (old->WindowHandle() != window) continue;
    const bool listView = old->ClassName() == L"TSkinListView";
    ui::TComponent* owner = old->Owner();
    RemoveControl(old);
    delete old;
    TControlWrapper* wrapper =
        skin::CreateWrapper(listView ? L"TSkinListView" : L"TSkinScrollbar", owner);
    if (!wrapper || !skinData_) return;
    if (auto* control = ui::TWinControl::FromHandle(window)) {
      wrapper->AttachScrolling(*control, *skinData_, *this, ControlCanvas());
    } else {
      wrapper->AttachWindow(window, *skinData_, *this, ControlCanvas());
    }
    return;
  }
}

void TWinSkinForm::ReadWindowState() { windowState_ = StateFromPlacement(handle_); }

LRESULT TWinSkinForm::OnSize(WPARAM wParam, LPARAM lParam) {
  const LRESULT result = Default(WM_SIZE, wParam, lParam);
  switch (wParam) {
    case SIZE_MINIMIZED:
      windowState_ = kMinimized;
      return result;
    case SIZE_MAXIMIZED:
      windowState_ = kMaximized;
      break;
    case SIZE_RESTORED:
      windowState_ = kNormal;
      break;
    default:
      break;
  }
  TSkinManage* manager = Manager();
  if (mdiKind_ == kMDIChild && ((manager && manager->MDIMaximized()) || windowState_ != kNormal))
    return result;
  if (FrameShown(skinState_)) UpdateRegion();
  return result;
}

LRESULT TWinSkinForm::OnSysCommand(WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (KeyMenu(wParam, lParam, result)) return result;
  TSkinManage* manager = Manager();
  switch (wParam & 0xFFF0) {
    case SC_MINIMIZE:
      windowState_ = kMinimized;
      break;
    case SC_MAXIMIZE:
      windowState_ = kMaximized;
      break;
    case SC_RESTORE:
      windowState_ = kNormal;
      if (mdiKind_ == kMDIChild && manager && manager->MDIMaximized())
        manager->SetMDIMaximized(false);
      break;
    default:
      break;
  }
  return Default(WM_SYSCOMMAND, wParam, lParam);
}

LRESULT TWinSkinForm::OnMenuChanged(WPARAM wParam, LPARAM lParam) {
  const bool painting = framePainting_;
  framePainting_ = false;
  const LRESULT result = Default(ui::CM_MENUCHANGED, wParam, lParam);
  framePainting_ = painting;
  WindowMenuChanged();
  return result;
}

LRESULT TWinSkinForm::OnSkinMenuClick(LPARAM lParam) {
  const POINT screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  TNCObject* object = ObjectAt(ToFramePoint(screen));
  if (object && IsMenuItem(object)) {
    object->MouseDown();
    OpenMenu(object);
  }
  return 0;
}

// --- Size and state ------------------------------------------------------------------------

void TWinSkinForm::MaximizeToggle() {
  if (windowState_ == kMaximized) {
    RestoreWindow();
    return;
  }
  if (mdiKind_ == kMDIChild)
    if (TSkinManage* manager = Manager()) manager->SetMDIMaximized(true);
  windowState_ = kMaximized;
  PostMessageW(handle_, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  hotObject_ = nullptr;
}

void TWinSkinForm::RestoreWindow() {
  windowState_ = kNormal;
  PostMessageW(handle_, WM_SYSCOMMAND, SC_RESTORE, 0);
}

void TWinSkinForm::MinimizeToggle() {
  if (windowState_ == kMinimized) {
    RestoreWindow();
    return;
  }
  windowState_ = kMinimized;
  SetSysMenuStyleBit(true);
  PostMessageW(handle_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

// --- Hover tracking ------------------------------------------------------------------------

void TWinSkinForm::SetHoverTimer(bool on) {
  if (hoverTimer_) hoverTimer_->SetEnabled(on);
  if (!on && hotControl_) {
    hotControl_->MouseLeft();
    hotControl_ = nullptr;
  }
}

void TWinSkinForm::OnHoverTimer() {
  if (menuTracking_) return;
  POINT cursor{};
  GetCursorPos(&cursor);
  if (hotObject_) {
    const POINT p = ToFramePoint(cursor);
    if (!PtInRect(&hotObject_->BoundsRect, p)) {
      TNCObject* hot = hotObject_;
      hotObject_ = nullptr;
      hot->MouseLeave();
    }
  }
  if (!form_ && hotControl_) {
    RECT r{};
    GetWindowRect(hotControl_->WindowHandle(), &r);
    if (!PtInRect(&r, cursor)) {
      TControlWrapper* hot = hotControl_;
      hotControl_ = nullptr;
      hot->MouseLeft();
    }
  }
}

// --- Re-skin -------------------------------------------------------------------------------

void TWinSkinForm::OnSkinRefresh() {
  if (!skinData_) return;
  const int face = static_cast<int>(skin::ResolveColour(skinData_->Records().Colours.ButtonFace));
  if (form_) {
    form_->SetPropInt(L"Color", face);
    for (ui::TComponent* c : form_->Components())
      if (auto* owned = dynamic_cast<ui::TCustomForm*>(c)) owned->SetPropInt(L"Color", face);
  }
  for (TControlWrapper* wrapper : std::vector<TControlWrapper*>(controls_)) wrapper->SkinChanged();
  skinState_ = kReskinning;
  if (frameOn_ && form_) {
    if (skinData_->SkinControls() & Bit(xcPopupMenu)) InstallItemPainters(*form_, true);
    Reframe();
    // One pixel higher and back: the framework lays the form out again.
    const int height = form_->Height();
    form_->SetHeight(height + 1);
    form_->SetHeight(height);
  } else if (frameOn_ && !isChild_) {
    // A plain window keeps its client area under the new skin's frame too.
    Reframe();
  }
  if (SkinnedFrame()) {
    UpdateRegion();
  } else {
    RemoveRegion();
  }
  FollowCompositorFrame();
  SendMessageW(handle_, skin::WM_SKINNOTIFY, 0, skin::SkinCookie);
  if (skinData_->OnAfterSkinForm) skinData_->OnAfterSkinForm(*skinData_, handle_, name_);
  skinState_ = kActive;
  if (frameOn_ && IsWindowVisible(handle_)) PaintFrame(nullptr);
}

// --- Giving back ---------------------------------------------------------------------------

void TWinSkinForm::Unhook() { ReleaseWindow(false); }

void TWinSkinForm::Restore() { ReleaseWindow(true); }

void TWinSkinForm::ReleaseWindow(bool restore) {
  const bool destroying = skinState_ == kDestroying;
  const bool alive = IsWindow(handle_) != FALSE;
  if (hoverTimer_) hoverTimer_->SetEnabled(false);
  sysMenuPopup_.reset();
  if (formHooked_ && form_) {
    form_->WindowProc = oldFormProc_;
    formHooked_ = false;
  }
  FreeControls();
  if (form_ && (skinData_ && (skinData_->SkinControls() & Bit(xcMenuItem))))
    InstallMainMenuPainters(*form_, false);
  // The form's popup menus must not call a painter that is going away.
  if (form_) InstallItemPainters(*form_, false);
  if (form_ && !destroying && subclass_.Installed()) form_->SetPropInt(L"Color", savedColor_);
  FreeMenuBar();
  const bool wasHooked = subclass_.Installed();
  bool menuBack = false;
  if (restore && alive && wasHooked) {
    if (windowMenu_ && !GetMenu(handle_) && !destroying)
      menuBack = SetMenu(handle_, windowMenu_) != FALSE;
    SetSysMenuStyleBit(true);
  }
  clientSubclass_.Remove();
  subclass_.Remove();
  if (alive && wasHooked) ReleaseCompositor();
  if (!restore || !alive || !wasHooked) return;
  if (!destroying && frameOn_ && SkinnedFrame() && (!isChild_ || mdiKind_ == kMDIChild) &&
      (skinState_ == kActive || skinState_ == kReskinning) && windowState_ == kNormal) {
    // Back to the default frame around the same client area.
    RECT r{};
    GetWindowRect(handle_, &r);
    const int width = r.right - r.left - borderLeft_ - borderRight_ + ncExtra_.cx;
    // The system's menu bar, back on the window, takes its own strip again.
    const int height = r.bottom - r.top - titleHeight_ - borderBottom_ - menuBarHeight_ +
                       ncExtra_.cy + (menuBack ? GetSystemMetrics(SM_CYMENU) : 0);
    SetWindowPos(handle_, nullptr, 0, 0, width, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  } else if (!destroying) {
    SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
  RemoveRegion();
}

void TWinSkinForm::FollowCompositorFrame() {
  // The compositor draws the standard frame over whatever WM_NCPAINT paints, until it is told
  // not to; a window that keeps the standard frame keeps the compositor's.
  if (isChild_) return;
  if (OwnsFrame()) {
    skin::compositor::StopFrameRendering(handle_);
  } else {
    skin::compositor::RestoreFrameRendering(handle_);
  }
}

void TWinSkinForm::ReleaseCompositor() {
  // Never left hidden or cloaked, and the standard frame is the compositor's again.
  if (std::exchange(hiddenWhileSkinning_, false)) {
    SetWindowLongW(handle_, GWL_STYLE, GetWindowLongW(handle_, GWL_STYLE) | WS_VISIBLE);
    RedrawWindow(handle_, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  }
  if (std::exchange(cloaked_, false)) skin::compositor::Uncloak(handle_);
  if (!isChild_) skin::compositor::RestoreFrameRendering(handle_);
}

bool TWinSkinForm::AddControl(TControlWrapper* wrapper) {
  if (std::find(controls_.begin(), controls_.end(), wrapper) != controls_.end()) return true;
  controls_.push_back(wrapper);
  return false;
}

void TWinSkinForm::RemoveControl(TControlWrapper* wrapper) {
  std::erase(controls_, wrapper);
  if (hotControl_ == wrapper) hotControl_ = nullptr;
}

void TWinSkinForm::FreeControls() {
  // Each wrapper is taken from the front; freeing it unregisters it (RemoveControl).
  while (!controls_.empty()) {
    TControlWrapper* wrapper = controls_.front();
    if (wrapper->StateCode() != 6) wrapper->RestoreControl();
    RemoveControl(wrapper);
    delete wrapper;
  }
  hotControl_ = nullptr;
}

void TWinSkinForm::PurgeEndedControls() {
  for (size_t i = controls_.size(); i-- > 0;) {
    TControlWrapper* wrapper = controls_[i];
    if (wrapper->StateCode() == 6) {
      RemoveControl(wrapper);
      delete wrapper;
    }
  }
}
