#include "skin/controls/SkinTab.h"

#include <commctrl.h>

#include <algorithm>

#include "skin/controls/OffscreenFace.h"
#include "skin/controls/SkinUpDown.h"
#include "skin/data/ElementDrawing.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinImages.h"
#include "skin/forms/SkinMessages.h"
#include "skin/forms/WinSkinForm.h"
#include "ui/ComCtrls.h"
#include "ui/GdiObject.h"

VELMO_NAMED_CLASS_INFO(TSkinTab, TSkinFaceControl)

namespace {

// The pane's edges when the skin gives them with no record of their own.
constexpr Margins kPaneMargins{4, 5, 4, 4};
constexpr int kTabFrames = 5;

// Margins after the quarter turns and the flip of SkinImages.
Margins Clockwise(const Margins& m) { return {m.bottom, m.left, m.top, m.right}; }
Margins CounterClockwise(const Margins& m) { return {m.top, m.right, m.bottom, m.left}; }
Margins Flipped(const Margins& m) { return {m.left, m.bottom, m.right, m.top}; }

bool IsUpDown(HWND window) { return ui::SameText(ui::WindowClassName(window), L"msctls_updown32"); }

}  // namespace

TSkinTab::TSkinTab(ui::TComponent* owner) : TSkinFaceControl(owner) {}

void TSkinTab::AttachControl(TWinSkinForm& form, TSkinData& skinData, bool applyColour,
                             HDC canvas) {
  TSkinControl::AttachControl(form, skinData, applyColour, canvas);
  MakeImages();
  Repaint();
}

void TSkinTab::AttachWindow(HWND window, TSkinData& skinData, TWinSkinForm& form, HDC canvas) {
  TSkinControl::AttachWindow(window, skinData, form, canvas);
  MakeImages();
}

void TSkinTab::SkinChanged() {
  MakeImages();
  TSkinControl::SkinChanged();
}

TSkinTab::Side TSkinTab::TabSide() const {
  const LONG style = GetWindowLongW(WindowHandle(), GWL_STYLE);
  if (style & TCS_VERTICAL) return (style & TCS_RIGHT) ? Side::Right : Side::Left;
  return (style & TCS_BOTTOM) ? Side::Bottom : Side::Top;
}

void TSkinTab::MakeImages() {
  tabs_ = {};
  pane_ = {};
  imagesMade_ = false;
  const SkinRecords* records = Records();
  const TDataSkinBorder* tabs = records ? records->Tabs.get() : nullptr;
  if (!HasImage(tabs)) return;
  imagesSide_ = TabSide();
  tabs_ = {tabs->Bitmap.Clone(), tabs->Margins, kTabFrames};
  tile_ = tabs->Tile != 0;
  trans_ = tabs->Trans != 0;
  normalText_ = skin::ResolveColour(tabs->NormalColour2);
  currentText_ = skin::ResolveColour(tabs->MouseOverColour2);
  const bool ownPane = tabs->Style == 1 && HasImage(records->TabPane.get());
  if (ownPane)
    pane_ = {records->TabPane->Bitmap.Clone(), records->TabPane->Margins, 1};
  else if (!tabs->Bitmap2.Empty())
    pane_ = {tabs->Bitmap2.Clone(), kPaneMargins, 1};
  auto turn = [&](Turned& t) {
    if (t.image.Empty()) return;
    switch (imagesSide_) {
      case Side::Top:
        break;
      case Side::Bottom:
        skin::FlipVertical(t.image);
        t.margins = Flipped(t.margins);
        break;
      case Side::Left:
        // The tabs' outer edge turns to the left; the frames come to lie last on top.
        skin::RotateBack(t.image);
        t.margins = CounterClockwise(t.margins);
        t.stacked = true;
        t.reversed = true;
        break;
      case Side::Right:
        skin::Rotate(t.image);
        t.margins = Clockwise(t.margins);
        t.stacked = true;
        break;
    }
  };
  turn(tabs_);
  turn(pane_);
  imagesMade_ = true;
}

bool TSkinTab::DrawsFace() const { return imagesMade_; }

void TSkinTab::Notification(ui::TComponent* component, ui::TOperation operation) {
  TSkinControl::Notification(component, operation);
  if (operation == ui::TOperation::Remove && component == scroller_) scroller_ = nullptr;
}

void TSkinTab::FindScroller() {
  if (scroller_ || !Form() || !SkinData()) return;
  for (HWND child = GetWindow(WindowHandle(), GW_CHILD); child;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsUpDown(child)) continue;
    scroller_ = new TSkinUpDown(this);
    scroller_->AttachWindow(child, *SkinData(), *Form(), canvas_);
    return;
  }
}

bool TSkinTab::HasCloseBoxes() const {
  const ui::TControl* control = FrameworkControl();
  return control && control->Tag() == kCloseTag && control->InheritsFrom(L"TPageControl");
}

void TSkinTab::ClosePage(int tab) {
  auto* pages = dynamic_cast<ui::TPageControl*>(FrameworkControl());
  if (!pages) return;
  int index = 0;
  for (ui::TTabSheet* page : pages->Pages()) {
    if (!page->TabVisible()) continue;
    if (index++ == tab) {
      delete page;
      return;
    }
  }
}

bool TSkinTab::BeforeMessage(ui::TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN: {
      if (!HasCloseBoxes()) break;
      const POINT p{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
      for (size_t i = 0; i < closeBoxes_.size(); ++i) {
        if (!PtInRect(&closeBoxes_[i], p)) continue;
        const HWND form = Form() ? Form()->Handle() : nullptr;
        // The form's answer may free the control, and this wrapper with it.
        const std::shared_ptr<bool> alive = AliveFlag();
        const LRESULT answer =
            form ? SendMessageW(form, skin::WM_SKINTABCLOSE,
                                reinterpret_cast<WPARAM>(WindowHandle()), static_cast<LPARAM>(i))
                 : 0;
        if (!*alive) return false;
        // Last: closing the page may end the control.
        if (answer == 0) ClosePage(static_cast<int>(i));
        return false;
      }
      break;
    }
    default:
      break;
  }
  return TSkinFaceControl::BeforeMessage(m);
}

std::wstring TSkinTab::TabText(int index, int& image) const {
  wchar_t text[256]{};
  image = -1;
  if (unicode_) {
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = text;
    item.cchTextMax = 255;
    if (SendMessageW(WindowHandle(), TCM_GETITEMW, index, reinterpret_cast<LPARAM>(&item)))
      image = item.iImage;
    return text;
  }
  char ansi[256]{};
  TCITEMA item{};
  item.mask = TCIF_TEXT | TCIF_IMAGE;
  item.pszText = ansi;
  item.cchTextMax = 255;
  if (SendMessageA(WindowHandle(), TCM_GETITEMA, index, reinterpret_cast<LPARAM>(&item)))
    image = item.iImage;
  MultiByteToWideChar(CP_ACP, 0, ansi, -1, text, 256);
  return text;
}

RECT TSkinTab::DrawTab(HDC dc, RECT r, int index, bool current) {
  const Side side = imagesSide_;
  // The current tab stands out a little and covers the pane's edge under it.
  if (current) {
    const bool across = side == Side::Top || side == Side::Bottom;
    if (across) {
      InflateRect(&r, 2, 0);
      if (side == Side::Top)
        r.top -= 2, r.bottom += 1;
      else
        r.bottom += 2, r.top -= 1;
    } else {
      InflateRect(&r, 0, 2);
      if (side == Side::Left)
        r.left -= 2, r.right += 1;
      else
        r.right += 2, r.left -= 1;
    }
  }
  const int frame = current ? 2 : 1;
  const int shown = tabs_.reversed ? tabs_.frames - frame + 1 : frame;
  skin::DrawElement(
      dc, r, {&tabs_.image, tabs_.margins, {tabs_.frames, shown, tabs_.stacked}, tile_, trans_});

  int image = -1;
  const std::wstring text = TabText(index, image);
  HIMAGELIST images =
      reinterpret_cast<HIMAGELIST>(SendMessageW(WindowHandle(), TCM_GETIMAGELIST, 0, 0));
  int imageWidth = 0, imageHeight = 0;
  if (images && image >= 0) ImageList_GetIconSize(images, &imageWidth, &imageHeight);
  const int gap = imageWidth > 0 && !text.empty() ? 3 : 0;

  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, current ? currentText_ : normalText_);
  SIZE extent{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
  const int length = imageWidth + gap + extent.cx;  // along the tab
  if (side == Side::Top || side == Side::Bottom) {
    int x = (r.left + r.right - length) / 2;
    if (imageWidth > 0) {
      ImageList_Draw(images, image, dc, x, (r.top + r.bottom - imageHeight) / 2, ILD_TRANSPARENT);
      x += imageWidth + gap;
    }
    RECT t{x, r.top, r.right, r.bottom};
    DrawTextW(dc, text.c_str(), -1, &t, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOCLIP);
    return r;
  }
  // Along a side tab the text runs up (left side) or down (right side).
  LOGFONTW font{};
  GetObjectW(GetCurrentObject(dc, OBJ_FONT), sizeof(font), &font);
  font.lfEscapement = font.lfOrientation = side == Side::Left ? 900 : 2700;
  ui::GdiObject<HFONT> turned(CreateFontIndirectW(&font));
  ui::SelectObjectGuard useFont(dc, turned.get());
  const int x = (r.left + r.right - extent.cy) / 2;
  int y = (r.top + r.bottom - length) / 2;
  if (side == Side::Left) {
    y = r.bottom - (r.bottom - r.top - length) / 2;
    if (imageWidth > 0) {
      ImageList_Draw(images, image, dc, (r.left + r.right - imageWidth) / 2, y - imageHeight,
                     ILD_TRANSPARENT);
      y -= imageHeight + gap;
    }
    TextOutW(dc, x, y, text.c_str(), static_cast<int>(text.size()));
  } else {
    if (imageWidth > 0) {
      ImageList_Draw(images, image, dc, (r.left + r.right - imageWidth) / 2, y, ILD_TRANSPARENT);
      y += imageHeight + gap;
    }
    TextOutW(dc, x + extent.cy, y, text.c_str(), static_cast<int>(text.size()));
  }
  return r;
}

void TSkinTab::DrawSkin(HDC dc, const RECT&) {
  if (!imagesMade_) return;
  if (imagesSide_ != TabSide()) MakeImages();
  FindScroller();
  RefreshState();
  const HWND window = WindowHandle();
  RECT client;
  GetClientRect(window, &client);

  const int count = static_cast<int>(SendMessageW(window, TCM_GETITEMCOUNT, 0, 0));
  RECT page = client;
  if (count > 0) {
    SendMessageW(window, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
    InflateRect(&page, 4, 4);
    IntersectRect(&page, &page, &client);
  }
  const int current = static_cast<int>(SendMessageW(window, TCM_GETCURFOCUS, 0, 0));
  const bool closable = HasCloseBoxes();
  std::vector<RECT> tabs(static_cast<size_t>(std::max(count, 0)));
  for (int i = 0; i < count; ++i)
    SendMessageW(window, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&tabs[i]));
  tabRects_ = tabs;
  // Tabs scrolled out of sight are not drawn.
  auto shown = [&](int i) {
    RECT visible;
    return IntersectRect(&visible, &tabs[i], &client) && tabs[i].left >= 0 && tabs[i].top >= 0;
  };

  // The scroller and the pages paint themselves: only the parts of the face they leave
  // uncovered are composed (the page usually covers all but a thin ring), each in window
  // coordinates on a bitmap of its own size.
  closeBoxes_.clear();
  for (const RECT& part : OffscreenFace::UncoveredParts(window, client)) {
    OffscreenFace face(part);
    if (!face.Ready()) return;
    HDC target = face.dc();
    SetViewportOrgEx(target, -part.left, -part.top, nullptr);
    FillFace(target, client);
    ui::SelectObjectGuard font(target, ControlFont());
    if (!pane_.image.Empty())
      skin::DrawElement(target, page,
                        {&pane_.image, pane_.margins, {1, 1, pane_.stacked}, false, false});
    for (int i = 0; i < count; ++i)
      if (i != current && shown(i)) DrawTab(target, tabs[i], i, false);
    if (current >= 0 && current < count && shown(current))
      tabRects_[current] = DrawTab(target, tabs[current], current, true);

    closeBoxes_.clear();
    if (closable) {
      ui::GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, FontColour()));
      ui::SelectObjectGuard usePen(target, pen.get());
      ui::SelectObjectGuard noFill(target, GetStockObject(NULL_BRUSH));
      for (const RECT& t : tabRects_) {
        const RECT box{t.right - 8, t.top + 2, t.right - 2, t.top + 8};
        Rectangle(target, box.left, box.top, box.right, box.bottom);
        MoveToEx(target, box.left, box.top, nullptr);
        LineTo(target, box.right, box.bottom);
        MoveToEx(target, box.right - 1, box.top, nullptr);
        LineTo(target, box.left - 1, box.bottom);
        closeBoxes_.push_back(box);
      }
    }
    // The face's own coordinates again for the copy, which reads from it.
    SetViewportOrgEx(target, 0, 0, nullptr);
    face.CopyAround(dc, window);
  }
}
