#include "ui/StdCtrls.h"

#include <commctrl.h>

#include <algorithm>

#include "ui/ComCtrls.h"

namespace ui {

namespace {

const std::vector<std::wstring> kAlignments = {L"taLeftJustify", L"taRightJustify", L"taCenter"};

}  // namespace

// ---- edit --------------------------------------------------------------------------------

const TClassInfo& TCustomEdit::StaticClass() {
  static TClassInfo info(L"TCustomEdit", &TWinControl::StaticClass());
  static const bool published = [] {
    info.Boolean<TCustomEdit>(L"ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly)
        .Enum<TCustomEdit, TBorderStyle>(L"BorderStyle", {L"bsNone", L"bsSingle"},
                                         &TCustomEdit::BorderStyle, &TCustomEdit::SetBorderStyle)
        .Text<TControl>(L"Text", &TControl::Caption, &TControl::SetCaption)
        .Event<TCustomEdit>(L"OnChange", &TCustomEdit::OnChange);
    return true;
  }();
  (void)published;
  return info;
}
VELMO_NAMED_CLASS_INFO(TEdit, TCustomEdit)
VELMO_NAMED_CLASS_INFO(TTntEdit, TEdit)

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
  SetTabStop(true);
  SetColor(clWindow);
  SetBounds(0, 0, 121, 21);
}

void TCustomEdit::SetReadOnly(bool v) {
  readOnly_ = v;
  if (HandleAllocated()) SendMessageW(WindowHandle(), EM_SETREADONLY, v, 0);
}

void TCustomEdit::SetBorderStyle(TBorderStyle v) {
  if (borderStyle_ == v) return;
  borderStyle_ = v;
  RecreateWnd();
}

void TCustomEdit::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.windowClass = FrameworkWindowClass(*this);
  p.baseClass = L"EDIT";
  p.style |= ES_AUTOHSCROLL | ES_LEFT | (readOnly_ ? ES_READONLY : 0);
  if (borderStyle_ == TBorderStyle::bsSingle) p.exStyle |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == EN_CHANGE) {
    if (OnChange && !Loading()) OnChange(*this);
    m.Result = 0;
    return;
  }
  TWinControl::WndProc(m);
}

// ---- buttons -----------------------------------------------------------------------------

const TClassInfo& TButtonControl::StaticClass() {
  static TClassInfo info(L"TButtonControl", &TWinControl::StaticClass());
  return info;
}

TButtonControl::TButtonControl(TComponent* owner) : TWinControl(owner) { SetTabStop(true); }

void TButtonControl::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.windowClass = FrameworkWindowClass(*this);
  p.baseClass = L"BUTTON";
}

void TButtonControl::WndProc(TMessage& m) {
  // A double click is a second click for these buttons.
  if (m.Msg == WM_LBUTTONDBLCLK) m.Msg = WM_LBUTTONDOWN;
  if (m.Msg == CN_COMMAND) {
    // The click comes back reflected from the parent.
    if (HIWORD(m.WParam) == BN_CLICKED) Click();
    m.Result = 0;
    return;
  }
  TWinControl::WndProc(m);
}

const TClassInfo& TButton::StaticClass() {
  static TClassInfo info(L"TButton", &TButtonControl::StaticClass());
  static const bool published = [] {
    info.Boolean<TButton>(L"Default", &TButton::Default, &TButton::SetDefault)
        .Boolean<TButton>(L"Cancel", &TButton::Cancel, &TButton::SetCancel);
    return true;
  }();
  (void)published;
  return info;
}
VELMO_NAMED_CLASS_INFO(TTntButton, TButton)

TButton::TButton(TComponent* owner) : TButtonControl(owner) { SetBounds(0, 0, 75, 25); }

void TButton::SetDefault(bool v) {
  if (default_ == v) return;
  default_ = v;
  if (HandleAllocated())
    SendMessageW(WindowHandle(), BM_SETSTYLE, v ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::CreateParams(TCreateParams& p) {
  TButtonControl::CreateParams(p);
  p.style |= default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

const TClassInfo& TBitBtn::StaticClass() {
  static TClassInfo info(L"TBitBtn", &TButton::StaticClass());
  static const bool published = [] {
    info.Object<TBitBtn, TBitmapImage>(L"Glyph", L"TBitmap", &TBitBtn::Glyph)
        .Integer<TBitBtn>(L"NumGlyphs", &TBitBtn::NumGlyphs, &TBitBtn::SetNumGlyphs)
        .Integer<TBitBtn>(L"Margin", &TBitBtn::Margin, &TBitBtn::SetMargin)
        .Integer<TBitBtn>(L"Spacing", &TBitBtn::Spacing, &TBitBtn::SetSpacing)
        .Enum<TBitBtn, TButtonLayout>(
            L"Layout", {L"blGlyphLeft", L"blGlyphRight", L"blGlyphTop", L"blGlyphBottom"},
            &TBitBtn::Layout, &TBitBtn::SetLayout)
        .Enum<TBitBtn, TBitBtnKind>(
            L"Kind",
            {L"bkCustom", L"bkOK", L"bkCancel", L"bkHelp", L"bkYes", L"bkNo", L"bkClose",
             L"bkAbort", L"bkRetry", L"bkIgnore", L"bkAll"},
            &TBitBtn::Kind, &TBitBtn::SetKind)
        .Integer<TBitBtn>(L"ImageIndex", &TBitBtn::ImageIndex, &TBitBtn::SetImageIndex)
        .Integer<TBitBtn>(L"DisabledIndex", &TBitBtn::DisabledIndex, &TBitBtn::SetDisabledIndex);
    TPropInfo images(L"Images", TPropKind::Object, {}, L"TCustomImageList");
    images.getObject = [](const TPersistent& o) -> TPersistent* {
      return static_cast<const TBitBtn&>(o).Images();
    };
    images.setObject = [](TPersistent& o, TPersistent* v) {
      static_cast<TBitBtn&>(o).SetImages(static_cast<TImageList*>(v));
    };
    info.Add(std::move(images));
    return true;
  }();
  (void)published;
  return info;
}
VELMO_NAMED_CLASS_INFO(TTntBitBtn, TBitBtn)

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner), glyph_(std::make_unique<TBitmapImage>()) {}

void TBitBtn::SetNumGlyphs(int v) {
  numGlyphs_ = std::clamp(v, 1, 4);
  Invalidate();
}
void TBitBtn::SetMargin(int v) {
  margin_ = v;
  Invalidate();
}
void TBitBtn::SetSpacing(int v) {
  spacing_ = v;
  Invalidate();
}
void TBitBtn::SetLayout(TButtonLayout v) {
  layout_ = v;
  Invalidate();
}
void TBitBtn::SetImages(TImageList* v) {
  if (images_) images_->RemoveFreeNotification(this);
  images_ = v;
  if (v) v->FreeNotification(this);
  Invalidate();
}
void TBitBtn::SetImageIndex(int v) {
  imageIndex_ = v;
  Invalidate();
}
void TBitBtn::SetDisabledIndex(int v) {
  disabledIndex_ = v;
  Invalidate();
}

void TBitBtn::Notification(TComponent* component, TOperation operation) {
  TButton::Notification(component, operation);
  if (operation == TOperation::Remove && component == images_) images_ = nullptr;
}

void TBitBtn::CreateParams(TCreateParams& p) {
  TButton::CreateParams(p);
  p.style = (p.style & ~(BS_DEFPUSHBUTTON | BS_PUSHBUTTON)) | BS_OWNERDRAW;
}

void TBitBtn::WndProc(TMessage& m) {
  if (m.Msg == CN_DRAWITEM) {
    DrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam));
    m.Result = TRUE;
    return;
  }
  if (m.Msg == CM_FOCUSCHANGED || m.Msg == CM_ENABLEDCHANGED) Invalidate();
  TButton::WndProc(m);
}

void DrawButtonFace(HDC dc, const RECT& area, const std::wstring& caption, const TFont& font,
                    bool enabled, const TGlyphLayout& g, int offset) {
  SelectObjectGuard selectFont(dc, font.Handle());
  RECT textRect{0, 0, 0, 0};
  if (!caption.empty()) {
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &textRect,
              DT_CALCRECT | DT_SINGLELINE);
  }
  int tw = textRect.right, th = textRect.bottom;
  int gw = 0, gh = 0;
  if (g.glyph && !g.glyph->Empty()) {
    gw = g.glyph->Width() / std::max(1, g.numGlyphs);
    gh = g.glyph->Height();
  }
  int spacing = (gw && tw) ? g.spacing : 0;
  bool horizontal =
      g.layout == TButtonLayout::blGlyphLeft || g.layout == TButtonLayout::blGlyphRight;
  int width = area.right - area.left, height = area.bottom - area.top;
  int total = horizontal ? gw + spacing + tw : gh + spacing + th;
  int start = g.margin >= 0 ? g.margin : ((horizontal ? width : height) - total) / 2;
  POINT gp{}, tp{};
  if (horizontal) {
    gp.y = (height - gh) / 2;
    tp.y = (height - th) / 2;
    if (g.layout == TButtonLayout::blGlyphLeft) {
      gp.x = start;
      tp.x = start + gw + spacing;
    } else {
      gp.x = width - start - gw;
      tp.x = gp.x - spacing - tw;
    }
  } else {
    gp.x = (width - gw) / 2;
    tp.x = (width - tw) / 2;
    if (g.layout == TButtonLayout::blGlyphTop) {
      gp.y = start;
      tp.y = start + gh + spacing;
    } else {
      gp.y = height - start - gh;
      tp.y = gp.y - spacing - th;
    }
  }
  if (gw) {
    int frame = std::min(g.glyphIndex, g.numGlyphs - 1);
    RECT dest{area.left + gp.x + offset, area.top + gp.y + offset, area.left + gp.x + offset + gw,
              area.top + gp.y + offset + gh};
    g.glyph->Draw(dc, dest, RECT{frame * gw, 0, frame * gw + gw, gh}, true);
  }
  if (tw) {
    RECT r{area.left + tp.x + offset, area.top + tp.y + offset, area.left + tp.x + offset + tw,
           area.top + tp.y + offset + th};
    int oldMode = SetBkMode(dc, TRANSPARENT);
    if (enabled) {
      SetTextColor(dc, ColorToRGB(font.Color()));
      DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &r, DT_SINGLELINE);
    } else {
      OffsetRect(&r, 1, 1);
      SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
      DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &r, DT_SINGLELINE);
      OffsetRect(&r, -1, -1);
      SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
      DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &r, DT_SINGLELINE);
    }
    SetBkMode(dc, oldMode);
  }
}

void TBitBtn::DrawItem(const DRAWITEMSTRUCT& item) {
  RECT r = item.rcItem;
  bool pressed = (item.itemState & ODS_SELECTED) != 0;
  bool focused = (item.itemState & ODS_FOCUS) != 0;
  bool enabled = (item.itemState & ODS_DISABLED) == 0;
  HDC dc = item.hDC;
  if (focused || Default()) {
    FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    InflateRect(&r, -1, -1);
  }
  DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
  TGlyphLayout g{glyph_.get(), numGlyphs_, enabled ? 0 : 1, layout_, margin_, spacing_};
  TBitmapImage fromList;
  if ((!glyph_ || glyph_->Empty()) && images_ && imageIndex_ >= 0) {
    int index = (!enabled && disabledIndex_ >= 0) ? disabledIndex_ : imageIndex_;
    fromList.Assign(images_->ImageBitmap(index));
    g = TGlyphLayout{&fromList, 1, 0, layout_, margin_, spacing_};
  }
  RECT inner = r;
  InflateRect(&inner, -2, -2);
  DrawButtonFace(dc, inner, Caption(), *Font(), enabled, g, pressed ? 1 : 0);
  if (focused) {
    RECT f = r;
    InflateRect(&f, -4, -4);
    DrawFocusRect(dc, &f);
  }
}

// ---- check box ---------------------------------------------------------------------------

const TClassInfo& TCustomCheckBox::StaticClass() {
  static TClassInfo info(L"TCustomCheckBox", &TButtonControl::StaticClass());
  static const bool published = [] {
    info.Boolean<TCustomCheckBox>(L"Checked", &TCustomCheckBox::Checked,
                                  &TCustomCheckBox::SetChecked)
        .Enum<TCustomCheckBox, TCheckBoxState>(L"State",
                                               {L"cbUnchecked", L"cbChecked", L"cbGrayed"},
                                               &TCustomCheckBox::State, &TCustomCheckBox::SetState)
        .Enum<TCustomCheckBox, TAlignment>(L"Alignment", kAlignments, &TCustomCheckBox::Alignment,
                                           &TCustomCheckBox::SetAlignment);
    return true;
  }();
  (void)published;
  return info;
}
VELMO_NAMED_CLASS_INFO(TCheckBox, TCustomCheckBox)
VELMO_NAMED_CLASS_INFO(TTntCheckBox, TCheckBox)

TCustomCheckBox::TCustomCheckBox(TComponent* owner) : TButtonControl(owner) {
  SetBounds(0, 0, 97, 17);
}

TCheckBoxState TCustomCheckBox::State() const {
  if (!const_cast<TCustomCheckBox*>(this)->HandleAllocated()) return state_;
  LRESULT check = SendMessageW(WindowHandle(), BM_GETCHECK, 0, 0);
  return check == BST_CHECKED         ? TCheckBoxState::cbChecked
         : check == BST_INDETERMINATE ? TCheckBoxState::cbGrayed
                                      : TCheckBoxState::cbUnchecked;
}

void TCustomCheckBox::SetState(TCheckBoxState v) {
  bool changed = State() != v;
  state_ = v;
  if (HandleAllocated()) SendMessageW(WindowHandle(), BM_SETCHECK, static_cast<WPARAM>(v), 0);
  if (changed && !Loading()) Click();
}

void TCustomCheckBox::SetAlignment(TAlignment v) {
  if (alignment_ == v) return;
  alignment_ = v;
  RecreateWnd();
}

void TCustomCheckBox::CreateParams(TCreateParams& p) {
  TButtonControl::CreateParams(p);
  p.style |= BS_3STATE | (alignment_ == TAlignment::taLeftJustify ? BS_LEFTTEXT : 0);
}

void TCustomCheckBox::InitializeWindow() {
  SendMessageW(WindowHandle(), BM_SETCHECK, static_cast<WPARAM>(state_), 0);
}

void TCustomCheckBox::SaveWindowState() { state_ = State(); }

void TCustomCheckBox::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND) {
    // The box toggles itself: a user's click moves between checked and unchecked.
    if (HIWORD(m.WParam) == BN_CLICKED) SetChecked(!Checked());
    m.Result = 0;
    return;
  }
  TButtonControl::WndProc(m);
}

// ---- radio button ------------------------------------------------------------------------

const TClassInfo& TRadioButton::StaticClass() {
  static TClassInfo info(L"TRadioButton", &TButtonControl::StaticClass());
  static const bool published = [] {
    info.Boolean<TRadioButton>(L"Checked", &TRadioButton::Checked, &TRadioButton::SetChecked)
        .Enum<TRadioButton, TAlignment>(L"Alignment", kAlignments, &TRadioButton::Alignment,
                                        &TRadioButton::SetAlignment);
    return true;
  }();
  (void)published;
  return info;
}
VELMO_NAMED_CLASS_INFO(TTntRadioButton, TRadioButton)

TRadioButton::TRadioButton(TComponent* owner) : TButtonControl(owner) {
  SetBounds(0, 0, 113, 17);
  SetTabStop(false);
}

bool TRadioButton::Checked() const { return checked_; }

void TRadioButton::SetChecked(bool v) {
  if (checked_ == v) return;
  checked_ = v;
  SetTabStop(v);
  if (HandleAllocated())
    SendMessageW(WindowHandle(), BM_SETCHECK, v ? BST_CHECKED : BST_UNCHECKED, 0);
  if (!v) return;
  if (Parent()) {
    for (TControl* c : Parent()->Controls()) {
      if (auto* other = dynamic_cast<TRadioButton*>(c); other && other != this)
        other->SetChecked(false);
    }
  }
  if (!Loading()) Click();
}

void TRadioButton::SetAlignment(TAlignment v) {
  if (alignment_ == v) return;
  alignment_ = v;
  RecreateWnd();
}

void TRadioButton::CreateParams(TCreateParams& p) {
  TButtonControl::CreateParams(p);
  p.style |= BS_RADIOBUTTON | (alignment_ == TAlignment::taLeftJustify ? BS_LEFTTEXT : 0);
}

void TRadioButton::InitializeWindow() {
  SendMessageW(WindowHandle(), BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND) {
    if (HIWORD(m.WParam) == BN_CLICKED) SetChecked(true);
    m.Result = 0;
    return;
  }
  TButtonControl::WndProc(m);
}

// ---- combo box ---------------------------------------------------------------------------

const TClassInfo& TCustomComboBox::StaticClass() {
  static TClassInfo info(L"TCustomComboBox", &TWinControl::StaticClass());
  static const bool published = [] {
    info.Integer<TCustomComboBox>(L"ItemIndex", &TCustomComboBox::ItemIndex,
                                  &TCustomComboBox::SetItemIndex)
        .Enum<TCustomComboBox, TComboBoxStyle>(L"Style",
                                               {L"csDropDown", L"csSimple", L"csDropDownList"},
                                               &TCustomComboBox::Style, &TCustomComboBox::SetStyle)
        .Integer<TCustomComboBox>(L"DropDownCount", &TCustomComboBox::DropDownCount,
                                  &TCustomComboBox::SetDropDownCount)
        .Text<TControl>(L"Text", &TControl::Caption, &TControl::SetCaption)
        .Event<TCustomComboBox>(L"OnChange", &TCustomComboBox::OnChange);
    TPropInfo items(L"Items", TPropKind::Strings);
    items.getStrings = [](const TPersistent& o) {
      return static_cast<const TCustomComboBox&>(o).Items();
    };
    items.setStrings = [](TPersistent& o, const std::vector<std::wstring>& v) {
      static_cast<TCustomComboBox&>(o).SetItems(v);
    };
    info.Add(std::move(items));
    return true;
  }();
  (void)published;
  return info;
}
VELMO_NAMED_CLASS_INFO(TComboBox, TCustomComboBox)
VELMO_NAMED_CLASS_INFO(TTntComboBox, TComboBox)

TCustomComboBox::TCustomComboBox(TComponent* owner) : TWinControl(owner) {
  SetTabStop(true);
  SetColor(clWindow);
  SetBounds(0, 0, 145, 21);
}

void TCustomComboBox::SetItems(const std::vector<std::wstring>& items) {
  int index = ItemIndex();
  items_ = items;
  if (HandleAllocated()) {
    SendMessageW(WindowHandle(), CB_RESETCONTENT, 0, 0);
    for (const auto& item : items_)
      SendMessageW(WindowHandle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  }
  SetItemIndex(index < static_cast<int>(items_.size()) ? index : -1);
}

int TCustomComboBox::ItemIndex() const {
  HWND h = WindowHandle();
  if (!h) return itemIndex_;
  return static_cast<int>(SendMessageW(h, CB_GETCURSEL, 0, 0));
}

void TCustomComboBox::SetItemIndex(int index) {
  itemIndex_ = index;
  if (HandleAllocated()) SendMessageW(WindowHandle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  if (index >= 0 && index < static_cast<int>(items_.size())) text_ = items_[index];
}

void TCustomComboBox::SetStyle(TComboBoxStyle v) {
  if (style_ == v) return;
  style_ = v;
  RecreateWnd();
}

void TCustomComboBox::SetBounds(int left, int top, int width, int height) {
  if (!HandleAllocated()) {
    TWinControl::SetBounds(left, top, width, height);
    return;
  }
  // The window's height includes its drop-down list; the control's is the closed box.
  int itemHeight = static_cast<int>(SendMessageW(WindowHandle(), CB_GETITEMHEIGHT, 0, 0));
  TWinControl::SetBounds(left, top, width, height + itemHeight * dropDownCount_ + 2);
  RECT r;
  GetWindowRect(WindowHandle(), &r);
  height_ = r.bottom - r.top;
}

void TCustomComboBox::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  p.windowClass = FrameworkWindowClass(*this);
  p.baseClass = L"COMBOBOX";
  p.style |= WS_VSCROLL | CBS_AUTOHSCROLL | CBS_HASSTRINGS;
  switch (style_) {
    case TComboBoxStyle::csDropDown:
      p.style |= CBS_DROPDOWN;
      break;
    case TComboBoxStyle::csSimple:
      p.style |= CBS_SIMPLE;
      break;
    case TComboBoxStyle::csDropDownList:
      p.style |= CBS_DROPDOWNLIST;
      break;
  }
}

void TCustomComboBox::CreateWindowHandle(const TCreateParams& params) {
  int closed = height_;
  height_ = closed + 16 * dropDownCount_ + 2;
  TWinControl::CreateWindowHandle(params);
  height_ = closed;
}

void TCustomComboBox::InitializeWindow() {
  for (const auto& item : items_)
    SendMessageW(WindowHandle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  SendMessageW(WindowHandle(), CB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
  RECT r;
  GetWindowRect(WindowHandle(), &r);
  height_ = r.bottom - r.top;
}

void TCustomComboBox::SaveWindowState() { itemIndex_ = ItemIndex(); }

void TCustomComboBox::WndProc(TMessage& m) {
  if (m.Msg == CN_COMMAND) {
    if (HIWORD(m.WParam) == CBN_SELCHANGE) {
      itemIndex_ = ItemIndex();
      if (OnChange) OnChange(*this);
    }
    m.Result = 0;
    return;
  }
  if (m.Msg == WM_WINDOWPOSCHANGED) {
    TWinControl::WndProc(m);
    RECT r;
    GetWindowRect(WindowHandle(), &r);
    height_ = r.bottom - r.top;
    return;
  }
  TWinControl::WndProc(m);
}

}  // namespace ui
