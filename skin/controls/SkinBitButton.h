#pragma once

#include "skin/controls/SkinButton.h"

// Buttons with a glyph: the push-button face, then the glyph ("Glyph" cut into NumGlyphs
// frames, or an image of "Images") and the caption laid out by Layout, Margin and Spacing as
// the framework lays them out, -1 spreading the free space. A disabled glyph is grey.
class TSkinBitButton : public TSkinButton {
  VELMO_DECLARE_CLASS
 public:
  explicit TSkinBitButton(ui::TComponent* owner);

 protected:
  void DrawSkin(HDC dc, const RECT& rect) override;

  // Glyph frame (from 1), the grey look and the caption's colour, into the face canvas.
  struct Content {
    int glyphFrame = 1;
    bool disabled = false;
    COLORREF textColour = 0;
  };
  void DrawContent(HDC dc, const RECT& face, const Content& content) const;
  // The property that holds the glyph: "Glyph", or the image kind the classification gave.
  std::wstring GlyphProperty() const;
};
