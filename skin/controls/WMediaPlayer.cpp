#include "skin/controls/WMediaPlayer.h"

#include <windowsx.h>

#include <cwctype>
#include <string>

#include "skin/controls/OffscreenFace.h"
#include "skin/data/ElementDrawing.h"
#include "skin/data/SkinImages.h"
#include "skin/data/SkinRecords.h"
#include "ui/GdiObject.h"

VELMO_NAMED_CLASS_INFO(TWMediaPlayer, ui::TCustomPanel)

const std::array<const wchar_t*, TWMediaPlayer::kKinds> TWMediaPlayer::kNames = {
    L"btPlay", L"btPause", L"btStop",   L"btNext", L"btPrev",
    L"btStep", L"btBack",  L"btRecord", L"btEject"};

namespace {

// The looks' resource prefixes, in the order of the glyph arrays.
constexpr const wchar_t* kLooks[] = {L"MPEN", L"MPDI", L"MPCO"};
enum : int { kEnabled = 0, kDisabled = 1, kColoured = 2 };

std::wstring Upper(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(std::towupper(c));
  return text;
}

ui::Bitmap LoadGlyph(const std::wstring& name) {
  HANDLE image =
      LoadImageW(GetModuleHandleW(nullptr), name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
  ui::GdiObject<HBITMAP> owned(static_cast<HBITMAP>(image));
  return owned ? ui::Bitmap::FromHandle(owned.get()) : ui::Bitmap();
}

}  // namespace

TWMediaPlayer::TWMediaPlayer(ui::TComponent* owner, ui::TWinControl& player,
                             const SkinRecords* records)
    : ui::TCustomPanel(owner), player_(player), records_(records) {
  SetBevelOuter(ui::TBevelCut::bvNone);
  for (int kind = 0; kind < kKinds; ++kind) {
    // "btPlay" is the resource's "PLAY".
    const std::wstring button = Upper(std::wstring(kNames[kind]).substr(2));
    for (int look = 0; look < 3; ++look)
      glyphs_[kind][look] = LoadGlyph(std::wstring(kLooks[look]) + L"_" + button);
  }
}

std::array<bool, TWMediaPlayer::kKinds> TWMediaPlayer::Kinds(const wchar_t* property) const {
  const std::wstring text = Upper(player_.GetPropText(property).value_or(L""));
  std::array<bool, kKinds> kinds{};
  for (int kind = 0; kind < kKinds; ++kind)
    kinds[kind] = text.find(Upper(kNames[kind])) != std::wstring::npos;
  return kinds;
}

std::vector<std::pair<int, RECT>> TWMediaPlayer::ButtonRects() const {
  const std::array<bool, kKinds> visible = Kinds(L"VisibleButtons");
  int count = 0;
  for (bool v : visible) count += v;
  std::vector<std::pair<int, RECT>> rects;
  if (count == 0) return rects;
  const int width = Width() / count;
  int x = 0;
  for (int kind = 0; kind < kKinds; ++kind) {
    if (!visible[kind]) continue;
    rects.push_back({kind, {x, 0, x + width, Height()}});
    x += width;
  }
  return rects;
}

void TWMediaPlayer::WndProc(ui::TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP: {
      const POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
      pressed_ = -1;
      if (m.Msg == WM_LBUTTONDOWN) {
        for (auto& [kind, r] : ButtonRects())
          if (PtInRect(&r, p)) pressed_ = kind;
        SetCapture(WindowHandle());
      } else {
        ReleaseCapture();
      }
      Invalidate();
      // The player lies under the panel with the same bounds: the same point is its button.
      if (player_.HandleAllocated())
        PostMessageW(player_.WindowHandle(), m.Msg, m.WParam, m.LParam);
      m.Result = 0;
      return;
    }
    case WM_ERASEBKGND:
      m.Result = 1;
      return;
    default:
      ui::TCustomPanel::WndProc(m);
  }
}

void TWMediaPlayer::PaintWindow(HDC dc) {
  const RECT client{0, 0, Width(), Height()};
  const COLORREF faceColour =
      records_ ? skin::ResolveColour(records_->Colours.ButtonFace) : GetSysColor(COLOR_BTNFACE);
  ui::GdiObject<HBRUSH> brush(CreateSolidBrush(faceColour));
  OffscreenFace face(client);
  if (!face.Ready()) {
    FillRect(dc, &client, brush.get());  // GDI ran out: a plain face
    return;
  }
  FillRect(face.dc(), &client, brush.get());
  try {
    PaintButtons(face.dc());
  } catch (...) {
    // As far as it got.
  }
  face.CopyTo(dc);
}

void TWMediaPlayer::PaintButtons(HDC dc) {
  const std::array<bool, kKinds> enabled = Kinds(L"EnabledButtons");
  const std::array<bool, kKinds> coloured = Kinds(L"ColoredButtons");
  const TDataSkinButton* buttons = records_ ? records_->Buttons.get() : nullptr;
  for (auto& [kind, r] : ButtonRects()) {
    const bool on = enabled[kind] && player_.Enabled();
    if (buttons && !buttons->Bitmap.Empty()) {
      const int frame = !on ? 3 : kind == pressed_ ? 2 : 1;
      skin::DrawElement(dc, r,
                        {&buttons->Bitmap,
                         buttons->Margins,
                         {5, frame, false},
                         buttons->Tile != 0,
                         buttons->Trans != 0});
    }
    const ui::Bitmap& glyph = glyphs_[kind][!on              ? kDisabled
                                            : coloured[kind] ? kColoured
                                                             : kEnabled];
    if (glyph.Empty()) continue;
    const int x = (r.left + r.right - glyph.Width()) / 2;
    const int y = (r.top + r.bottom - glyph.Height()) / 2;
    skin::DrawTransparent(dc, {x, y, x + glyph.Width(), y + glyph.Height()}, glyph);
  }
}
