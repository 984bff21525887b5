#include "skin/forms/WinSkinPopMenu.h"

#include "skin/data/ElementDrawing.h"
#include "skin/data/SkinData.h"
#include "skin/forms/CompositorFrame.h"
#include "skin/forms/SkinManage.h"
#include "skin/forms/SkinMessages.h"

namespace {

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

bool HasOwnerDrawnItem(HMENU menu) {
  const int count = menu ? GetMenuItemCount(menu) : 0;
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    if (GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info) && (info.fType & MFT_OWNERDRAW))
      return true;
  }
  return false;
}

}  // namespace

void TWinSkinPopMenu::Hook(HWND window, TSkinData& skinData, int level) {
  handle_ = window;
  skinData_ = &skinData;
  level_ = level;
  skin::compositor::SquareCorners(window);
  subclass_.Install(window, [this](UINT msg, WPARAM wParam, LPARAM lParam) {
    // Nothing may leave a window procedure; the menu's paints fall back to the plain menu.
    try {
      return WndProc(msg, wParam, lParam);
    } catch (...) {
      return LRESULT{0};
    }
  });
}

void TWinSkinPopMenu::Unhook() {
  subclass_.Remove();
  background_.Reset();
  items_.Clear();
  composed_.Reset();
}

void TWinSkinPopMenu::SkinChanged() {
  background_.Reset();
  if (handle_ && IsWindow(handle_))
    RedrawWindow(handle_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

HMENU TWinSkinPopMenu::Menu() const {
  if (menu_) return menu_;
  if (!handle_ || !IsWindow(handle_)) return nullptr;
  return reinterpret_cast<HMENU>(SendMessageW(handle_, MN_GETHMENU, 0, 0));
}

LRESULT TWinSkinPopMenu::Default(UINT msg, WPARAM wParam, LPARAM lParam) {
  return subclass_.CallPrevious(msg, wParam, lParam);
}

bool TWinSkinPopMenu::HasNonClientFrame() const {
  RECT window{}, client{};
  GetWindowRect(handle_, &window);
  GetClientRect(handle_, &client);
  return Width(window) != Width(client) || Height(window) != Height(client);
}

POINT TWinSkinPopMenu::ClientOrigin() const {
  RECT window{};
  GetWindowRect(handle_, &window);
  POINT origin{0, 0};
  ClientToScreen(handle_, &origin);
  return {origin.x - window.left, origin.y - window.top};
}

const ui::Bitmap& TWinSkinPopMenu::Background() {
  const TDataSkinObject* record =
      skinData_ && skinData_->SkinParsed() ? skinData_->Records().MenuBackground.get() : nullptr;
  if (!record || record->Bitmap.Empty() || !IsWindow(handle_)) {
    background_.Reset();
    items_.Clear();
    return background_;
  }
  RECT window{};
  GetWindowRect(handle_, &window);
  const int w = Width(window), h = Height(window);
  if (w <= 0 || h <= 0) {
    background_.Reset();
  } else if (background_.Width() != w || background_.Height() != h) {
    items_.Clear();
    skin::Element element;
    element.strip = &record->Bitmap;
    element.margins = record->Margins;
    element.frame = {1, 1, false};
    element.tileMiddle = record->Tile != 0;
    try {
      background_ = skin::RenderElement({0, 0, w, h}, element);
    } catch (...) {
      // No bitmap for it (GDI ran out): the menu paints itself.
      background_.Reset();
    }
  }
  return background_;
}

bool TWinSkinPopMenu::Painted() {
  TSkinManage* manager = TSkinManage::Instance();
  if (!manager || !manager->Enabled()) return false;
  return !Background().Empty() && HasOwnerDrawnItem(Menu());
}

LRESULT TWinSkinPopMenu::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == skin::WM_SKINQUERY) return 1;
  TSkinManage* manager = TSkinManage::Instance();
  if (!manager || !manager->Enabled()) return Default(msg, wParam, lParam);
  switch (msg) {
    case WM_DESTROY:
      Unhook();
      return Default(msg, wParam, lParam);
    case WM_ERASEBKGND:
      if (!skinData_ || !(skinData_->Options() & Bit(xoMenuBG))) Default(msg, wParam, lParam);
      return 1;
    case WM_NCPAINT:
      if (!HasNonClientFrame() || !Painted()) break;
      OnNcPaint();
      return 0;
    case WM_PAINT:
      if (HasNonClientFrame() || !Painted()) break;
      OnPaint();
      return 0;
    case WM_PRINT:
      if (!Painted()) break;
      OnPrint(reinterpret_cast<HDC>(wParam), lParam);
      return 0;
    default:
      break;
  }
  return Default(msg, wParam, lParam);
}

void TWinSkinPopMenu::OnNcPaint() {
  const ui::Bitmap& back = Background();
  ui::WindowDC dc(handle_, ui::WindowDC::Area::Whole);
  if (!dc.get()) return;
  // The frame only: the items paint the client area.
  RECT client{};
  GetClientRect(handle_, &client);
  const POINT origin = ClientOrigin();
  OffsetRect(&client, origin.x, origin.y);
  const int saved = SaveDC(dc.get());
  ExcludeClipRect(dc.get(), client.left, client.top, client.right, client.bottom);
  ui::Bitmap::Canvas canvas(back);
  BitBlt(dc.get(), 0, 0, back.Width(), back.Height(), canvas.dc(), 0, 0, SRCCOPY);
  RestoreDC(dc.get(), saved);
}

void TWinSkinPopMenu::OnPaint() {
  // The border lies inside the client area here: the background with its frame goes first,
  // then the menu draws its items inside the frame, all off-screen and shown in one copy.
  RECT client{};
  GetClientRect(handle_, &client);
  const int w = Width(client), h = Height(client);
  if (composed_.Width() != w || composed_.Height() != h) {
    try {
      composed_ = ui::Bitmap(w, h);
    } catch (...) {
      // Nothing to compose in (GDI ran out): the menu paints itself.
      composed_.Reset();
      Default(WM_PAINT, 0, 0);
      return;
    }
  }
  const ui::Bitmap& work = composed_;
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(handle_, &paint);
  if (dc && !work.Empty()) {
    {
      ui::Bitmap::Canvas canvas(work);
      const POINT origin = ClientOrigin();
      {
        ui::Bitmap::Canvas back(Background());
        BitBlt(canvas.dc(), 0, 0, w, h, back.dc(), origin.x, origin.y, SRCCOPY);
      }
      RECT window{};
      GetWindowRect(handle_, &window);
      IntersectClipRect(canvas.dc(), kFrameWidth - origin.x, kFrameWidth - origin.y,
                        Width(window) - kFrameWidth - origin.x,
                        Height(window) - kFrameWidth - origin.y);
      SetBkMode(canvas.dc(), TRANSPARENT);
      Default(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
    }
    ui::Bitmap::Canvas canvas(work);
    BitBlt(dc, 0, 0, w, h, canvas.dc(), 0, 0, SRCCOPY);
  }
  EndPaint(handle_, &paint);
}

void TWinSkinPopMenu::OnPrint(HDC dc, LPARAM flags) {
  const ui::Bitmap& back = Background();
  {
    ui::Bitmap::Canvas canvas(back);
    BitBlt(dc, 0, 0, back.Width(), back.Height(), canvas.dc(), 0, 0, SRCCOPY);
  }
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, kFrameWidth, kFrameWidth, back.Width() - kFrameWidth,
                    back.Height() - kFrameWidth);
  SetBkMode(dc, TRANSPARENT);
  Default(WM_PRINT, reinterpret_cast<WPARAM>(dc), flags);
  RestoreDC(dc, saved);
}
