#include "skin/forms/WinSkinMenu.h"

#include <algorithm>

#include "skin/data/ElementDrawing.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinImages.h"
#include "skin/data/SkinMetrics.h"
#include "skin/forms/SkinManage.h"
#include "skin/forms/WinSkinForm.h"
#include "skin/forms/WinSysButton.h"
#include "ui/Menus.h"

namespace {

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

constexpr UINT kCaptionFlags = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

}  // namespace

TWinSkinMenu::TWinSkinMenu(TWinSkinForm& form, TSkinData& skinData)
    : form_(form), skinData_(skinData) {}

TMenuBtn* TWinSkinMenu::Button(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return MenuButtons[static_cast<size_t>(index)].get();
}

void TWinSkinMenu::BuildButtons() {
  const HWND window = form_.Handle();
  if (HMENU menu = GetMenu(window)) MenuHandle = menu;
  if (!MenuHandle) return;
  if (form_.HotObject() && dynamic_cast<TMenuBtn*>(form_.HotObject())) form_.SetHotObject(nullptr);
  MenuButtons.clear();
  const int count = GetMenuItemCount(MenuHandle);
  for (int i = 0; i < count; ++i) {
    wchar_t text[81] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 80;
    if (!GetMenuItemInfoW(MenuHandle, static_cast<UINT>(i), TRUE, &info)) continue;
    auto button = std::make_unique<TMenuBtn>(form_, *this, static_cast<int>(MenuButtons.size()));
    button->SubMenu = info.hSubMenu;
    button->ItemEnabled = (info.fState & (MFS_GRAYED | MFS_DISABLED)) == 0;
    button->Visible = true;
    button->Command = info.wID;
    button->Caption = (info.fType & MFT_SEPARATOR) ? std::wstring() : std::wstring(text);
    if (Menu) {
      if (ui::TMenuItem* item = Menu->FindItem(info.wID)) {
        button->Caption = item->Caption();
        button->ItemEnabled = item->Enabled();
        button->FrameworkItem = item;
        button->SubMenu = item->Items().empty() ? nullptr : info.hSubMenu;
      }
    }
    MenuButtons.push_back(std::move(button));
  }
  // From now on the bar in the frame is the menu; the system must not draw it as well.
  SetMenu(window, nullptr);
}

int TWinSkinMenu::LayoutButtons(HDC dc, const RECT& rect, int start) {
  const bool rtl = form_.RightToLeft();
  int first = rtl ? rect.right - start : rect.left + start;
  if (rtl) {
    // Clear of a maximized MDI child's buttons at the right end of the strip.
    for (const auto& sys : form_.SysButtons())
      if (sys->Data.Align == 100 && sys->Visible && !sys->Image().Empty())
        first = std::min<int>(first, sys->BoundsRect.left);
  }
  // Items that do not fit go on to another row below, as the system's bar does.
  const int rowHeight = skin::SkinMetric(SM_CYMENU);
  int x = first, row = 0;
  bool rowEmpty = true;
  for (auto& button : MenuButtons) {
    if (!button->Visible) {
      button->BoundsRect = {};
      continue;
    }
    RECT text{};
    DrawTextW(dc, button->Caption.c_str(), static_cast<int>(button->Caption.size()), &text,
              DT_CALCRECT | DT_SINGLELINE);
    const int width = Width(text) > 0 ? Width(text) + 10 : 0;
    const bool past = rtl ? x - width < rect.left : x + width > rect.right;
    if (past && !rowEmpty) {
      x = first;
      ++row;
    }
    rowEmpty = false;
    const int top = rect.top + row * rowHeight;
    if (rtl) {
      button->BoundsRect = {x - width, top, x, top + rowHeight - 1};
      x -= width;
    } else {
      button->BoundsRect = {x, top, x + width, top + rowHeight - 1};
      x += width;
    }
  }
  return row + 1;
}

int TWinSkinMenu::StartOffset(int width) const {
  const TDataSkinObject* bar = skinData_.Records().MenuBar.get();
  if (!bar || bar->Bitmap.Empty()) return 6;
  const int start = form_.RightToLeft() ? bar->Margins.right + 8 : bar->Margins.left + 4;
  return width < start ? 12 : start;
}

int TWinSkinMenu::Rows(int width) {
  if (width <= 0 || MenuButtons.empty()) return 1;
  HDC screen = GetDC(nullptr);
  if (!screen) return 1;
  // Laid out for the count only: where the items are drawn (and hit) stays as painted.
  std::vector<RECT> placed;
  for (const auto& button : MenuButtons) placed.push_back(button->BoundsRect);
  int rows = 1;
  {
    ui::GdiObject<HFONT> font = skin::SkinMenuFont();
    ui::SelectObjectGuard select(screen, font.get());
    rows = LayoutButtons(screen, {0, 0, width, skin::SkinMetric(SM_CYMENU)}, StartOffset(width));
  }
  ReleaseDC(nullptr, screen);
  for (size_t i = 0; i < placed.size(); ++i) MenuButtons[i]->BoundsRect = placed[i];
  return rows;
}

void TWinSkinMenu::PaintBar(HDC dc, const RECT& rect) {
  const int w = Width(rect), h = Height(rect);
  if (w <= 0 || h <= 0) return;
  const SkinRecords& records = skinData_.Records();
  // Made first: out of GDI objects the frame's painting gives up here, and the bar is left
  // as it was.
  ui::Bitmap work(w, h);
  painting_ = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{painting_};
  {
    ui::Bitmap::Canvas canvas(work);
    HDC to = canvas.dc();
    const RECT all{0, 0, w, h};
    const int start = StartOffset(w);
    const TDataSkinObject* bar = records.MenuBar.get();
    if (bar && !bar->Bitmap.Empty()) {
      const int frames = std::max(1, bar->FrameCount);
      skin::Element element;
      element.strip = &bar->Bitmap;
      element.margins = bar->Margins;
      element.frame = {frames, form_.Active() || frames == 1 ? 1 : 2, true};
      if (bar->Tile == 1) {
        skin::DrawElement(to, all, element);
      } else {
        skin::DrawStrip3(to, all, element);
      }
    } else {
      ui::GdiObject<HBRUSH> brush(CreateSolidBrush(skin::ResolveColour(records.Colours.Menubar)));
      FillRect(to, &all, brush.get());
    }
    BarRect = rect;
    BarBitmap = work.Clone();

    ui::GdiObject<HFONT> font = skin::SkinMenuFont();
    ui::SelectObjectGuard select(to, font.get());
    LayoutButtons(to, rect, start);
    const POINT origin{-rect.left, -rect.top};
    // The open item stays pressed while its menu shows, even when the frame repaints.
    const TNCObject* open = form_.MenuTracking() ? form_.HotObject() : nullptr;
    for (const auto& button : MenuButtons)
      if (button->Visible && Width(button->BoundsRect) > 0)
        PaintButton(to, *button, origin, button.get() == open);

    // A maximized MDI child shows its buttons in the strip.
    if (form_.MDIKind() == TWinSkinForm::kMDIFrame && form_.IsMDIChildMaximized()) {
      const int saved = SaveDC(to);
      SetViewportOrgEx(to, origin.x, origin.y, nullptr);
      for (const auto& sys : form_.SysButtons())
        if (sys->Data.Visibility == 100 && sys->Visible && !sys->Image().Empty())
          form_.PaintButton(to, *sys, 1);
      RestoreDC(to, saved);
      if (TSkinManage* manager = TSkinManage::Instance(); manager && !manager->MDIMaximized())
        manager->SetMDIMaximized(true);
    }
  }
  ui::Bitmap::Canvas canvas(work);
  BitBlt(dc, rect.left, rect.top, w, h, canvas.dc(), 0, 0, SRCCOPY);
}

COLORREF TWinSkinMenu::CaptionColour(const TMenuBtn& button) const {
  const SkinColours& colours = skinData_.Records().Colours;
  return skin::ResolveColour(button.ItemEnabled ? colours.MenuBarText : colours.ButtonShadow);
}

void TWinSkinMenu::PaintButton(HDC dc, const TMenuBtn& button, POINT origin, bool framed) {
  RECT r = button.BoundsRect;
  OffsetRect(&r, origin.x, origin.y);
  if (framed) {
    ui::GdiObject<HBRUSH> brush(
        CreateSolidBrush(skin::ResolveColour(skinData_.Records().Colours.ButtonHilight)));
    FrameRect(dc, &r, brush.get());
  }
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, CaptionColour(button));
  DrawTextW(dc, button.Caption.c_str(), static_cast<int>(button.Caption.size()), &r, kCaptionFlags);
  SetBkMode(dc, oldMode);
}

void TWinSkinMenu::PaintButtonAlone(TMenuBtn& button) {
  const RECT& r = button.BoundsRect;
  const int w = Width(r), h = Height(r);
  if (painting_ || w <= 0 || h <= 0 || BarBitmap.Empty() || !IsWindow(form_.Handle())) return;
  ui::Bitmap work;
  try {
    work = ui::Bitmap(w, h);
  } catch (...) {
    return;  // GDI ran out: the item keeps its look until the frame paints again
  }
  {
    ui::Bitmap::Canvas canvas(work);
    {
      ui::Bitmap::Canvas back(BarBitmap);
      BitBlt(canvas.dc(), 0, 0, w, h, back.dc(), r.left - BarRect.left, r.top - BarRect.top,
             SRCCOPY);
    }
    ui::GdiObject<HFONT> font = skin::SkinMenuFont();
    ui::SelectObjectGuard select(canvas.dc(), font.get());
    PaintButton(canvas.dc(), button, {-r.left, -r.top},
                button.State == TNCObject::kPressed || button.State == TNCObject::kHot);
  }
  ui::WindowDC dc(form_.Handle(), ui::WindowDC::Area::Whole);
  if (!dc.get()) return;
  ui::Bitmap::Canvas canvas(work);
  BitBlt(dc.get(), r.left, r.top, w, h, canvas.dc(), 0, 0, SRCCOPY);
}

TMenuBtn* TWinSkinMenu::ItemAt(POINT p) const {
  for (const auto& button : MenuButtons)
    if (!button->Caption.empty() && PtInRect(&button->BoundsRect, p)) return button.get();
  return nullptr;
}
