#include "skin/controls/SkinBitButton.h"

#include <algorithm>

#include "skin/controls/PropertyAccess.h"
#include "skin/data/ElementDrawing.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinImages.h"
#include "ui/BitmapImage.h"
#include "ui/ComCtrls.h"
#include "ui/GdiObject.h"

VELMO_NAMED_CLASS_INFO(TSkinBitButton, TSkinButton)

namespace {}  // namespace

TSkinBitButton::TSkinBitButton(ui::TComponent* owner) : TSkinButton(owner) {}

std::wstring TSkinBitButton::GlyphProperty() const {
  return settings_.imageKind.empty() ? L"Glyph" : settings_.imageKind;
}

void TSkinBitButton::DrawSkin(HDC dc, const RECT& rect) {
  if (!HasImage(ButtonsRecord())) return;
  RefreshButtonState();
  const int frame = FaceFrame();
  if (!BeginFace(dc, rect, frame)) return;
  {
    ui::Bitmap::Canvas canvas(face_);
    Content content;
    content.glyphFrame = !enabled_ ? 2 : (state_ & kPressed) ? 3 : 1;
    content.disabled = !enabled_;
    content.textColour = TextColour(frame);
    DrawContent(canvas.dc(), {0, 0, face_.Width(), face_.Height()}, content);
  }
  EndFace(dc, rect);
}

void TSkinBitButton::DrawContent(HDC dc, const RECT& face, const Content& content) const {
  const ui::TControl* control = FrameworkControl();
  auto* glyph = dynamic_cast<ui::TBitmapImage*>(skin::ObjectProperty(control, GlyphProperty()));
  if (glyph && glyph->Empty()) glyph = nullptr;
  const int numGlyphs = std::max(1, skin::IntProperty(control, L"NumGlyphs"));
  auto* images = dynamic_cast<ui::TCustomImageList*>(skin::ObjectProperty(control, L"Images"));
  const int imageIndex = skin::IntProperty(control, L"ImageIndex");
  const int disabledIndex = skin::IntProperty(control, L"DisabledIndex");
  int margin = skin::IntProperty(control, L"Margin");
  int spacing = skin::IntProperty(control, L"Spacing");
  const std::wstring layout = ui::LowerCase(skin::EnumProperty(control, L"Layout"));
  const bool centred = ui::SameText(skin::EnumProperty(control, L"Alignment"), L"taCenter");
  const bool useList = !glyph && images && imageIndex != -1;
  const int W = face.right - face.left, H = face.bottom - face.top;

  SIZE g{0, 0};
  if (glyph)
    g = {glyph->Width() / numGlyphs, glyph->Height()};
  else if (useList)
    g = {images->Width(), images->Height()};

  const bool vertical = layout == L"blglyphtop" || layout == L"blglyphbottom";
  const std::wstring text = CaptionLines(caption_);
  const UINT rtl = RightToLeft() ? DT_RTLREADING : 0;
  SIZE t{0, 0};
  ui::SelectObjectGuard font(dc, ControlFont());
  if (!text.empty()) {
    RECT measure{0, 0, W - 4 - (vertical ? 0 : g.cx + 2), H - 4 - (vertical ? g.cy + 2 : 0)};
    DrawTextW(dc, text.c_str(), -1, &measure, DT_CALCRECT | DT_WORDBREAK | rtl);
    t = {measure.right - measure.left, measure.bottom - measure.top};
  }

  POINT gp{0, 0}, tp{0, 0};
  if (vertical) {
    gp.x = (W - g.cx + 1) / 2;
    tp.x = (W - t.cx + 1) / 2;
  } else {
    gp.y = (H - g.cy + 1) / 2;
    tp.y = (H - t.cy + 1) / 2;
  }
  if (t.cx == 0 || g.cx == 0) spacing = 0;
  const int along = vertical ? H : W;
  const int glyphLength = vertical ? g.cy : g.cx;
  const int textLength = vertical ? t.cy : t.cx;
  if (margin == -1 || centred) {
    if (spacing == -1) {
      margin = (along - glyphLength - textLength) / 3;
      spacing = margin;
    } else {
      margin = (along - (glyphLength + spacing + textLength)) / 2;
    }
  } else if (spacing == -1) {
    spacing = ((along - margin - glyphLength) - textLength) / 2;
  }
  UINT align = DT_LEFT;
  if (layout == L"blglyphright") {
    gp.x = W - margin - g.cx;
    tp.x = gp.x - spacing - t.cx;
    align = DT_RIGHT;
  } else if (layout == L"blglyphtop") {
    gp.y = margin;
    tp.y = gp.y + g.cy + spacing;
    align = DT_CENTER;
  } else if (layout == L"blglyphbottom") {
    gp.y = H - margin - g.cy;
    tp.y = gp.y - spacing - t.cy;
    align = DT_CENTER;
  } else {
    gp.x = margin;
    tp.x = gp.x + g.cx + spacing;
  }
  gp.x += face.left;
  gp.y += face.top;
  tp.x += face.left;
  tp.y += face.top;

  if (glyph && g.cx > 0 && g.cy > 0) {
    const int frame = content.glyphFrame > numGlyphs ? 1 : content.glyphFrame;
    ui::Bitmap piece(g.cx, g.cy);
    {
      ui::Bitmap::Canvas to(piece);
      ui::Bitmap::Canvas from(glyph->Image());
      BitBlt(to.dc(), 0, 0, g.cx, g.cy, from.dc(), (frame - 1) * g.cx, 0, SRCCOPY);
    }
    if (content.disabled) skin::Grayscale(piece);
    const COLORREF key = piece.Pixel(0, g.cy - 1);
    skin::DrawTransparent(dc, {gp.x, gp.y, gp.x + g.cx, gp.y + g.cy}, piece, key);
  } else if (useList) {
    int index = imageIndex;
    if (content.disabled && disabledIndex != -1) index = disabledIndex;
    images->Draw(dc, gp.x, gp.y, index);
  }

  if (!text.empty()) {
    RECT r{tp.x, tp.y, tp.x + t.cx, tp.y + t.cy};
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, content.textColour);
    DrawTextW(dc, text.c_str(), -1, &r, DT_WORDBREAK | align | rtl);
    SetBkMode(dc, oldMode);
    if (focused_ && !HasOption(xoNoFocusRect)) {
      InflateRect(&r, 2, 2);
      DrawFocusRect(dc, &r);
    }
  }
}
