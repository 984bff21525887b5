#include "skin/controls/SkinEdit.h"

#include <string>

#include "skin/controls/SkinUpDown.h"
#include "skin/data/SkinData.h"
#include "skin/forms/SkinMessages.h"
#include "ui/GdiObject.h"

VELMO_NAMED_CLASS_INFO(TSkinEdit, TSkinControl)

namespace {

bool IsSpinClass(HWND window) {
  const std::wstring lower = ui::LowerCase(ui::WindowClassName(window));
  return lower == L"msctls_updown32" || lower.find(L"spin") != std::wstring::npos ||
         lower.find(L"updown") != std::wstring::npos;
}

// The window's border: its rectangle less its client area, as window coordinates.
bool HasBorder(HWND window, RECT& client) {
  RECT w{};
  GetWindowRect(window, &w);
  GetClientRect(window, &client);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
  OffsetRect(&client, -w.left, -w.top);
  return client.right - client.left < w.right - w.left ||
         client.bottom - client.top < w.bottom - w.top;
}

}  // namespace

TSkinEdit::TSkinEdit(ui::TComponent* owner) : TSkinControl(owner) {}

bool TSkinEdit::BeforeMessage(ui::TMessage& m) {
  if (m.Msg == skin::WM_SKINPAINTEDIT && m.LParam == skin::SkinCookie) {
    // The edit paints itself into the given context, as into its own.
    ui::TMessage paint{WM_PAINT, m.WParam, 0, 0};
    CallPrevious(paint);
    m.Result = skin::SkinCookie;
    return false;
  }
  return TSkinControl::BeforeMessage(m);
}

void TSkinEdit::AfterMessage(ui::TMessage& m) {
  switch (m.Msg) {
    // The system draws its own border on these.
    case WM_NCPAINT:
      PaintWindow(nullptr);
      break;
    case WM_PRINTCLIENT: {
      // The context's origin is the client area's; the frame lies around it.
      HDC dc = reinterpret_cast<HDC>(m.WParam);
      RECT client, window;
      if (!dc || !HasBorder(WindowHandle(), client) || !GetWindowRect(WindowHandle(), &window))
        break;
      POINT origin;
      GetViewportOrgEx(dc, &origin);
      SetViewportOrgEx(dc, origin.x - client.left, origin.y - client.top, nullptr);
      OffsetRect(&window, -window.left, -window.top);
      DrawSkin(dc, window);
      SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
      break;
    }
    default:
      TSkinControl::AfterMessage(m);
  }
}

void TSkinEdit::Notification(ui::TComponent* component, ui::TOperation operation) {
  TSkinControl::Notification(component, operation);
  if (operation == ui::TOperation::Remove && component == upDown_) upDown_ = nullptr;
}

void TSkinEdit::FindUpDown() {
  if (upDown_ || !HasControls(xcSpin) || !Form() || !SkinData()) return;
  for (HWND child = GetWindow(WindowHandle(), GW_CHILD); child;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsSpinClass(child)) continue;
    upDown_ = new TSkinUpDown(this);
    upDown_->SetBuddyMode(true);
    upDown_->AttachWindow(child, *SkinData(), *Form(), canvas_);
    return;
  }
}

void TSkinEdit::DrawSkin(HDC dc, const RECT& rect) {
  FindUpDown();
  RECT client;
  if (!HasBorder(WindowHandle(), client)) return;
  RECT r = rect;
  ui::GdiObject<HBRUSH> shadow(CreateSolidBrush(ShadowColour()));
  FrameRect(dc, &r, shadow.get());
  for (int i = 0; i < 2; ++i) {
    InflateRect(&r, -1, -1);
    FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }
}
