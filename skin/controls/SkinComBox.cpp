#include "skin/controls/SkinComBox.h"

#include <algorithm>
#include <string>

#include "skin/controls/ComboxScrollBar.h"
#include "skin/controls/OffscreenFace.h"
#include "skin/controls/SkinScrollbarH.h"
#include "skin/data/ElementDrawing.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinImages.h"
#include "skin/data/SkinMetrics.h"
#include "ui/GdiObject.h"

VELMO_NAMED_CLASS_INFO(TSkinComBox, TSkinControl)

namespace {

// Button states: the frames of the combo strips.
enum : int { kNormal = 1, kPressedFrame = 2, kDisabled = 3, kHotFrame = 4 };

bool IsComboWindow(HWND window) {
  const std::wstring name = ui::WindowClassName(window);
  return ui::SameText(name, L"combobox") || ui::SameText(ui::BaseWindowClass(name), L"combobox");
}

// One frame of a record in nine parts, always with the key colour left out.
void DrawClear(HDC dc, const RECT& rect, const TDataSkinObject& record, int frame) {
  if (rect.right <= rect.left || rect.bottom <= rect.top) return;
  skin::DrawElement(
      dc, rect,
      {&record.Bitmap, record.Margins, {record.FrameCount, frame, false}, record.Tile != 0, true});
}

// The width of the drop-down button: a scroll arrow and two pixels.
int ButtonWidth() { return skin::SkinMetric(SM_CXHSCROLL) + 2; }

}  // namespace

TSkinComBox::TSkinComBox(ui::TComponent* owner) : TSkinControl(owner) {}

TSkinComBox::~TSkinComBox() { ReleaseParts(); }

void TSkinComBox::AttachControl(TWinSkinForm& form, TSkinData& skinData, bool applyColour,
                                HDC canvas) {
  auto* control = dynamic_cast<ui::TWinControl*>(Owner());
  // An extended combo box holds the real combo as its child.
  if (settings_.extendedCombo && control && control->Handle()) {
    if (HWND inner = GetWindow(control->WindowHandle(), GW_CHILD)) {
      AttachWindow(inner, skinData, form, canvas);
      return;
    }
  }
  TSkinControl::AttachControl(form, skinData, applyColour, canvas);
  TakeParts();
}

void TSkinComBox::AttachWindow(HWND window, TSkinData& skinData, TWinSkinForm& form, HDC canvas) {
  TSkinControl::AttachWindow(window, skinData, form, canvas);
  TakeParts();
}

void TSkinComBox::TakeParts() {
  const HWND window = WindowHandle();
  if (partsTaken_ || !window) return;
  partsTaken_ = true;
  style_ = GetWindowLongW(window, GWL_STYLE);
  exStyle_ = GetWindowLongW(window, GWL_EXSTYLE);
  editLike_ = !IsComboWindow(window);
  if (editLike_) return;
  info_.cbSize = sizeof(info_);
  infoRead_ = GetComboBoxInfo(window, &info_) != FALSE;
  const int kind = style_ & 3;
  if (infoRead_ && info_.hwndList && Form() && SkinData()) {
    const HWND list = info_.hwndList;
    const HWND parent = GetParent(list);
    if (kind == CBS_DROPDOWN || kind == CBS_DROPDOWNLIST) {
      list_ = new TComboxScrollBar(this);
    } else if (!(GetWindowLongW(list, GWL_STYLE) & WS_POPUP) && parent &&
               parent != GetDesktopWindow()) {
      list_ = new TSkinScrollbarH(this);
    }
    if (list_) list_->AttachWindow(list, *SkinData(), *Form(), canvas_);
  }
  // A press in the edit part of an ANSI combo shows the combo pressed.
  if (!unicode_ && (kind == CBS_DROPDOWN || kind == CBS_DROPDOWNLIST)) {
    if (HWND edit = GetWindow(window, GW_CHILD))
      editPart_.Install(edit, [this](UINT msg, WPARAM wParam, LPARAM lParam) {
        return EditPartProc(msg, wParam, lParam);
      });
  }
  Repaint();
}

void TSkinComBox::ReleaseParts() {
  editPart_.Remove();
  delete std::exchange(list_, nullptr);
}

void TSkinComBox::RestoreControl() {
  ReleaseParts();
  TSkinControl::RestoreControl();
}

void TSkinComBox::Notification(ui::TComponent* component, ui::TOperation operation) {
  TSkinControl::Notification(component, operation);
  if (operation == ui::TOperation::Remove && component == list_) list_ = nullptr;
}

LRESULT TSkinComBox::EditPartProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  // The edit's own handling reaches the application (a change, a drop-down, the focus), whose
  // handler may free the combo and this wrapper with it.
  const std::shared_ptr<bool> alive = AliveFlag();
  const LRESULT result = editPart_.CallPrevious(msg, wParam, lParam);
  if (!*alive || !SkinningActive()) return result;
  if (msg == WM_PAINT)
    PaintWindow(nullptr);
  else
    FollowPress(msg);
  return result;
}

bool TSkinComBox::FollowPress(UINT msg) {
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      state_ |= kPressed;
      break;
    case WM_LBUTTONUP:
      state_ &= ~kPressed;
      break;
    default:
      return false;
  }
  PaintWindow(nullptr);
  return true;
}

bool TSkinComBox::BeforeMessage(ui::TMessage& m) {
  const TDataSkinBorder* button = Records() ? Records()->ComboButton.get() : nullptr;
  if (m.Msg == WM_PAINT && !editLike_ && HasImage(button) &&
      !(infoRead_ && (info_.stateButton & STATE_SYSTEM_INVISIBLE))) {
    PaintComposed(m);
    return false;
  }
  return TSkinControl::BeforeMessage(m);
}

void TSkinComBox::PaintComposed(const ui::TMessage& m) {
  const HWND window = WindowHandle();
  PAINTSTRUCT ps{};
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  if (!dc) dc = BeginPaint(window, &ps);
  RECT client;
  GetClientRect(window, &client);
  bool composed = false;
  if (dc) {
    // The faces go before the combo paints itself in their place: what a half-made one holds
    // may be what that paint needs.
    OffscreenFace own(client), face(client);
    composed = face.Ready() && own.Ready();
    if (composed) ComposeFace(dc, client, own, face);
  }
  if (dc && !composed) {
    // No bitmap to compose in: the combo paints itself.
    ui::TMessage paint{WM_PAINT, reinterpret_cast<WPARAM>(dc), 0, 0};
    CallPrevious(paint);
  }
  if (!m.WParam) EndPaint(window, &ps);
}

void TSkinComBox::ComposeFace(HDC dc, const RECT& client, OffscreenFace& own, OffscreenFace& face) {
  const HWND window = WindowHandle();
  FillFace(own.dc(), own.Local());
  ui::TMessage paint{WM_PAINT, reinterpret_cast<WPARAM>(own.dc()), 0, 0};
  CallPrevious(paint);
  if (Records()->ComboButton->Style == 2) {
    // The skin draws the whole frame and button: of the combo's own painting only its text
    // area is kept, placed beside the skin's button on whichever side that is.
    FillFace(face.dc(), face.Local());
    const RECT text = TextArea(client);
    const int width = text.right - text.left;
    const bool left = (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
    const int x = left ? client.right - 2 - width : text.left;
    BitBlt(face.dc(), x, text.top, width, text.bottom - text.top, own.dc(), text.left, text.top,
           SRCCOPY);
  } else {
    own.CopyTo(face.dc());
  }
  try {
    DrawSkin(face.dc(), face.Local());
  } catch (...) {
    // What is there so far is shown.
  }
  // The edit part (and a simple combo's list) paint themselves.
  face.CopyAround(dc, window);
}

RECT TSkinComBox::TextArea(const RECT& client) const {
  // Inside the combo's 2-pixel edge, left of its own button.
  RECT text{2, 2, client.right - ButtonWidth() - 2, client.bottom - 2};
  if (infoRead_ && info_.rcButton.right > info_.rcButton.left) text.right = info_.rcButton.left;
  return text;
}

void TSkinComBox::AfterMessage(ui::TMessage& m) {
  switch (m.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_DRAWITEM:
    case WM_NCPAINT:
      PaintWindow(nullptr);
      break;
    case WM_MOUSEMOVE: {
      POINT p{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
      if (PtInRect(&button_, p)) {
        SetHot(true);
      } else if (IsWindowEnabled(WindowHandle())) {
        SetHot(false);
      }
      break;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
      FollowPress(m.Msg);
      break;
    case ui::CM_MOUSELEAVE:
    case WM_MOUSELEAVE:
      SetHot(false);
      break;
    case ui::CN_COMMAND:
      if (HIWORD(m.WParam) == CBN_DROPDOWN) {
        dropped_ = true;
      } else if (HIWORD(m.WParam) == CBN_CLOSEUP) {
        dropped_ = false;
        state_ &= ~kPressed;
      } else {
        break;
      }
      PaintWindow(nullptr);
      break;
    default:
      TSkinControl::AfterMessage(m);
  }
}

void TSkinComBox::SetHot(bool hot) {
  if (hot == ((state_ & kHot) != 0)) return;
  if (hot) {
    state_ |= kHot;
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, WindowHandle(), 0};
    TrackMouseEvent(&track);
  } else {
    state_ &= ~kHot;
  }
  PaintWindow(nullptr);
}

int TSkinComBox::FaceState() const {
  if (!enabled_) return kDisabled;
  const HWND window = WindowHandle();
  const bool dropped = dropped_ || (!editLike_ && SendMessageW(window, CB_GETDROPPEDSTATE, 0, 0));
  if ((state_ & kPressed) || dropped) return kPressedFrame;
  const HWND focus = GetFocus();
  if ((state_ & kHot) || (focus && (focus == window || IsChild(window, focus)))) return kHotFrame;
  return kNormal;
}

void TSkinComBox::DrawSkin(HDC dc, const RECT& rect) {
  const SkinRecords* records = Records();
  const TDataSkinBorder* button = records ? records->ComboButton.get() : nullptr;
  if (!HasImage(button)) return;
  if (!editLike_ && infoRead_ && (info_.stateButton & STATE_SYSTEM_INVISIBLE)) return;
  RefreshState();
  const int state = FaceState();
  if (editLike_) {
    DrawEditLike(dc, rect, state);
    return;
  }
  const bool left = (GetWindowLongW(WindowHandle(), GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
  const int width = ButtonWidth();
  if (button->Style == 1) {
    button_ = rect;
    DrawStateImage(dc, rect, *button, button->FrameCount, state);
    return;
  }
  if (button->Style == 2) {
    button_ = left ? RECT{rect.left, rect.top, rect.left + width + 2, rect.bottom}
                   : RECT{rect.right - width - 2, rect.top, rect.right, rect.bottom};
    const TDataSkinObject* mirrored = records->SunkEdge.get();
    if (left && HasImage(mirrored)) {
      // The mirror image of the strip holds its frames in reverse order.
      DrawClear(dc, rect, *mirrored, mirrored->FrameCount - state + 1);
    } else {
      DrawClear(dc, rect, *button, state);
    }
    return;
  }
  // The edge around the text, the combo's own text area left as it is.
  if (const TDataSkinObject* sunk = records->SunkEdge.get(); HasImage(sunk)) {
    const int saved = SaveDC(dc);
    if (infoRead_)
      ExcludeClipRect(dc, info_.rcItem.left, info_.rcItem.top, info_.rcItem.right,
                      info_.rcItem.bottom);
    DrawStateImage(dc, rect, *sunk, sunk->FrameCount, state);
    RestoreDC(dc, saved);
  }
  button_ = left ? RECT{rect.left, rect.top, rect.left + width, rect.bottom}
                 : RECT{rect.right - width, rect.top, rect.right, rect.bottom};
  const int frames = std::max(1, button->FrameCount);
  if (left && !button->Bitmap2.Empty())
    DrawStripFrame(dc, button_, frames, frames - state + 1, button->Bitmap2);
  else
    DrawStripFrame(dc, button_, frames, state, button->Bitmap);
  if (const TDataSkinObject* arrow = records->ExtraImages.get(); HasImage(arrow)) {
    const int count = std::max(1, arrow->FrameCount);
    const int w = arrow->Bitmap.Width() / count, h = arrow->Bitmap.Height();
    const int x = (button_.left + button_.right - w) / 2,
              y = (button_.top + button_.bottom - h) / 2;
    // The arrow's picture turns with the button.
    ui::Bitmap glyph(w, h);
    {
      ui::Bitmap::Canvas to(glyph), from(arrow->Bitmap);
      BitBlt(to.dc(), 0, 0, w, h, from.dc(), (std::clamp(state, 1, count) - 1) * w, 0, SRCCOPY);
    }
    if (left) skin::MirrorHorizontal(glyph);
    skin::DrawTransparent(dc, {x, y, x + w, y + h}, glyph);
  }
}

void TSkinComBox::DrawEditLike(HDC dc, const RECT& rect, int state) {
  const HWND window = WindowHandle();
  RECT w{}, c{};
  GetWindowRect(window, &w);
  GetClientRect(window, &c);
  if (w.right - w.left != c.right || w.bottom - w.top != c.bottom) {
    RECT r = rect;
    ui::GdiObject<HBRUSH> shadow(CreateSolidBrush(ShadowColour()));
    FrameRect(dc, &r, shadow.get());
    InflateRect(&r, -1, -1);
    FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }
  const HWND child = GetWindow(window, GW_CHILD);
  const TDataSkinObject* arrow = Records()->ComboxArrow.get();
  if (!child || !HasImage(arrow)) return;
  RECT r;
  GetWindowRect(child, &r);
  OffsetRect(&r, -w.left, -w.top);
  button_ = r;
  FillFace(dc, r);
  DrawStripFrame(dc, r, std::max(1, arrow->FrameCount), state, arrow->Bitmap);
}
