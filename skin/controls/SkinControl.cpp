#include "skin/controls/SkinControl.h"

#include <windowsx.h>

#include <memory>
#include <utility>

#include "skin/controls/PropertyAccess.h"
#include "skin/data/ElementDrawing.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinImages.h"
#include "skin/forms/SkinMessages.h"
#include "skin/forms/WinSkinForm.h"
#include "ui/Font.h"
#include "ui/GdiObject.h"

VELMO_NAMED_CLASS_INFO(TSkinControl, ui::TComponent)

namespace {

bool Inverted(const RECT& r) { return r.right < r.left || r.bottom < r.top; }

}  // namespace

TSkinControl::TSkinControl(ui::TComponent* owner)
    : TControlWrapper(owner), alive_(std::make_shared<bool>(true)) {}

TSkinControl::~TSkinControl() {
  *alive_ = false;
  UnhookControl();
  subclass_.Remove();
  if (form_) form_->RemoveControl(this);
}

void TSkinControl::Configure(const WrapperSettings& settings) {
  settings_ = settings;
  mode_ = settings.mode;
}

HWND TSkinControl::WindowHandle() const {
  return control_ && control_->HandleAllocated() ? control_->WindowHandle() : handle_;
}

ui::TControl* TSkinControl::FrameworkControl() const {
  return control_ ? static_cast<ui::TControl*>(control_) : graphic_;
}

// ---- attaching -----------------------------------------------------------------------------

void TSkinControl::Register(TWinSkinForm& form, TSkinData& skinData, HDC canvas) {
  skinData_ = &skinData;
  form_ = &form;
  canvas_ = canvas;
  form.AddControl(this);
}

void TSkinControl::MarkAttached() {
  attached_ = true;
  stateCode_ = kAttached;
}

void TSkinControl::AttachControl(TWinSkinForm& form, TSkinData& skinData, bool applyColour,
                                 HDC canvas) {
  if (attached_) return;
  auto* control = dynamic_cast<ui::TControl*>(Owner());
  if (!control) return;
  skinData_ = &skinData;
  form_ = &form;
  canvas_ = canvas;
  applyColour_ = applyColour;
  if (auto* windowed = dynamic_cast<ui::TWinControl*>(control)) {
    handle_ = windowed->Handle();
    unicode_ = handle_ && IsWindowUnicode(handle_);
  }
  HookControl(*control);
  form.AddControl(this);
  if (applyColour_) {
    if (!HasOption(xoParentBackGround) && skin::BoolProperty(control, L"ParentBackground")) {
      skin::WriteProperty(control, L"ParentBackground", L"False");
      backgroundSwitched_ = true;
    }
    if (control->PropertyKind(L"Color") == ui::TPropKind::Integer) {
      savedColour_ = skin::IntProperty(control, L"Color");
      savedParentColour_ = control->ParentColor();
      colourSaved_ = true;
      control->SetPropInt(L"Color", static_cast<int>(Records()->Colours.ButtonFace));
    }
  }
  Repaint();
  MarkAttached();
}

void TSkinControl::AttachWindow(HWND window, TSkinData& skinData, TWinSkinForm& form, HDC canvas) {
  if (attached_ || !IsWindow(window)) return;
  handle_ = window;
  Register(form, skinData, canvas);
  unicode_ = IsWindowUnicode(window) != FALSE;
  RefreshState();
  subclass_.Install(window, [this](UINT msg, WPARAM wParam, LPARAM lParam) {
    ui::TMessage m{msg, wParam, lParam, 0};
    Dispatch(m);
    return m.Result;
  });
  InvalidateRect(window, nullptr, TRUE);
  MarkAttached();
}

void TSkinControl::HookControl(ui::TControl& control) {
  if (hooked_) return;
  hooked_ = &control;
  if (auto* windowed = dynamic_cast<ui::TWinControl*>(&control))
    control_ = windowed;
  else
    graphic_ = &control;
  savedHandler_ = control.WindowProc;
  control.WindowProc = [this](ui::TMessage& m) { Dispatch(m); };
  // The owner frees us with itself; any other control must tell us when it goes.
  if (Owner() != &control) control.FreeNotification(this);
}

void TSkinControl::UnhookControl() {
  ui::TControl* control = std::exchange(hooked_, nullptr);
  if (!control) return;
  // A control on its way out has no handler left to give back.
  if (!control->Destroying()) {
    control->WindowProc = std::move(savedHandler_);
    control->Invalidate();
  }
  savedHandler_ = nullptr;
}

void TSkinControl::Notification(ui::TComponent* component, ui::TOperation operation) {
  TControlWrapper::Notification(component, operation);
  if (operation == ui::TOperation::Remove && component == hooked_) {
    hooked_ = nullptr;
    savedHandler_ = nullptr;
    control_ = nullptr;
    graphic_ = nullptr;
  }
}

void TSkinControl::RestoreControl() {
  ui::TControl* control = FrameworkControl();
  if (!applyColour_ || !control || control->Destroying()) return;
  if (backgroundSwitched_) {
    skin::WriteProperty(control, L"ParentBackground", L"True");
    backgroundSwitched_ = false;
  }
  if (colourSaved_) {
    control->SetPropInt(L"Color", savedColour_);
    if (savedParentColour_) control->SetParentColor(true);
    colourSaved_ = false;
  }
}

void TSkinControl::SkinChanged() {
  ui::TControl* control = FrameworkControl();
  if (applyColour_ && control && Records())
    control->SetPropInt(L"Color", static_cast<int>(Records()->Colours.ButtonFace));
  Repaint();
}

// ---- messages ------------------------------------------------------------------------------

void TSkinControl::Dispatch(ui::TMessage& m) {
  bool passed = false;
  bool* const outer = std::exchange(passedOn_, &passed);
  const std::shared_ptr<bool> alive = alive_;
  try {
    DispatchSkinned(m);
  } catch (...) {
    if (*alive && !passed) {
      try {
        CallPrevious(m);
      } catch (...) {
      }
    }
  }
  if (*alive) passedOn_ = outer;
}

void TSkinControl::DispatchSkinned(ui::TMessage& m) {
  handled_ = 0;
  if (m.Msg == skin::WM_SKINSTATE) {
    if (stateCode_ == kEnded) return;
    const bool active = m.WParam > 0;
    if (active != active_) {
      active_ = active;
      SkinningSwitched(active);
    }
    if (active_) Repaint();
    return;
  }
  if (!active_) {
    CallPrevious(m);
    return;
  }
  if (!BeforeMessage(m)) return;
  // The control's handler may free the control, and us with it (a click that closes).
  std::shared_ptr<bool> alive = alive_;
  CallPrevious(m);
  if (*alive) AfterMessage(m);
}

void TSkinControl::CallPrevious(ui::TMessage& m) {
  if (passedOn_) *passedOn_ = true;
  if (hooked_) {
    ui::TWndMethod previous = savedHandler_;  // may be replaced while it runs
    if (previous) previous(m);
  } else if (subclass_.Installed()) {
    m.Result = subclass_.CallPrevious(m.Msg, m.WParam, m.LParam);
  }
}

bool TSkinControl::BeforeMessage(ui::TMessage& m) {
  switch (m.Msg) {
    case WM_NCDESTROY:
      CallPrevious(m);
      active_ = false;
      stateCode_ = kEnded;
      RestoreControl();
      return false;
    case skin::WM_SKINQUERY:
      m.Result = 1;
      return false;
    default:
      return true;
  }
}

void TSkinControl::AfterMessage(ui::TMessage& m) {
  switch (m.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case ui::CM_ENABLEDCHANGED:
      Repaint();
      break;
    case WM_PAINT:
      PaintWindow(reinterpret_cast<HDC>(m.WParam));
      break;
    default:
      break;
  }
}

void TSkinControl::ForwardMouseDown(const ui::TMessage& m) {
  ui::TControl* control = FrameworkControl();
  if (!control) return;
  POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  // The message's 16-bit coordinates cannot hold a point that far in.
  if (control->Width() > 32768 || control->Height() > 32768) {
    GetCursorPos(&p);
    HWND window = handle_ ? handle_ : (control->Parent() ? control->Parent()->WindowHandle() : 0);
    ScreenToClient(window, &p);
    if (graphic_) p = {p.x - graphic_->Left(), p.y - graphic_->Top()};
  }
  control->MouseDown(ui::TMouseButton::mbLeft, ui::KeysToShiftState(m.WParam), p.x, p.y);
}

// ---- painting ------------------------------------------------------------------------------

void TSkinControl::Repaint() {
  const bool deferred = form_ && form_->PaintsDeferred();
  if (graphic_) {
    if (deferred)
      graphic_->Invalidate();
    else
      graphic_->Repaint();
    return;
  }
  if (!handle_ || !IsWindow(handle_)) return;
  InvalidateRect(handle_, nullptr, TRUE);
  if (!deferred) UpdateWindow(handle_);
}

void TSkinControl::PaintWindow(HDC dc) {
  RECT r;
  if (!handle_ || !GetWindowRect(handle_, &r)) return;
  windowRect_ = r;
  OffsetRect(&r, -r.left, -r.top);
  try {
    if (dc) {
      DrawSkin(dc, r);
    } else {
      ui::WindowDC windowDC(handle_, ui::WindowDC::Area::Whole);
      if (windowDC.get()) DrawSkin(windowDC.get(), r);
    }
  } catch (...) {
    // A face that fails to draw leaves what the control painted.
  }
}

void TSkinControl::PaintNow(const ui::TMessage& m) {
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  PAINTSTRUCT ps{};
  if (!dc) dc = BeginPaint(handle_, &ps);
  RECT r;
  if (dc && GetWindowRect(handle_, &r)) {
    windowRect_ = r;
    OffsetRect(&r, -r.left, -r.top);
    try {
      DrawSkin(dc, r);
    } catch (...) {
      // As PaintWindow.
    }
  }
  if (!m.WParam) EndPaint(handle_, &ps);
}

void TSkinControl::DrawSkin(HDC, const RECT&) {}

void TSkinControl::RefreshState() {
  if (graphic_) {
    focused_ = false;
    enabled_ = graphic_->Enabled();
    caption_ = skin::TextProperty(graphic_, L"Caption");
    return;
  }
  focused_ = handle_ && GetFocus() == handle_;
  enabled_ = handle_ && !(GetWindowLongW(handle_, GWL_STYLE) & WS_DISABLED);
  if (control_) {
    caption_ = skin::TextProperty(control_, L"Caption");
  } else if (handle_) {
    int length = GetWindowTextLengthW(handle_);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    length = GetWindowTextW(handle_, text.data(), length + 1);
    text.resize(static_cast<size_t>(length > 0 ? length : 0));
    caption_ = std::move(text);
  }
}

// ---- skin values ---------------------------------------------------------------------------

const SkinRecords* TSkinControl::Records() const {
  return skinData_ ? &skinData_->Records() : nullptr;
}

bool TSkinControl::HasOption(int option) const {
  return skinData_ && (skinData_->Options() & Bit(option));
}

bool TSkinControl::HasControls(int controlType) const {
  return skinData_ && (skinData_->SkinControls() & Bit(controlType));
}

COLORREF TSkinControl::FaceColour() const {
  return Records() ? skin::ResolveColour(Records()->Colours.ButtonFace)
                   : GetSysColor(COLOR_BTNFACE);
}

COLORREF TSkinControl::ShadowColour() const {
  return Records() ? skin::ResolveColour(Records()->Colours.ButtonShadow)
                   : GetSysColor(COLOR_BTNSHADOW);
}

COLORREF TSkinControl::ButtonTextColour() const {
  return Records() ? skin::ResolveColour(Records()->Colours.ButtonText)
                   : GetSysColor(COLOR_BTNTEXT);
}

HFONT TSkinControl::ControlFont() const {
  if (auto* font = dynamic_cast<ui::TFont*>(skin::ObjectProperty(FrameworkControl(), L"Font")))
    return font->Handle();
  if (handle_) {
    if (auto font = reinterpret_cast<HFONT>(SendMessageW(handle_, WM_GETFONT, 0, 0))) return font;
  }
  return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

COLORREF TSkinControl::FontColour() const {
  if (auto* font = dynamic_cast<ui::TFont*>(skin::ObjectProperty(FrameworkControl(), L"Font")))
    return ui::ColorToRGB(font->Color());
  return ButtonTextColour();
}

bool TSkinControl::RightToLeft() const {
  return handle_ && (GetWindowLongW(handle_, GWL_EXSTYLE) & WS_EX_RTLREADING);
}

// ---- drawing primitives --------------------------------------------------------------------

void TSkinControl::DrawStripFrame(HDC dc, const RECT& rect, int frameCount, int frame,
                                  const ui::Bitmap& image) {
  if (rect.right <= rect.left || rect.bottom <= rect.top) return;
  skin::DrawFrame(dc, rect, image, true, frameCount, frame);
}

void TSkinControl::DrawStateImage(HDC dc, const RECT& rect, const TDataSkinObject& record,
                                  int frameCount, int frame, bool vertical) {
  if (Inverted(rect)) return;
  skin::Element element{&record.Bitmap,
                        record.Margins,
                        {frameCount, frame, vertical},
                        record.Tile != 0,
                        record.Trans != 0};
  skin::DrawElement(dc, rect, element);
}

bool TSkinControl::HasImage(const TDataSkinObject* record) {
  return record && !record->Bitmap.Empty();
}

void TSkinControl::FillFace(HDC dc, const RECT& rect) const {
  ui::GdiObject<HBRUSH> brush(CreateSolidBrush(FaceColour()));
  FillRect(dc, &rect, brush.get());
}

void TSkinControl::FillParentColour(HDC dc, const RECT& rect) const {
  const ui::TControl* parent = nullptr;
  if (ui::TControl* control = FrameworkControl())
    parent = control->Parent();
  else if (handle_)
    parent = ui::TWinControl::FromHandle(GetParent(handle_));
  if (!parent || parent->PropertyKind(L"Color") != ui::TPropKind::Integer) {
    FillFace(dc, rect);
    return;
  }
  ui::GdiObject<HBRUSH> brush(CreateSolidBrush(ui::ColorToRGB(parent->Color())));
  FillRect(dc, &rect, brush.get());
}

void TSkinControl::PaintParentBackground(HDC dc, const RECT& rect) const {
  HWND parent = graphic_ ? (graphic_->Parent() ? graphic_->Parent()->WindowHandle() : nullptr)
                         : (handle_ ? GetParent(handle_) : nullptr);
  if (!parent) {
    FillFace(dc, rect);
    return;
  }
  POINT origin{0, 0};
  if (graphic_) {
    origin = {graphic_->Left(), graphic_->Top()};
  } else {
    RECT r;
    GetWindowRect(handle_, &r);
    origin = {r.left, r.top};
    ScreenToClient(parent, &origin);
  }
  int saved = SaveDC(dc);
  IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
  POINT viewport;
  GetViewportOrgEx(dc, &viewport);
  SetViewportOrgEx(dc, viewport.x - origin.x, viewport.y - origin.y, nullptr);
  SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  RestoreDC(dc, saved);
}

std::wstring TSkinControl::CaptionLines(std::wstring caption) {
  if (size_t at = caption.find(L"||"); at != std::wstring::npos) caption.replace(at, 2, L"\r\n");
  return caption;
}

void TSkinControl::DrawCaption(HDC dc, RECT rect, bool centre, std::wstring caption) const {
  caption = CaptionLines(std::move(caption));
  InflateRect(&rect, -2, -2);
  int oldMode = SetBkMode(dc, TRANSPARENT);
  UINT flags = DT_WORDBREAK | DT_NOCLIP | DT_EXPANDTABS | (RightToLeft() ? DT_RTLREADING : 0);
  RECT text = rect;
  DrawTextW(dc, caption.c_str(), -1, &text, flags | DT_CALCRECT);
  int freeWidth = (rect.right - rect.left) - (text.right - text.left);
  int freeHeight = (rect.bottom - rect.top) - (text.bottom - text.top);
  // Centred, one pixel high.
  OffsetRect(&text, 0, freeHeight / 2 - 1);
  if (centre) {
    OffsetRect(&text, freeWidth / 2, 0);
    flags |= DT_CENTER;
  } else {
    text.right = rect.right;
  }
  DrawTextW(dc, caption.c_str(), -1, &text, flags);
  SetBkMode(dc, oldMode);
  if (focused_ && !HasOption(xoNoFocusRect)) {
    InflateRect(&text, 2, 2);
    DrawFocusRect(dc, &text);
  }
}

void TSkinControl::DrawTextFocus(HDC dc, UINT flags, const RECT& rect) const {
  std::wstring caption = CaptionLines(caption_);
  RECT text = rect;
  DrawTextW(dc, caption.c_str(), -1, &text, (flags & ~(DT_VCENTER | DT_BOTTOM)) | DT_CALCRECT);
  int freeWidth = (rect.right - rect.left) - (text.right - text.left);
  int freeHeight = (rect.bottom - rect.top) - (text.bottom - text.top);
  if (flags & DT_CENTER)
    OffsetRect(&text, freeWidth / 2, 0);
  else if (flags & DT_RIGHT)
    OffsetRect(&text, freeWidth, 0);
  if (flags & (DT_CENTER | DT_VCENTER)) OffsetRect(&text, 0, freeHeight / 2 - 1);
  InflateRect(&text, 2, 1);
  IntersectRect(&text, &text, &rect);
  DrawFocusRect(dc, &text);
}
