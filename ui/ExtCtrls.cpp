#include "ui/ExtCtrls.h"

#include <algorithm>

namespace ui {

namespace {
const std::vector<std::wstring> kAlignments = {L"taLeftJustify", L"taRightJustify", L"taCenter"};
const std::vector<std::wstring> kBevels = {L"bvNone", L"bvLowered", L"bvRaised", L"bvSpace"};

UINT AlignmentFormat(TAlignment a) {
  return a == TAlignment::taCenter         ? DT_CENTER
         : a == TAlignment::taRightJustify ? DT_RIGHT
                                           : DT_LEFT;
}
}  // namespace

// ---- custom control ----------------------------------------------------------------------

const TClassInfo& TCustomControl::StaticClass() {
  static TClassInfo info(L"TCustomControl", &TWinControl::StaticClass());
  return info;
}

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner) {}

void TCustomControl::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.windowClass = FrameworkWindowClass(*this);
  p.baseClass.clear();
  p.style |= WS_CLIPCHILDREN;
  p.classStyle = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
}

// ---- panel -------------------------------------------------------------------------------

const TClassInfo& TCustomPanel::StaticClass() {
  static TClassInfo info(L"TCustomPanel", &TCustomControl::StaticClass());
  static const bool published = [] {
    info.Enum<TCustomPanel, TBevelCut>(L"BevelOuter", kBevels, &TCustomPanel::BevelOuter,
                                       &TCustomPanel::SetBevelOuter)
        .Enum<TCustomPanel, TBevelCut>(L"BevelInner", kBevels, &TCustomPanel::BevelInner,
                                       &TCustomPanel::SetBevelInner)
        .Enum<TCustomPanel, TAlignment>(L"Alignment", kAlignments, &TCustomPanel::Alignment,
                                        &TCustomPanel::SetAlignment)
        .Enum<TCustomPanel, TBorderStyle>(L"BorderStyle", {L"bsNone", L"bsSingle"},
                                          &TCustomPanel::BorderStyle,
                                          &TCustomPanel::SetBorderStyle);
    return true;
  }();
  (void)published;
  return info;
}
VELMO_NAMED_CLASS_INFO(TPanel, TCustomPanel)
VELMO_NAMED_CLASS_INFO(TTntPanel, TPanel)

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) { SetBounds(0, 0, 185, 41); }

void TCustomPanel::SetBevelOuter(TBevelCut v) {
  bevelOuter_ = v;
  AlignControls();
  Invalidate();
}
void TCustomPanel::SetBevelInner(TBevelCut v) {
  bevelInner_ = v;
  AlignControls();
  Invalidate();
}
void TCustomPanel::SetAlignment(TAlignment v) {
  alignment_ = v;
  Invalidate();
}
void TCustomPanel::SetBorderStyle(TBorderStyle v) {
  borderStyle_ = v;
  AlignControls();
  Invalidate();
}

void TCustomPanel::AdjustClientRect(RECT& r) const {
  int inset = (bevelOuter_ != TBevelCut::bvNone ? 1 : 0) +
              (bevelInner_ != TBevelCut::bvNone ? 1 : 0) +
              (borderStyle_ == TBorderStyle::bsSingle ? 1 : 0);
  InflateRect(&r, -inset, -inset);
}

void TCustomPanel::PaintWindow(HDC dc) {
  RECT r = ClientRect();
  auto bevel = [&](TBevelCut cut) {
    if (cut == TBevelCut::bvNone) return;
    if (cut != TBevelCut::bvSpace)
      DrawEdge(dc, &r, cut == TBevelCut::bvRaised ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT);
    InflateRect(&r, -1, -1);
  };
  if (borderStyle_ == TBorderStyle::bsSingle) {
    FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    InflateRect(&r, -1, -1);
  }
  bevel(bevelOuter_);
  bevel(bevelInner_);
  std::wstring text = Caption();
  if (text.empty()) return;
  SelectObjectGuard font(dc, Font()->Handle());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(Font()->Color()));
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
            DT_SINGLELINE | DT_VCENTER | AlignmentFormat(alignment_));
}

// ---- group box ---------------------------------------------------------------------------

const TClassInfo& TCustomGroupBox::StaticClass() {
  static TClassInfo info(L"TCustomGroupBox", &TCustomControl::StaticClass());
  return info;
}
VELMO_NAMED_CLASS_INFO(TGroupBox, TCustomGroupBox)
VELMO_NAMED_CLASS_INFO(TTntGroupBox, TGroupBox)

TCustomGroupBox::TCustomGroupBox(TComponent* owner) : TCustomControl(owner) {
  SetBounds(0, 0, 185, 105);
}

void TCustomGroupBox::AdjustClientRect(RECT& r) const {
  r.top += -Font()->Height() + 4;
  InflateRect(&r, -2, -2);
}

void TCustomGroupBox::PaintWindow(HDC dc) {
  SelectObjectGuard font(dc, Font()->Handle());
  TEXTMETRICW tm;
  GetTextMetricsW(dc, &tm);
  RECT r = ClientRect();
  r.top += tm.tmHeight / 2 - 1;
  DrawEdge(dc, &r, EDGE_ETCHED, BF_RECT);
  std::wstring text = Caption();
  if (text.empty()) return;
  RECT t{0, 0, 0, 0};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &t, DT_CALCRECT | DT_SINGLELINE);
  OffsetRect(&t, 8, 0);
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, ColorToRGB(Color()));
  SetTextColor(dc, Enabled() ? ColorToRGB(Font()->Color()) : GetSysColor(COLOR_GRAYTEXT));
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &t, DT_SINGLELINE);
}

// ---- label -------------------------------------------------------------------------------

const TClassInfo& TCustomLabel::StaticClass() {
  static TClassInfo info(L"TCustomLabel", &TGraphicControl::StaticClass());
  static const bool published = [] {
    info.Enum<TCustomLabel, TAlignment>(L"Alignment", kAlignments, &TCustomLabel::Alignment,
                                        &TCustomLabel::SetAlignment)
        .Boolean<TCustomLabel>(L"AutoSize", &TCustomLabel::AutoSize, &TCustomLabel::SetAutoSize)
        .Boolean<TCustomLabel>(L"WordWrap", &TCustomLabel::WordWrap, &TCustomLabel::SetWordWrap);
    return true;
  }();
  (void)published;
  return info;
}
VELMO_NAMED_CLASS_INFO(TLabel, TCustomLabel)
VELMO_NAMED_CLASS_INFO(TTntLabel, TLabel)

TCustomLabel::TCustomLabel(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 65, 17); }

void TCustomLabel::SetAlignment(TAlignment v) {
  alignment_ = v;
  Invalidate();
}
void TCustomLabel::SetAutoSize(bool v) {
  autoSize_ = v;
  AdjustBounds();
}
void TCustomLabel::SetWordWrap(bool v) {
  wordWrap_ = v;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

void TCustomLabel::AdjustBounds() {
  if (!autoSize_ || Loading()) return;
  HDC screen = GetDC(nullptr);
  std::wstring text = Caption().empty() ? L" " : Caption();
  RECT r{0, 0, wordWrap_ ? Width() : 0, 0};
  {
    SelectObjectGuard font(screen, Font()->Handle());
    DrawTextW(screen, text.c_str(), static_cast<int>(text.size()), &r,
              DT_CALCRECT | DT_EXPANDTABS | (wordWrap_ ? DT_WORDBREAK : 0));
  }
  ReleaseDC(nullptr, screen);
  SetBounds(Left(), Top(), r.right, r.bottom);
}

void TCustomLabel::WndProc(TMessage& m) {
  TGraphicControl::WndProc(m);
  if (m.Msg == CM_TEXTCHANGED || m.Msg == CM_FONTCHANGED) AdjustBounds();
}

void TCustomLabel::Paint(HDC dc) {
  RECT r{0, 0, Width(), Height()};
  if (!Transparent()) {
    GdiObject<HBRUSH> brush(CreateSolidBrush(ColorToRGB(Color())));
    FillRect(dc, &r, brush.get());
  }
  std::wstring text = Caption();
  SelectObjectGuard font(dc, Font()->Handle());
  SetBkMode(dc, TRANSPARENT);
  UINT format = DT_EXPANDTABS | AlignmentFormat(alignment_) | (wordWrap_ ? DT_WORDBREAK : 0);
  if (Enabled()) {
    SetTextColor(dc, ColorToRGB(Font()->Color()));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, format);
  } else {
    OffsetRect(&r, 1, 1);
    SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, format);
    OffsetRect(&r, -1, -1);
    SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, format);
  }
}

// ---- image -------------------------------------------------------------------------------

const TClassInfo& TImage::StaticClass() {
  static TClassInfo info(L"TImage", &TGraphicControl::StaticClass());
  static const bool published = [] {
    info.Object<TImage, TBitmapImage>(L"Picture", L"TBitmap", &TImage::Picture)
        .Boolean<TImage>(L"Stretch", &TImage::Stretch, &TImage::SetStretch)
        .Boolean<TImage>(L"Center", &TImage::Center, &TImage::SetCenter);
    return true;
  }();
  (void)published;
  return info;
}
VELMO_NAMED_CLASS_INFO(TTntImage, TImage)

TImage::TImage(TComponent* owner)
    : TGraphicControl(owner), picture_(std::make_unique<TBitmapImage>()) {
  SetBounds(0, 0, 105, 105);
}

void TImage::SetStretch(bool v) {
  stretch_ = v;
  Invalidate();
}
void TImage::SetCenter(bool v) {
  center_ = v;
  Invalidate();
}

void TImage::Paint(HDC dc) {
  if (picture_->Empty()) return;
  RECT dest{0, 0, picture_->Width(), picture_->Height()};
  if (stretch_) {
    dest = {0, 0, Width(), Height()};
  } else if (center_) {
    OffsetRect(&dest, (Width() - picture_->Width()) / 2, (Height() - picture_->Height()) / 2);
  }
  picture_->Draw(dc, dest, Transparent());
}

// ---- speed button ------------------------------------------------------------------------

const TClassInfo& TSpeedButton::StaticClass() {
  static TClassInfo info(L"TSpeedButton", &TGraphicControl::StaticClass());
  static const bool published = [] {
    info.Object<TSpeedButton, TBitmapImage>(L"Glyph", L"TBitmap", &TSpeedButton::Glyph)
        .Integer<TSpeedButton>(L"NumGlyphs", &TSpeedButton::NumGlyphs, &TSpeedButton::SetNumGlyphs)
        .Boolean<TSpeedButton>(L"Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat)
        .Boolean<TSpeedButton>(L"Down", &TSpeedButton::Down, &TSpeedButton::SetDown)
        .Integer<TSpeedButton>(L"GroupIndex", &TSpeedButton::GroupIndex,
                               &TSpeedButton::SetGroupIndex)
        .Boolean<TSpeedButton>(L"AllowAllUp", &TSpeedButton::AllowAllUp,
                               &TSpeedButton::SetAllowAllUp)
        .Integer<TSpeedButton>(L"Margin", &TSpeedButton::Margin, &TSpeedButton::SetMargin)
        .Integer<TSpeedButton>(L"Spacing", &TSpeedButton::Spacing, &TSpeedButton::SetSpacing)
        .Enum<TSpeedButton, TButtonLayout>(
            L"Layout", {L"blGlyphLeft", L"blGlyphRight", L"blGlyphTop", L"blGlyphBottom"},
            &TSpeedButton::Layout, &TSpeedButton::SetLayout);
    return true;
  }();
  (void)published;
  return info;
}
VELMO_NAMED_CLASS_INFO(TTntSpeedButton, TSpeedButton)

TSpeedButton::TSpeedButton(TComponent* owner)
    : TGraphicControl(owner), glyph_(std::make_unique<TBitmapImage>()) {
  SetBounds(0, 0, 23, 22);
}

void TSpeedButton::SetNumGlyphs(int v) {
  numGlyphs_ = std::clamp(v, 1, 4);
  Invalidate();
}
void TSpeedButton::SetFlat(bool v) {
  flat_ = v;
  Invalidate();
}
void TSpeedButton::SetDown(bool v) {
  if (down_ == v) return;
  down_ = v;
  if (v && groupIndex_ != 0 && Parent()) {
    for (TControl* c : Parent()->Controls()) {
      if (auto* other = dynamic_cast<TSpeedButton*>(c);
          other && other != this && other->groupIndex_ == groupIndex_) {
        other->SetDown(false);
      }
    }
  }
  Invalidate();
}
void TSpeedButton::SetMargin(int v) {
  margin_ = v;
  Invalidate();
}
void TSpeedButton::SetSpacing(int v) {
  spacing_ = v;
  Invalidate();
}
void TSpeedButton::SetLayout(TButtonLayout v) {
  layout_ = v;
  Invalidate();
}

void TSpeedButton::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      TGraphicControl::WndProc(m);
      // A flat button shows its edge only under the mouse.
      if (flat_ && Enabled()) Repaint();
      return;
    case WM_LBUTTONDOWN:
      if (Enabled()) {
        pressed_ = true;
        Repaint();
      }
      break;
    case WM_LBUTTONUP:
      if (pressed_) {
        pressed_ = false;
        POINT pt{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
        if (groupIndex_ != 0 && pt.x >= 0 && pt.y >= 0 && pt.x < Width() && pt.y < Height()) {
          SetDown(allowAllUp_ ? !down_ : true);
        }
        Repaint();
      }
      break;
    default:
      break;
  }
  TGraphicControl::WndProc(m);
}

void TSpeedButton::Paint(HDC dc) {
  RECT r{0, 0, Width(), Height()};
  bool sunken = pressed_ || down_;
  if (!Transparent() || !flat_) {
    GdiObject<HBRUSH> brush(CreateSolidBrush(ColorToRGB(Color())));
    FillRect(dc, &r, brush.get());
  }
  if (flat_) {
    if (sunken) {
      DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
    } else if (MouseInControl() && Enabled()) {
      DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
    }
  } else {
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (sunken ? DFCS_PUSHED : 0));
  }
  InflateRect(&r, -1, -1);
  int glyphIndex = !Enabled() ? 1 : sunken ? 2 : 0;
  TGlyphLayout g{glyph_.get(), numGlyphs_, glyphIndex, layout_, margin_, spacing_};
  DrawButtonFace(dc, r, Caption(), *Font(), Enabled(), g, sunken ? 1 : 0);
}

// ---- timer -------------------------------------------------------------------------------

const TClassInfo& TTimer::StaticClass() {
  static TClassInfo info(L"TTimer", &TComponent::StaticClass());
  static const bool published = [] {
    info.Integer<TTimer>(L"Interval", &TTimer::Interval, &TTimer::SetInterval)
        .Boolean<TTimer>(L"Enabled", &TTimer::Enabled, &TTimer::SetEnabled)
        .Event<TTimer>(L"OnTimer", &TTimer::OnTimer);
    return true;
  }();
  (void)published;
  return info;
}

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = TTimer::WndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TPUtilWindow";
    return RegisterClassExW(&wc) != 0;
  }();
  (void)registered;
  window_ = CreateWindowExW(0, L"TPUtilWindow", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  Update();
}

TTimer::~TTimer() {
  if (window_) {
    KillTimer(window_, 1);
    DestroyWindow(window_);
  }
}

void TTimer::SetInterval(int v) {
  interval_ = v;
  Update();
}

void TTimer::SetEnabled(bool v) {
  enabled_ = v;
  Update();
}

void TTimer::Update() {
  if (!window_) return;
  KillTimer(window_, 1);
  if (enabled_ && interval_ > 0) SetTimer(window_, 1, static_cast<UINT>(interval_), nullptr);
}

LRESULT CALLBACK TTimer::WndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_TIMER) {
    auto* timer = reinterpret_cast<TTimer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (timer && timer->enabled_ && timer->OnTimer) timer->OnTimer(*timer);
    return 0;
  }
  return DefWindowProcW(window, msg, wParam, lParam);
}

}  // namespace ui
