#include "ui/Font.h"

#include <cwchar>
#include <cwctype>

namespace ui {

namespace {

struct NamedColor {
  const wchar_t* name;
  TColor value;
};

constexpr NamedColor kColors[] = {
    {L"clBlack", 0x000000},
    {L"clMaroon", 0x000080},
    {L"clGreen", 0x008000},
    {L"clOlive", 0x008080},
    {L"clNavy", 0x800000},
    {L"clPurple", 0x800080},
    {L"clTeal", 0x808000},
    {L"clGray", 0x808080},
    {L"clSilver", 0xC0C0C0},
    {L"clRed", 0x0000FF},
    {L"clLime", 0x00FF00},
    {L"clYellow", 0x00FFFF},
    {L"clBlue", 0xFF0000},
    {L"clFuchsia", 0xFF00FF},
    {L"clAqua", 0xFFFF00},
    {L"clWhite", 0xFFFFFF},
    {L"clBtnFace", clBtnFace},
    {L"clWindow", clWindow},
    {L"clWindowText", clWindowText},
    {L"clBtnText", clBtnText},
    {L"clBtnShadow", static_cast<TColor>(0xFF000000 | COLOR_BTNSHADOW)},
    {L"clBtnHighlight", static_cast<TColor>(0xFF000000 | COLOR_BTNHIGHLIGHT)},
    {L"clHighlight", static_cast<TColor>(0xFF000000 | COLOR_HIGHLIGHT)},
    {L"clHighlightText", static_cast<TColor>(0xFF000000 | COLOR_HIGHLIGHTTEXT)},
    {L"clGrayText", static_cast<TColor>(0xFF000000 | COLOR_GRAYTEXT)},
    {L"clNone", clNone},
};

}  // namespace

COLORREF ColorToRGB(TColor color) {
  if (static_cast<unsigned>(color) >> 24 == 0xFF) return GetSysColor(color & 0xFF);
  return static_cast<COLORREF>(color) & 0xFFFFFF;
}

bool ColorFromText(const std::wstring& text, TColor& color) {
  for (const NamedColor& c : kColors) {
    if (_wcsicmp(c.name, text.c_str()) == 0) {
      color = c.value;
      return true;
    }
  }
  if (text.empty()) return false;
  wchar_t* end = nullptr;
  unsigned long v = text[0] == L'$'
                        ? std::wcstoul(text.c_str() + 1, &end, 16)
                        : static_cast<unsigned long>(std::wcstol(text.c_str(), &end, 10));
  if (!end || *end != 0) return false;
  color = static_cast<TColor>(v);
  return true;
}

std::wstring ColorToText(TColor color) {
  for (const NamedColor& c : kColors) {
    if (c.value == color) return c.name;
  }
  wchar_t buffer[16];
  swprintf(buffer, 16, L"$%08X", static_cast<unsigned>(color));
  return buffer;
}

const TClassInfo& TFont::StaticClass() {
  static TClassInfo info(L"TFont", &TPersistent::StaticClass());
  static const bool published = [] {
    info.Text<TFont>(L"Name", &TFont::Name, &TFont::SetName)
        .Integer<TFont>(L"Height", &TFont::Height, &TFont::SetHeight)
        .Integer<TFont>(L"Charset", &TFont::Charset, &TFont::SetCharset);
    TPropInfo color(L"Color", TPropKind::Integer);
    color.getOrdinal = [](const TPersistent& o) { return static_cast<const TFont&>(o).Color(); };
    color.setOrdinal = [](TPersistent& o, int v) { static_cast<TFont&>(o).SetColor(v); };
    color.parseInteger = [](const std::wstring& text, int& v) { return ColorFromText(text, v); };
    color.formatInteger = [](int v) { return ColorToText(v); };
    info.Add(std::move(color));
    TPropInfo style(L"Style", TPropKind::Set,
                    {L"fsBold", L"fsItalic", L"fsUnderline", L"fsStrikeOut"});
    style.getOrdinal = [](const TPersistent& o) { return static_cast<const TFont&>(o).Style(); };
    style.setOrdinal = [](TPersistent& o, int v) { static_cast<TFont&>(o).SetStyle(v); };
    info.Add(std::move(style));
    return true;
  }();
  (void)published;
  return info;
}

void TFont::Assign(const TFont& other) {
  name_ = other.name_;
  height_ = other.height_;
  color_ = other.color_;
  style_ = other.style_;
  charset_ = other.charset_;
  Changed();
}

void TFont::SetName(const std::wstring& name) {
  if (name_ == name) return;
  name_ = name;
  Changed();
}
void TFont::SetHeight(int height) {
  if (height_ == height) return;
  height_ = height;
  Changed();
}
void TFont::SetColor(TColor color) {
  if (color_ == color) return;
  color_ = color;
  Changed();
}
void TFont::SetStyle(int style) {
  if (style_ == style) return;
  style_ = style;
  Changed();
}
void TFont::SetCharset(int charset) {
  if (charset_ == charset) return;
  charset_ = charset;
  Changed();
}

void TFont::Changed() {
  handle_.reset();
  if (OnChange) OnChange();
}

HFONT TFont::Handle() const {
  if (!handle_) {
    LOGFONTW lf{};
    lf.lfHeight = height_;
    lf.lfWeight = (style_ & fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (style_ & fsItalic) ? TRUE : FALSE;
    lf.lfUnderline = (style_ & fsUnderline) ? TRUE : FALSE;
    lf.lfStrikeOut = (style_ & fsStrikeOut) ? TRUE : FALSE;
    lf.lfCharSet = static_cast<BYTE>(charset_);
    lf.lfQuality = DEFAULT_QUALITY;
    wcsncpy(lf.lfFaceName, name_.c_str(), LF_FACESIZE - 1);
    handle_.reset(CreateFontIndirectW(&lf));
  }
  return handle_.get();
}

}  // namespace ui
