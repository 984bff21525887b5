#include "skin/controls/SkinSpeedButton.h"

#include "skin/controls/PropertyAccess.h"
#include "skin/data/SkinData.h"

VELMO_NAMED_CLASS_INFO(TSkinSpeedButton, TSkinBitButton)

TSkinSpeedButton::TSkinSpeedButton(ui::TComponent* owner) : TSkinBitButton(owner) {}

void TSkinSpeedButton::PaintWindow(HDC dc) {
  ui::TControl* control = GraphicControl();
  if (!control || !dc) return;
  // Drawing the face may make the parent paint (and so this button) again.
  if (painting_) return;
  painting_ = true;
  try {
    DrawSkin(dc, {0, 0, control->Width(), control->Height()});
  } catch (...) {
    // The button stays as the parent left it.
  }
  painting_ = false;
}

bool TSkinSpeedButton::BeforeMessage(ui::TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      if (!HasImage(ButtonsRecord())) return true;
      PaintWindow(reinterpret_cast<HDC>(m.WParam));
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      // The button's handler may free the button and us with it.
      const std::shared_ptr<bool> alive = AliveFlag();
      CallPrevious(m);
      if (!*alive) return false;
      state_ |= kPressed;
      Repaint();
      return false;
    }
    case WM_LBUTTONUP:
      return true;
    case ui::CM_RELEASE: {
      const std::shared_ptr<bool> alive = AliveFlag();
      CallPrevious(m);
      if (*alive) UnhookControl();
      return false;
    }
    default:
      return TSkinControl::BeforeMessage(m);
  }
}

void TSkinSpeedButton::AfterMessage(ui::TMessage& m) {
  switch (m.Msg) {
    case ui::CM_MOUSEENTER:
      state_ |= kHot;
      Repaint();
      break;
    case ui::CM_MOUSELEAVE:
      state_ &= ~(kHot | kPressed);
      if (GraphicControl() && GraphicControl()->Visible()) Repaint();
      break;
    case WM_KEYDOWN:
    case WM_KEYUP:
      if (m.WParam != VK_SPACE) break;
      if (m.Msg == WM_KEYDOWN)
        state_ |= kPressed;
      else
        state_ &= ~kPressed;
      Repaint();
      break;
    case WM_LBUTTONUP:
      state_ &= ~kPressed;
      Repaint();
      break;
    default:
      break;
  }
}

int TSkinSpeedButton::FaceFrame() const {
  if (!enabled_) return kDisabled;
  if ((state_ & kPressed) || skin::BoolProperty(GraphicControl(), L"Down")) return kPressedFrame;
  if (state_ & kHot) return kHotFrame;
  return kNormal;
}

void TSkinSpeedButton::DrawSkin(HDC dc, const RECT& rect) {
  ui::TControl* control = GraphicControl();
  if (!control || !HasImage(ButtonsRecord())) return;
  RefreshState();
  const int frame = FaceFrame();
  const bool down = skin::BoolProperty(control, L"Down");
  const bool flat = skin::BoolProperty(control, L"Flat");
  // Flat buttons show the image only while something happens to them.
  const bool image = !flat || frame == kPressedFrame || frame == kHotFrame;
  if (!BeginFace(dc, rect, frame, image)) return;
  {
    ui::Bitmap::Canvas canvas(face_);
    Content content;
    content.glyphFrame = !enabled_ ? 2 : down ? 4 : (state_ & kPressed) ? 3 : 1;
    content.disabled = !enabled_;
    content.textColour = TextColour(frame);
    DrawContent(canvas.dc(), {0, 0, face_.Width(), face_.Height()}, content);
  }
  EndFace(dc, rect);
}
