// The non-client half of the form skinner: frame metrics, hit testing, painting, the
// caption text and buttons, the mouse in the frame and the window region.
#include <windowsx.h>

#include <algorithm>

#include "skin/data/ElementDrawing.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinImages.h"
#include "skin/data/SkinMetrics.h"
#include "skin/forms/SkinManage.h"
#include "skin/forms/SkinMessages.h"
#include "skin/forms/WinSkinForm.h"
#include "skin/forms/WinSysButton.h"
#include "ui/CodePage.h"
#include "ui/ExtCtrls.h"

namespace {

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

enum Edge { kLeft, kTop, kRight, kBottom };

const TDataSkinBorder& EdgeRecord(const SkinRecords& records, int edge) {
  switch (edge) {
    case kLeft:
      return *records.FrameLeft;
    case kTop:
      return *records.FrameTop;
    case kRight:
      return *records.FrameRight;
    default:
      return *records.FrameBottom;
  }
}

int Frames(const TDataSkinObject& record) { return std::max(1, record.FrameCount); }

// One frame's extent across the strip: widths of side-by-side, heights of stacked frames.
int FrameExtent(const TDataSkinObject& record, bool vertical) {
  if (record.Bitmap.Empty()) return 0;
  return (vertical ? record.Bitmap.Height() : record.Bitmap.Width()) / Frames(record);
}

}  // namespace

// --- Metrics and buttons -------------------------------------------------------------------

void TWinSkinForm::BuildSysButtons() {
  hotObject_ = nullptr;
  sysButtons_.clear();
  if (!skinData_ || !skinData_->SkinParsed()) return;
  // The metrics change now; the window is fitted to them at the refresh that follows.
  RECT client{};
  if (IsWindow(handle_) && GetClientRect(handle_, &client))
    clientAtSkinChange_ = {client.right, client.bottom};
  const SkinRecords& records = skinData_->Records();
  if (borderKind_ == kNoCaption) {
    borderLeft_ = titleHeight_ = borderRight_ = borderBottom_ = menuBarHeight_ = 0;
  } else {
    titleHeight_ = FrameExtent(*records.FrameTop, true);
    borderLeft_ = FrameExtent(*records.FrameLeft, false);
    borderRight_ = FrameExtent(*records.FrameRight, false);
    borderBottom_ = FrameExtent(*records.FrameBottom, true);
    // Without a title image the window keeps the standard frame altogether.
    if (titleHeight_ == 0) borderLeft_ = borderRight_ = borderBottom_ = 0;
  }
  for (const auto& data : records.SysButtons) {
    auto button = std::make_unique<TWinSysButton>(*this, *data);
    if (button->IsIcon()) {
      RebuildIconBitmap();
      if (data->Bitmap.Empty()) {
        try {
          button->IconImage = iconBitmap_.Clone();
        } catch (...) {
        }
      }
    }
    sysButtons_.push_back(std::move(button));
  }
}

void TWinSkinForm::RebuildIconBitmap() {
  const int cx = skin::SkinMetric(SM_CXSMICON), cy = skin::SkinMetric(SM_CYSMICON);
  iconHandle_ = reinterpret_cast<HICON>(SendMessageW(handle_, WM_GETICON, ICON_SMALL, 0));
  if (!iconHandle_)
    iconHandle_ = reinterpret_cast<HICON>(SendMessageW(handle_, WM_GETICON, ICON_BIG, 0));
  if (!iconHandle_) iconHandle_ = reinterpret_cast<HICON>(GetClassLongPtrW(handle_, GCLP_HICONSM));
  if (!iconHandle_) iconHandle_ = reinterpret_cast<HICON>(GetClassLongPtrW(handle_, GCLP_HICON));
  try {
    iconBitmap_ = ui::Bitmap(cx, cy);
    iconBitmap_.Fill(kKeyColour);
    if (iconHandle_) {
      ui::Bitmap::Canvas canvas(iconBitmap_);
      DrawIconEx(canvas.dc(), 0, 0, iconHandle_, cx, cy, 0, nullptr, DI_NORMAL);
    }
    for (auto& button : sysButtons_)
      if (button->IsIcon() && button->Data.Bitmap.Empty()) button->IconImage = iconBitmap_.Clone();
  } catch (...) {
    // GDI ran out: the icon button shows no picture (it draws the icon handle itself).
    iconBitmap_.Reset();
  }
}

bool TWinSkinForm::IsButtonVisible(int index) {
  TWinSysButton& button = *sysButtons_.at(index);
  const auto& data = button.Data;
  const bool maximized = windowState_ == kMaximized;
  const bool minBox = windowButtons_ & kMinimizeBox, maxBox = windowButtons_ & kMaximizeBox;
  const bool sysMenu = windowButtons_ & kSystemMenu, help = windowButtons_ & kContextHelp;
  auto mdiChildButtons = [&] {
    return mdiKind_ == kMDIFrame && skinMenu_ && IsMDIChildMaximized();
  };
  bool visible = false;
  const int code = data.Visibility;
  switch (code) {
    case 0:
      visible = true;
      break;
    case 1:
      visible = maximized;
      break;
    case 2:
      visible = !maximized;
      break;
    case 3:
      visible = active_;
      break;
    case 4:
      visible = !active_;
      break;
    case 6:
    case 8:
      visible = (minBox || maxBox) && sysMenu;
      break;
    case 7:
      visible = !maxBox;
      break;
    case 9:
      visible = !minBox;
      break;
    case 10:
      visible = help && !minBox && !maxBox;
      break;
    case 100:
      visible = mdiChildButtons();
      break;
    case 200:
      visible = borderKind_ == kDialogFrame && !isDialogClass_;
      break;
    default:
      if (code >= 201 && code <= 999) {
        visible = true;
      } else if (code >= 1000 && code <= 2000) {
        visible = SendMessageW(handle_, skin::WM_SKINBUTTONQUERY, code, data.Action) > 0;
      }
      break;
  }
  bool allowed = false;
  switch (data.Visibility1) {
    case 0:
    case 100:
      allowed = true;
      break;
    case 1:
      allowed = maximized;
      break;
    case 2:
      allowed = !maximized;
      break;
    case 3:
      allowed = active_;
      break;
    case 4:
      allowed = !active_;
      break;
    case 6:
    case 8:
      allowed = minBox || maxBox;
      break;
    case 7:
      allowed = !maxBox;
      break;
    case 9:
      allowed = !minBox;
      break;
    case 10:
      allowed = help;
      break;
    default:
      break;
  }
  visible = visible && allowed;
  switch (data.Action) {
    case TWinSysButton::kClose:
      if (!sysMenu) visible = false;
      // Drawn as the system menu shows Close: greyed when it is greyed or missing.
      button.Enabled = visible && CanClose();
      break;
    case TWinSysButton::kMaximize:
      button.Enabled = maxBox && sysMenu;
      break;
    case TWinSysButton::kMinimize:
      button.Enabled = minBox && sysMenu;
      break;
    case TWinSysButton::kIcon:
    case TWinSysButton::kSysMenu:
    case TWinSysButton::kSysMenu2:
      if (borderKind_ == kDialogFrame) visible = false;
      break;
    default:
      break;
  }
  button.Visible = visible;
  return visible;
}

void TWinSkinForm::LayoutButtons() {
  const int w = frameSize_.cx;
  for (auto& button : sysButtons_) {
    const ui::Bitmap& image = button->Image();
    if (!button->Visible || image.Empty()) continue;
    const int bw = image.Width() / button->FrameCount(), bh = image.Height();
    const auto& data = button->Data;
    POINT at{0, 0};
    switch (data.Align) {
      case 0:
        at = {data.XCoord, data.YCoord};
        break;
      case 1:
        at = {w - data.XCoord, data.YCoord};
        break;
      case 2:
      case 8:
        at = {textRect_.left - bw - data.XCoord, data.YCoord};
        break;
      case 3:
      case 9:
        at = {data.XCoord + textRect_.right, data.YCoord};
        break;
      case 100: {
        const auto& menuBar = skinData_->Records().MenuBar;
        at = {w - data.XCoord - borderRight_ - (menuBar ? menuBar->Margins.left : 0),
              titleHeight_ + (menuBarHeight_ - bh) / 2};
        break;
      }
      default:
        break;
    }
    button->BoundsRect = {at.x, at.y, at.x + bw, at.y + bh};
  }
}

TWinSysButton* TWinSkinForm::ButtonAt(POINT p) const {
  if (!SkinnedFrame()) return nullptr;
  for (const auto& button : sysButtons_)
    if (button->Visible && button->Data.Action >= 0 && PtInRect(&button->BoundsRect, p))
      return button.get();
  return nullptr;
}

TNCObject* TWinSkinForm::ObjectAt(POINT p) const {
  if (TWinSysButton* button = ButtonAt(p)) return button;
  return MenuItemAt(p);
}

POINT TWinSkinForm::ToFramePoint(POINT p) const {
  ScreenToClient(handle_, &p);
  if (mdiKind_ == kMDIChild && windowState_ == kMinimized) return p;
  return {p.x + borderLeft_, p.y + titleHeight_ + menuBarHeight_};
}

// --- Non-client messages -------------------------------------------------------------------

LRESULT TWinSkinForm::OnNcCalcSize(WPARAM wParam, LPARAM lParam) {
  const LRESULT result = Default(WM_NCCALCSIZE, wParam, lParam);
  if (!SkinnedFrame()) return result;
  RECT* rects = reinterpret_cast<RECT*>(lParam);
  if (mdiKind_ == kMDIChild && windowState_ != kNormal) {
    if (wParam) rects[1] = rects[0];
    return wParam ? WVR_VALIDRECTS : 0;
  }
  // The first rectangle came in as the new window rectangle; the default made it the
  // client rectangle of the standard frame. Ours follows from the window's position.
  RECT window{};
  if (wParam) {
    const WINDOWPOS* pos = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->lppos;
    window = {pos->x, pos->y, pos->x + pos->cx, pos->y + pos->cy};
  } else {
    GetWindowRect(handle_, &window);
    if (HWND parent = GetAncestor(handle_, GA_PARENT); parent && parent != GetDesktopWindow())
      MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&window), 2);
  }
  // A bar whose items do not fit in one row takes more: the client area gives way.
  if (skinMenu_) menuBarHeight_ = MenuBarHeightFor(window.right - window.left);
  RECT client{window.left + borderLeft_, window.top + titleHeight_ + menuBarHeight_,
              window.right - borderRight_, window.bottom - borderBottom_};
  client.right = std::max(client.left, client.right);
  client.bottom = std::max(client.top, client.bottom);
  rects[0] = client;
  if (!wParam) return 0;
  rects[1] = client;
  redrawn_ = true;
  return WVR_VALIDRECTS;
}

LRESULT TWinSkinForm::OnNcHitTest(WPARAM wParam, LPARAM lParam) {
  const LRESULT result = Default(WM_NCHITTEST, wParam, lParam);
  if (!SkinnedFrame() || (result != HTNOWHERE && result != HTCAPTION)) return result;
  RECT window{};
  GetWindowRect(handle_, &window);
  const int y = GET_Y_LPARAM(lParam) - window.top;
  if (y <= 3) return result;
  if (y < titleHeight_) return HTCAPTION;
  if (menuBarHeight_ > 0 && y < titleHeight_ + menuBarHeight_) return HTMENU;
  return result;
}

LRESULT TWinSkinForm::OnNcActivate(WPARAM wParam, LPARAM lParam) {
  active_ = wParam != 0;
  SetHoverTimer(active_);
  if (mdiKind_ == kMDIFrame && mdiClient_) SendMessageW(mdiClient_, WM_NCACTIVATE, wParam, lParam);
  // The standard frame is the system's: it shows the title active or inactive itself.
  if (!SkinnedFrame()) return Default(WM_NCACTIVATE, wParam, lParam);
  if (mdiKind_ == kMDIChild) Default(WM_NCACTIVATE, wParam, lParam);
  if (!(mdiKind_ == kMDIChild && windowState_ == kMaximized)) PaintFrame(nullptr);
  return TRUE;
}

LRESULT TWinSkinForm::OnNcPaint(WPARAM wParam, LPARAM lParam) {
  // The standard frame draws its own caption buttons and icon, which need the bit.
  SetSysMenuStyleBit(!SkinnedFrame());
  if (!framePainting_) return 0;
  if ((mdiKind_ == kMDIChild && windowState_ == kMaximized) || !SkinnedFrame())
    return Default(WM_NCPAINT, wParam, lParam);
  PaintFrame(nullptr);
  return 0;
}

void TWinSkinForm::SetSysMenuStyleBit(bool show) {
  const LONG style = GetWindowLongW(handle_, GWL_STYLE);
  LONG wanted = style & ~WS_SYSMENU;
  if (show && (systemMenu_ || (windowButtons_ & kSystemMenu))) wanted |= WS_SYSMENU;
  if (wanted != style) SetWindowLongW(handle_, GWL_STYLE, wanted);
}

void TWinSkinForm::FitMaximizedToWorkArea(MINMAXINFO& info) const {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (!GetMonitorInfoW(MonitorFromWindow(handle_, MONITOR_DEFAULTTONEAREST), &monitor)) return;
  const RECT& work = monitor.rcWork;
  // Relative to the monitor, as the system reads it.
  info.ptMaxPosition = {work.left - monitor.rcMonitor.left, work.top - monitor.rcMonitor.top};
  info.ptMaxSize = {Width(work), Height(work)};
  info.ptMaxTrackSize.x = std::max(info.ptMaxTrackSize.x, info.ptMaxSize.x);
  info.ptMaxTrackSize.y = std::max(info.ptMaxTrackSize.y, info.ptMaxSize.y);
}

// --- Painting ------------------------------------------------------------------------------

void TWinSkinForm::PaintFrame(HDC target) {
  if (skinState_ != kActive && skinState_ != kReskinning) return;
  if (!SkinnedFrame() || (mdiKind_ == kMDIChild && windowState_ == kMaximized)) return;
  if (!skinData_ || !skinData_->SkinParsed() || !IsWindow(handle_)) return;
  try {
    GetWindowRect(handle_, &windowRect_);
    const int w = Width(windowRect_), h = Height(windowRect_);
    if (w <= 0 || h <= 0) return;
    frameSize_ = {w, h};
    const SkinRecords& records = skinData_->Records();
    const bool minimized = windowState_ == kMinimized;
    RECT client{};
    if (!minimized) {
      GetClientRect(handle_, &client);
      MapWindowPoints(handle_, nullptr, reinterpret_cast<POINT*>(&client), 2);
      OffsetRect(&client, -windowRect_.left, -windowRect_.top);
    }
    // The parts of the window around its client area, each composed on its own: a bitmap of
    // the whole window would be mostly client area that is never shown. The title and the
    // menu bar lie in the first part. A client area that does not leave them room (or none)
    // has the frame composed whole.
    RECT parts[4] = {{0, 0, w, h}};
    int partCount = 1;
    if (!minimized && client.left >= 0 && client.left <= client.right && client.right <= w &&
        client.top >= titleHeight_ + menuBarHeight_ && client.top <= client.bottom &&
        client.bottom <= h) {
      parts[0] = {0, 0, w, client.top};
      parts[1] = {0, client.top, client.left, client.bottom};
      parts[2] = {client.right, client.top, w, client.bottom};
      parts[3] = {0, client.bottom, w, h};
      partCount = 4;
    }
    for (int i = 0; i < partCount; ++i) {
      const RECT& part = parts[i];
      ui::Bitmap& bitmap = frameParts_[i];
      const int pw = Width(part), ph = Height(part);
      if (pw <= 0 || ph <= 0) {
        bitmap.Reset();
        continue;
      }
      if (bitmap.Width() != pw || bitmap.Height() != ph) bitmap = ui::Bitmap(pw, ph);
      bitmap.Fill(skin::ResolveColour(records.Colours.ButtonFace));
      ui::Bitmap::Canvas canvas(bitmap);
      HDC dc = canvas.dc();
      // Drawn in window coordinates; what falls outside the part is clipped away.
      SetViewportOrgEx(dc, -part.left, -part.top, nullptr);
      if (minimized) {
        PaintTitle(dc, {0, 0, w, titleHeight_});
        continue;
      }
      PaintEdge(dc, {0, 0, borderLeft_, h}, kLeft, false);
      PaintEdge(dc, {w - borderRight_, 0, w, h}, kRight, false);
      PaintEdge(dc, {borderLeft_, h - borderBottom_, w - borderRight_, h}, kBottom, true);
      if (i > 0) continue;
      PaintTitle(dc, {borderLeft_, 0, w - borderRight_, titleHeight_});
      const RECT strip{borderLeft_, titleHeight_, w - borderRight_, titleHeight_ + menuBarHeight_};
      if (!PaintMenuBar(dc, strip) && menuBarHeight_ > 0)
        FillRect(dc, &strip, records.FaceBrush.get());
    }
    for (int i = partCount; i < 4; ++i) frameParts_[i].Reset();
    // One copy of each part to the window, leaving the client area alone.
    std::unique_ptr<ui::WindowDC> own;
    HDC dc = target;
    if (!dc) {
      own = std::make_unique<ui::WindowDC>(handle_, ui::WindowDC::Area::Whole);
      dc = own->get();
    }
    if (dc) {
      const int saved = SaveDC(dc);
      if (!minimized) ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
      for (int i = 0; i < partCount; ++i) {
        if (frameParts_[i].Empty()) continue;
        ui::Bitmap::Canvas canvas(frameParts_[i]);
        BitBlt(dc, parts[i].left, parts[i].top, Width(parts[i]), Height(parts[i]), canvas.dc(), 0,
               0, SRCCOPY);
      }
      RestoreDC(dc, saved);
      SetBkMode(dc, OPAQUE);
    }
  } catch (...) {
    // A frame that fails to paint stays as it was.
  }
  // The bar item whose menu is open stays pressed (the bar drew it so).
  if (!menuTracking_) hotObject_ = nullptr;
}

void TWinSkinForm::PaintEdge(HDC dc, const RECT& target, int edge, bool vertical) {
  if (Width(target) <= 0 || Height(target) <= 0) return;
  const TDataSkinBorder& record = EdgeRecord(skinData_->Records(), edge);
  if (record.Bitmap.Empty()) return;
  const int frames = Frames(record);
  skin::Element element;
  element.strip = &record.Bitmap;
  element.margins = record.Margins;
  element.frame = {frames, active_ || frames == 1 ? 1 : 2, vertical};
  element.tileMiddle = record.Tile != 1;
  skin::DrawElement(dc, target, element);
}

void TWinSkinForm::PaintTitle(HDC dc, const RECT& titleRect) {
  PaintEdge(dc, titleRect, kTop, true);
  for (size_t i = 0; i < sysButtons_.size(); ++i) IsButtonVisible(static_cast<int>(i));
  PaintCaptionText(dc, titleRect);
  LayoutButtons();
  // What lies beneath the buttons, for repainting one of them alone.
  const int w = frameSize_.cx, h = titleHeight_ + menuBarHeight_;
  if (titleBackground_.Width() != w || titleBackground_.Height() != h)
    titleBackground_ = ui::Bitmap(w, h);
  {
    ui::Bitmap::Canvas copy(titleBackground_);
    BitBlt(copy.dc(), 0, 0, w, h, dc, 0, 0, SRCCOPY);
  }
  for (const auto& button : sysButtons_) {
    if (!button->Visible || button->Image().Empty() || button->Data.Visibility == 100) continue;
    int frame = 1;
    if (button->FrameCount() >= 4 && (!active_ || !button->Enabled)) frame = 4;
    PaintButton(dc, *button, frame);
  }
}

void TWinSkinForm::PaintButton(HDC dc, const TWinSysButton& button, int frame) {
  const RECT& r = button.BoundsRect;
  if (button.IsIcon()) {
    if (iconHandle_)
      DrawIconEx(dc, r.left, r.top, iconHandle_, skin::SkinMetric(SM_CXSMICON),
                 skin::SkinMetric(SM_CYSMICON), 0, nullptr, DI_NORMAL);
    return;
  }
  skin::DrawFrame(dc, r, button.Image(), true, button.FrameCount(), frame);
}

void TWinSkinForm::PaintButtonAlone(const TWinSysButton& button, int frame) {
  const RECT& r = button.BoundsRect;
  const int w = Width(r), h = Height(r);
  if (w <= 0 || h <= 0 || titleBackground_.Empty() || !IsWindow(handle_)) return;
  ui::Bitmap work;
  try {
    work = ui::Bitmap(w, h);
  } catch (...) {
    return;  // GDI ran out: the button keeps its look until the frame paints again
  }
  {
    ui::Bitmap::Canvas canvas(work);
    {
      ui::Bitmap::Canvas back(titleBackground_);
      BitBlt(canvas.dc(), 0, 0, w, h, back.dc(), r.left, r.top, SRCCOPY);
    }
    const int saved = SaveDC(canvas.dc());
    SetViewportOrgEx(canvas.dc(), -r.left, -r.top, nullptr);
    PaintButton(canvas.dc(), button, frame);
    RestoreDC(canvas.dc(), saved);
  }
  ui::WindowDC dc(handle_, ui::WindowDC::Area::Whole);
  if (!dc.get()) return;
  ui::Bitmap::Canvas canvas(work);
  BitBlt(dc.get(), r.left, r.top, w, h, canvas.dc(), 0, 0, SRCCOPY);
}

std::wstring TWinSkinForm::ReadCaption() const {
  if (unicodeWindow_) {
    const int length = GetWindowTextLengthW(handle_);
    std::wstring text(static_cast<size_t>(std::max(length, 0)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(handle_, text.data(), length + 1)));
    return text;
  }
  char buffer[1000] = {};
  SendMessageA(handle_, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
  return ui::AnsiToWide(buffer, CP_ACP);
}

void TWinSkinForm::PaintCaptionText(HDC dc, const RECT& titleRect) {
  const SkinRecords& records = skinData_->Records();
  const TDataSkinTitle& title = *records.Title;
  const std::wstring text = captionPrefix_ + ReadCaption() + captionSuffix_;
  captionButtonsRight_ = 0;
  for (const auto& button : sysButtons_)
    if (button->Data.Align == 1 && !button->Image().Empty() && button->Visible)
      captionButtonsRight_ = std::max(captionButtonsRight_, button->Data.XCoord);

  ui::SelectObjectGuard font(dc, captionFont_.get());
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, skin::ResolveColour(active_ ? records.Colours.TitleTextActive
                                               : records.Colours.TitleTextNoActive));
  RECT r{};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
            DT_CALCRECT | DT_NOPREFIX | DT_NOCLIP);
  const int a = Width(r) + title.TXTBackleft + title.TXTBackRight;
  r.right = r.left + a;
  const int W = Width(titleRect);
  const int shift = title.Margins.left, clip = title.Margins.right;
  int x = 0;
  if (rightToLeft_) {
    switch (title.TextAlignment) {
      case 0:
        x = W - captionButtonsRight_ - a;
        break;
      case 1:
        x = (W - captionButtonsRight_ - a) / 2;
        break;
      case 2:
        x = shift;
        break;
      default:
        break;
    }
    if (x < 1) x = shift;
  } else {
    switch (title.TextAlignment) {
      case 0:
        x = shift;
        break;
      case 1:
        x = (W - a) / 2;
        break;
      case 2:
        x = W - clip - a;
        break;
      default:
        break;
    }
  }
  const int textHeight = Height(r);
  OffsetRect(&r, titleRect.left + x,
             titleRect.top + (Height(titleRect) - textHeight) / 2 + title.Margins.top / 2);
  if (rightToLeft_) {
    OffsetRect(&r, 10, 0);
  } else if (GetWindowLongW(handle_, GWL_STYLE) & WS_POPUP) {
    const int limit = titleRect.left + W - captionButtonsRight_ - 5;
    if (captionButtonsRight_ > 5 && limit < r.right) r.right = limit;
  } else {
    r.right = std::min<LONG>(r.right, titleRect.left + W - clip);
  }
  if (borderKind_ == kDialogFrame && title.TextAlignment == 0) OffsetRect(&r, -16, 0);
  textRect_ = r;
  if (!title.Bitmap.Empty() && r.right > r.left) {
    skin::Element back;
    back.strip = &title.Bitmap;
    back.margins = {title.TXTBackleft, 0, title.TXTBackRight, 0};
    back.frame = {Frames(title), active_ || Frames(title) == 1 ? 1 : 2, true};
    back.transparent = title.Trans != 0;
    skin::DrawElement(dc, {r.left, titleRect.top, r.right, titleRect.bottom}, back);
  }
  RECT textArea{r.left + title.TXTBackleft, r.top, r.right - title.TXTBackRight, r.bottom};
  UINT flags = DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX;
  if (rightToLeft_) flags |= DT_RIGHT | DT_RTLREADING;
  if (textArea.right > textArea.left)
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textArea, flags);
  SetBkMode(dc, oldMode);
}

// --- Mouse in the frame --------------------------------------------------------------------

LRESULT TWinSkinForm::OnNcMouseMove(WPARAM wParam, LPARAM lParam) {
  // While a bar menu is open the menu's filter decides what the mouse does on the bar.
  if (!active_ || menuTracking_) return Default(WM_NCMOUSEMOVE, wParam, lParam);
  const POINT p = ToFramePoint({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
  if (TNCObject* object = ObjectAt(p)) {
    object->MouseEnter();
    return 0;
  }
  if (TNCObject* hot = hotObject_) {
    hot->MouseLeave();
    hotObject_ = nullptr;
  }
  return Default(WM_NCMOUSEMOVE, wParam, lParam);
}

LRESULT TWinSkinForm::OnNcLButtonDown(WPARAM wParam, LPARAM lParam) {
  const POINT p = ToFramePoint({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
  if (TNCObject* object = ObjectAt(p)) {
    if (!active_) SetForegroundWindow(handle_);
    object->MouseDown();
    if (IsMenuItem(object)) OpenMenu(object);
    return 0;
  }
  // A maximized window cannot be dragged by its caption.
  if (windowState_ == kMaximized && wParam == HTCAPTION && active_) wParam = HTMENU;
  return Default(WM_NCLBUTTONDOWN, wParam, lParam);
}

LRESULT TWinSkinForm::OnNcLButtonUp(WPARAM wParam, LPARAM lParam) {
  const POINT screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  TNCObject* object = ObjectAt(ToFramePoint(screen));
  if (!object) return Default(WM_NCLBUTTONUP, wParam, lParam);
  if (!IsMenuItem(object) && object == hotObject_) {
    object->MouseUp();
    ClickButton(screen);
  }
  return 0;
}

LRESULT TWinSkinForm::OnNcLButtonDblClk(WPARAM wParam, LPARAM lParam) {
  redrawn_ = true;
  if (TWinSysButton* button =
          ButtonAt(ToFramePoint({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}))) {
    if (button->IsIcon()) {
      if (hoverTimer_) hoverTimer_->SetEnabled(false);
      PostMessageW(handle_, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
    return 0;
  }
  if (wParam != HTCAPTION) return Default(WM_NCLBUTTONDBLCLK, wParam, lParam);
  if (windowState_ != kNormal) {
    RestoreWindow();
  } else if (windowButtons_ & kMaximizeBox) {
    MaximizeToggle();
  } else {
    return Default(WM_NCLBUTTONDBLCLK, wParam, lParam);
  }
  return 0;
}

LRESULT TWinSkinForm::OnNcRButtonDown(WPARAM wParam, LPARAM lParam) {
  if (wParam == HTCAPTION && mdiKind_ != kMDIChild && SkinnedFrame()) {
    ShowSysMenu({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    return 0;
  }
  return Default(WM_NCRBUTTONDOWN, wParam, lParam);
}

void TWinSkinForm::ClickButton(POINT point) {
  auto* button = dynamic_cast<TWinSysButton*>(hotObject_);
  if (!button) return;
  auto toActiveChild = [&](WPARAM command) {
    if (mdiKind_ != kMDIFrame || !mdiClient_) return;
    if (HWND child = reinterpret_cast<HWND>(SendMessageW(mdiClient_, WM_MDIGETACTIVE, 0, 0)))
      PostMessageW(child, WM_SYSCOMMAND, command, 0);
  };
  switch (button->Data.Action) {
    case TWinSysButton::kClose:
      if (CanClose()) {
        if (hoverTimer_) hoverTimer_->SetEnabled(false);
        PostMessageW(handle_, WM_SYSCOMMAND, SC_CLOSE, 0);
      }
      break;
    case TWinSysButton::kMaximize:
    case TWinSysButton::kMaximize2:
      if (button->Enabled) MaximizeToggle();
      break;
    case TWinSysButton::kMinimize:
    case TWinSysButton::kMinimize2:
      if (button->Enabled) MinimizeToggle();
      break;
    case TWinSysButton::kIcon:
    case TWinSysButton::kSysMenu:
    case TWinSysButton::kSysMenu2:
      ShowSysMenu({point.x + 1, point.y + 1});
      break;
    case TWinSysButton::kHelp:
      PostMessageW(handle_, WM_SYSCOMMAND, SC_CONTEXTHELP, 0);
      break;
    case TWinSysButton::kChildMinimize:
    case TWinSysButton::kChildMinimize2:
      toActiveChild(SC_MINIMIZE);
      break;
    case TWinSysButton::kChildRestore:
    case TWinSysButton::kChildRestore2:
      toActiveChild(SC_RESTORE);
      break;
    case TWinSysButton::kChildClose:
    case TWinSysButton::kChildClose2:
      toActiveChild(SC_CLOSE);
      break;
    default:
      PostMessageW(handle_, skin::WM_SKINUSERBUTTON, button->Data.Action, 0);
      break;
  }
}

// --- Region --------------------------------------------------------------------------------

void TWinSkinForm::UpdateRegion() {
  if (skinState_ == kGone || !frameOn_ || !SkinnedFrame() || !skinData_) return;
  if (mdiKind_ == kMDIChild && windowState_ != kNormal) return;
  RECT window{};
  GetWindowRect(handle_, &window);
  const int w = Width(window), h = Height(window);
  if (w <= 0 || h <= 0) return;
  if (hasRegion_ && regionSize_.cx == w && regionSize_.cy == h && mdiKind_ != kMDIChild &&
      skinState_ != kReskinning)
    return;
  regionSize_ = {w, h};
  const SkinRecords& records = skinData_->Records();
  const auto& left = *records.FrameLeft;
  const auto& right = *records.FrameRight;
  const auto& top = *records.FrameTop;
  const auto& bottom = *records.FrameBottom;
  ui::GdiObject<HRGN> region;
  if (!left.Trans && !right.Trans && !top.Trans && !bottom.Trans) {
    region.reset(CreateRectRgn(0, 0, w, h));
  } else {
    region.reset(CreateRectRgn(borderLeft_, titleHeight_, w - borderRight_, h - borderBottom_));
    auto join = [&](ui::GdiObject<HRGN> part) {
      if (part) CombineRgn(region.get(), region.get(), part.get(), RGN_OR);
    };
    // The region of one edge drawn at its size, cut along its key pixels.
    auto cut = [&](int edge, bool vertical, RECT at) {
      try {
        ui::Bitmap work(Width(at), Height(at));
        {
          ui::Bitmap::Canvas canvas(work);
          PaintEdge(canvas.dc(), {0, 0, Width(at), Height(at)}, edge, vertical);
        }
        return skin::RegionFromBitmap(work, {at.left, at.top});
      } catch (...) {
        // GDI ran out: the edge's whole rectangle.
        return ui::GdiObject<HRGN>(CreateRectRgn(at.left, at.top, at.right, at.bottom));
      }
    };
    auto rect = [](RECT r) {
      return ui::GdiObject<HRGN>(CreateRectRgn(r.left, r.top, r.right, r.bottom));
    };
    if (borderKind_ != kNoCaption) {
      const RECT l{0, 0, borderLeft_, h}, r{w - borderRight_, 0, w, h};
      const RECT b{borderLeft_, h - borderBottom_, w - borderRight_, h};
      const RECT t{borderLeft_, 0, w - borderRight_, titleHeight_};
      join(left.Trans == 1 && h > 1 && borderLeft_ > 0 ? cut(kLeft, false, l) : rect(l));
      join(right.Trans == 1 && h > 1 && borderRight_ > 0 ? cut(kRight, false, r) : rect(r));
      join(bottom.Trans == 1 && borderBottom_ >= 2 && Width(b) > 0 ? cut(kBottom, true, b)
                                                                   : rect(b));
      join(top.Trans == 1 && titleHeight_ > 1 && Width(t) > 0 ? cut(kTop, true, t) : rect(t));
    }
  }
  // The system owns a region once it is set; it frees the previous one itself.
  if (SetWindowRgn(handle_, region.get(), TRUE)) {
    region.release();
    hasRegion_ = true;
  }
}

void TWinSkinForm::RemoveRegion() {
  if (!hasRegion_) return;
  hasRegion_ = false;
  regionSize_ = {};
  if (IsWindow(handle_)) SetWindowRgn(handle_, nullptr, mdiKind_ == kMDIChild);
}
