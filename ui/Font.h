#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "ui/GdiObject.h"
#include "ui/Persistent.h"

namespace ui {

// Colour values: 0x00BBGGRR, or a system colour (top byte 0xFF, low byte the index).
using TColor = int;
inline constexpr TColor clBtnFace = static_cast<TColor>(0xFF000000 | COLOR_BTNFACE);
inline constexpr TColor clWindow = static_cast<TColor>(0xFF000000 | COLOR_WINDOW);
inline constexpr TColor clWindowText = static_cast<TColor>(0xFF000000 | COLOR_WINDOWTEXT);
inline constexpr TColor clBtnText = static_cast<TColor>(0xFF000000 | COLOR_BTNTEXT);
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clNone = 0x1FFFFFFF;
COLORREF ColorToRGB(TColor color);
// "clWhite", "clBtnFace", "$00FF8000" or a decimal number; false when not a colour.
bool ColorFromText(const std::wstring& text, TColor& color);
std::wstring ColorToText(TColor color);

enum TFontStyle : int { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

// Name, height (negative: character height in pixels), colour and style of a text; the
// font handle is made on first use and made again after any change.
class TFont : public TPersistent {
  VELMO_DECLARE_CLASS
 public:
  TFont() = default;
  void Assign(const TFont& other);

  std::wstring Name() const { return name_; }
  void SetName(const std::wstring& name);
  int Height() const { return height_; }
  void SetHeight(int height);
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  int Style() const { return style_; }
  void SetStyle(int style);
  int Charset() const { return charset_; }
  void SetCharset(int charset);

  HFONT Handle() const;
  std::function<void()> OnChange;

 private:
  void Changed();

  std::wstring name_ = L"Tahoma";
  int height_ = -11;
  TColor color_ = clWindowText;
  int style_ = 0;
  int charset_ = DEFAULT_CHARSET;
  mutable GdiObject<HFONT> handle_;
};

}  // namespace ui
