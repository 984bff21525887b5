#include "skin/forms/MenuItemPainter.h"

#include <algorithm>

#include "skin/data/ElementDrawing.h"
#include "skin/data/SkinImages.h"
#include "skin/data/SkinMetrics.h"
#include "skin/data/SkinRecords.h"
#include "skin/forms/MenuItemCache.h"
#include "ui/Menus.h"

namespace skin {

namespace {

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

constexpr int kSeparatorLineOffset = 4;  // the etched line's distance from the item's top

void Fill(HDC dc, const RECT& r, COLORREF colour) {
  ui::GdiObject<HBRUSH> brush(CreateSolidBrush(colour));
  FillRect(dc, &r, brush.get());
}

RECT Mirror(const RECT& r, int width) { return {width - r.right, r.top, width - r.left, r.bottom}; }

void EtchedLine(HDC dc, int width) {
  RECT line{0, kSeparatorLineOffset, width, kSeparatorLineOffset + 2};
  DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
}

// The system's check mark, coloured: drawn black on white into a mask, then the mask paints
// the colour where it is black.
void DrawCheckMark(HDC dc, const RECT& area, COLORREF colour) {
  const int cx = skin::SkinMetric(SM_CXMENUCHECK), cy = skin::SkinMetric(SM_CYMENUCHECK);
  ui::GdiObject<HBITMAP> mask(CreateBitmap(cx, cy, 1, 1, nullptr));
  ui::MemoryDC maskDC;
  ui::SelectObjectGuard selectMask(maskDC.get(), mask.get());
  RECT r{0, 0, cx, cy};
  DrawFrameControl(maskDC.get(), &r, DFC_MENU, DFCS_MENUCHECK);
  ui::GdiObject<HBRUSH> brush(CreateSolidBrush(colour));
  ui::SelectObjectGuard selectBrush(dc, brush.get());
  const COLORREF text = SetTextColor(dc, RGB(0, 0, 0)), back = SetBkColor(dc, RGB(255, 255, 255));
  // Where the mask is black the brush, elsewhere the destination.
  constexpr DWORD kBrushWhereBlack = 0x00B8074A;
  BitBlt(dc, area.left + (Width(area) - cx) / 2, area.top + (Height(area) - cy) / 2, cx, cy,
         maskDC.get(), 0, 0, kBrushWhereBlack);
  SetTextColor(dc, text);
  SetBkColor(dc, back);
}

// A checked item with an image: the glyph stands on a dither of face and highlight, sunken.
void DrawCheckedBack(HDC dc, const RECT& area, const SkinColours& colours) {
  ui::Bitmap pattern(8, 8);
  const COLORREF face = ResolveColour(colours.ButtonFace);
  const COLORREF light = ResolveColour(colours.ButtonHilight);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) pattern.SetPixel(x, y, (x + y) % 2 ? light : face);
  ui::GdiObject<HBRUSH> brush(CreatePatternBrush(pattern.Handle()));
  FillRect(dc, &area, brush.get());
  RECT edge = area;
  DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
}

// The image, or a grey copy of it for a disabled item.
void DrawImage(HDC dc, HIMAGELIST images, int index, POINT at, bool enabled) {
  if (enabled) {
    ImageList_Draw(images, index, dc, at.x, at.y, ILD_TRANSPARENT);
    return;
  }
  int cx = 0, cy = 0;
  ImageList_GetIconSize(images, &cx, &cy);
  ui::Bitmap grey(cx, cy);
  grey.Fill(kKeyColour);
  {
    ui::Bitmap::Canvas canvas(grey);
    ImageList_Draw(images, index, canvas.dc(), 0, 0, ILD_TRANSPARENT);
  }
  for (int y = 0; y < cy; ++y) {
    for (int x = 0; x < cx; ++x) {
      const COLORREF c = grey.Pixel(x, y);
      if (c == kKeyColour) continue;
      // Light grey from the luminance, so that the shape stays readable.
      const int l = (GetRValue(c) * 30 + GetGValue(c) * 59 + GetBValue(c) * 11) / 100;
      const int v = 128 + l / 2;
      grey.SetPixel(x, y, RGB(v, v, v));
    }
  }
  DrawTransparent(dc, {at.x, at.y, at.x + cx, at.y + cy}, grey);
}

void DrawContent(HDC dc, int w, int h, const SkinRecords& records, const MenuItemView& view,
                 UINT state) {
  const SkinColours& colours = records.Colours;
  const int marginLeft = records.MenuItem ? records.MenuItem->Margins.left : 0;
  const bool selected = (state & ODS_SELECTED) != 0;
  int imageWidth = 16, imageHeight = 16;
  const bool hasImage = view.images && view.imageIndex >= 0 &&
                        view.imageIndex < ImageList_GetImageCount(view.images) &&
                        ImageList_GetIconSize(view.images, &imageWidth, &imageHeight);
  if (view.images && !hasImage) ImageList_GetIconSize(view.images, &imageWidth, &imageHeight);
  int glyphSize = view.images ? imageWidth : 16;
  if (view.checked) glyphSize = std::max(glyphSize, 16);
  const int glyphTop = std::max(1, (h - glyphSize) / 2);
  RECT glyph{1 + marginLeft, glyphTop, 1 + marginLeft + glyphSize, glyphTop + glyphSize};
  if (view.rightToLeft) glyph = Mirror(glyph, w);

  if (hasImage) {
    if (view.checked) DrawCheckedBack(dc, glyph, colours);
    DrawImage(
        dc, view.images, view.imageIndex,
        {glyph.left + (glyphSize - imageWidth) / 2, glyph.top + (glyphSize - imageHeight) / 2},
        view.enabled);
  } else if (view.checked) {
    DrawCheckMark(dc, glyph, ResolveColour(colours.ButtonText));
  }

  ui::GdiObject<HFONT> font = skin::SkinMenuFont(view.isDefault);
  ui::SelectObjectGuard selectFont(dc, font.get());
  COLORREF colour = ResolveColour(colours.MenuText);
  if (!view.enabled) {
    colour = colours.ButtonShadow == colours.MenuText ? GetSysColor(COLOR_GRAYTEXT)
                                                      : ResolveColour(colours.ButtonShadow);
  } else if (selected) {
    colour = ResolveColour(colours.HilightText);
  }
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colour);
  UINT flags = DT_SINGLELINE | DT_EXPANDTABS;
  if (state & ODS_NOACCEL) flags |= DT_HIDEPREFIX;
  // An empty caption (or a lone prefix character) still takes a space.
  const std::wstring caption =
      view.caption.empty() || view.caption == L"&" ? std::wstring(L" ") : view.caption;
  RECT measured{};
  DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &measured,
            DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS | DT_NOCLIP);
  const int textTop = (h - Height(measured)) / 2;
  const int left = 1 + marginLeft + glyphSize + 3;
  RECT text{left, textTop, std::min<int>(w - 1, left + Width(measured)),
            textTop + Height(measured)};
  RECT shortCut{text.right, textTop, w - 10, text.bottom};
  if (view.rightToLeft) {
    text = Mirror(text, w);
    shortCut = Mirror(shortCut, w);
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
              flags | DT_RIGHT | DT_RTLREADING);
  } else {
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text, flags);
  }
  if (!view.shortCut.empty() && shortCut.right > shortCut.left)
    DrawTextW(dc, view.shortCut.c_str(), static_cast<int>(view.shortCut.size()), &shortCut,
              DT_SINGLELINE | (view.rightToLeft ? DT_LEFT | DT_RTLREADING : DT_RIGHT));
  SetBkMode(dc, oldMode);
}

// The skin's separator: the lower part of the MenuItem image's second frame, its ends kept
// at their margins and the middle stretched.
void DrawSkinSeparator(HDC dc, int w, int h, const TDataSkinObject& record) {
  const RECT frame = FrameRect(record.Bitmap, {std::max(1, record.FrameCount), 2, false});
  const int rows = std::min<int>(h, Height(frame));
  if (rows <= 0 || Width(frame) <= 0) return;
  ui::Bitmap piece(Width(frame), rows);
  {
    ui::Bitmap::Canvas to(piece);
    ui::Bitmap::Canvas from(record.Bitmap);
    BitBlt(to.dc(), 0, 0, Width(frame), rows, from.dc(), frame.left, frame.bottom - rows, SRCCOPY);
  }
  Element element;
  element.strip = &piece;
  element.margins = {record.Margins.left, 0, record.Margins.right, 0};
  element.transparent = true;
  DrawElement(dc, {0, 0, w, h}, element);
}

}  // namespace

MenuItemView ViewOf(const ui::TMenuItem& item) {
  MenuItemView view;
  view.caption = item.Caption();
  if (item.ShortCut()) view.shortCut = ui::ShortCutToText(item.ShortCut());
  view.enabled = item.Enabled();
  view.checked = item.Checked();
  view.isDefault = item.Default();
  view.imageIndex = item.ImageIndex();
  if (const ui::TMenu* menu = item.GetParentMenu()) view.images = menu->Images();
  return view;
}

MenuItemView ViewOfRawItem(HMENU menu, UINT command) {
  MenuItemView view;
  wchar_t text[81] = {};
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STATE | MIIM_FTYPE | MIIM_STRING;
  info.dwTypeData = text;
  info.cch = 80;
  if (GetMenuItemInfoW(menu, command, FALSE, &info)) {
    view.enabled = (info.fState & (MFS_GRAYED | MFS_DISABLED)) == 0;
    view.checked = (info.fState & MFS_CHECKED) != 0;
    view.isDefault = (info.fState & MFS_DEFAULT) != 0;
    view.rightToLeft = (info.fType & MFT_RIGHTORDER) != 0;
  }
  std::wstring caption = (info.fType & MFT_SEPARATOR) ? std::wstring() : std::wstring(text);
  if (const size_t tab = caption.find(L'\t'); tab != std::wstring::npos) {
    view.shortCut = caption.substr(tab + 1);
    caption.resize(tab);
  }
  view.caption = caption.empty() ? std::wstring(L"-") : caption;
  return view;
}

namespace {

// The plain look straight onto the item: what is left when no bitmap can be made (GDI ran
// out). Whatever still fails to draw is left out.
void PaintPlainItem(const SkinRecords& records, const MenuItemView& view,
                    const MenuItemTarget& target) {
  const int w = Width(target.rect), h = Height(target.rect);
  const int saved = SaveDC(target.dc);
  OffsetViewportOrgEx(target.dc, target.rect.left, target.rect.top, nullptr);
  IntersectClipRect(target.dc, 0, 0, w, h);
  const bool selected = (target.state & ODS_SELECTED) != 0;
  try {
    Fill(target.dc, {0, 0, w, h},
         ResolveColour(selected ? records.Colours.Hilight : records.Colours.Menu));
    if (view.IsLine()) {
      EtchedLine(target.dc, w);
    } else {
      DrawContent(target.dc, w, h, records, view, target.state);
    }
  } catch (...) {
  }
  RestoreDC(target.dc, saved);
}

}  // namespace

void PaintMenuItem(const SkinRecords& records, const MenuItemView& view,
                   const MenuItemTarget& target, MenuItemLook look) {
  const int w = Width(target.rect), h = Height(target.rect);
  if (w <= 0 || h <= 0 || !target.dc) return;
  const TDataSkinObject* record = records.MenuItem.get();
  if (!record || record->Bitmap.Empty()) look = MenuItemLook::Plain;
  const bool selected = (target.state & ODS_SELECTED) != 0;
  // The same item in the same state on the same popup: a copy of what was composed before.
  MenuItemCache* cache = target.background.items;
  MenuItemCache::Key key;
  if (cache) {
    key = {view,
           look,
           w,
           h,
           target.state,
           target.rect.left + target.background.clientOrigin.x,
           target.rect.top + target.background.clientOrigin.y,
           &records,
           record ? record->Bitmap.Handle() : nullptr};
    if (const ui::Bitmap* kept = cache->Find(key)) {
      ui::Bitmap::Canvas canvas(*kept);
      BitBlt(target.dc, target.rect.left, target.rect.top, w, h, canvas.dc(), 0, 0, SRCCOPY);
      return;
    }
  }
  ui::Bitmap work;
  try {
    work = ui::Bitmap(w, h);
  } catch (...) {
    PaintPlainItem(records, view, target);
    return;
  }
  try {
    ui::Bitmap::Canvas canvas(work);
    HDC dc = canvas.dc();
    if (look == MenuItemLook::Plain) {
      Fill(dc, {0, 0, w, h},
           ResolveColour(selected ? records.Colours.Hilight : records.Colours.Menu));
      if (view.IsLine()) {
        EtchedLine(dc, w);
      } else {
        DrawContent(dc, w, h, records, view, target.state);
      }
    } else {
      if (target.background.bitmap) {
        ui::Bitmap::Canvas back(*target.background.bitmap);
        BitBlt(dc, 0, 0, w, h, back.dc(), target.rect.left + target.background.clientOrigin.x,
               target.rect.top + target.background.clientOrigin.y, SRCCOPY);
      } else {
        Fill(dc, {0, 0, w, h}, ResolveColour(records.Colours.Menu));
      }
      if (view.IsLine() && look == MenuItemLook::Skinned) {
        DrawSkinSeparator(dc, w, h, *record);
      } else {
        Element element;
        element.strip = &record->Bitmap;
        element.margins = record->Margins;
        element.frame = {std::max(1, record->FrameCount), selected ? 4 : 1, false};
        element.tileMiddle = record->Tile != 0;
        element.transparent = record->Trans != 0;
        DrawElement(dc, {0, 0, w, h}, element);
        if (view.IsLine()) {
          EtchedLine(dc, w);
        } else {
          DrawContent(dc, w, h, records, view, target.state);
        }
      }
    }
  } catch (...) {
    // A piece that needed a bitmap of its own (a separator, a greyed image) could not have
    // one: the item is drawn plainly instead.
    PaintPlainItem(records, view, target);
    return;
  }
  {
    ui::Bitmap::Canvas canvas(work);
    BitBlt(target.dc, target.rect.left, target.rect.top, w, h, canvas.dc(), 0, 0, SRCCOPY);
  }
  if (cache) cache->Store(std::move(key), std::move(work));
}

}  // namespace skin
