#pragma once

#include "skin/controls/SkinControl.h"

class OffscreenFace;

// Combo boxes. The combo paints its text (and its edit part paints itself); the wrapper puts
// the skin's frame and drop-down button around it in the button's state (normal, pressed,
// disabled, focused or hot), taken from the ComboButton element in one of three layouts:
//   Style 1  the whole control is one face of the strip;
//   Style 2  the whole control is drawn in nine parts from the composed combo strip (the
//            skin data builds it from SunkEdge and ComboButton), or from its mirror image
//            when the button is at the left (WS_EX_LEFTSCROLLBAR);
//   else     SunkEdge around the text, the button strip (mirrored at the left) and the arrow.
// The drop-down list's scroll bars get their own wrapper. Controls of other libraries that
// are an edit with a button child are drawn edit-like: a skinned border and the button.
class TSkinComBox : public TSkinControl {
  VELMO_DECLARE_CLASS
 public:
  explicit TSkinComBox(ui::TComponent* owner);
  ~TSkinComBox() override;

  void AttachControl(TWinSkinForm& form, TSkinData& skinData, bool applyColour,
                     HDC canvas) override;
  void AttachWindow(HWND window, TSkinData& skinData, TWinSkinForm& form, HDC canvas) override;
  void RestoreControl() override;

  // Where the drop-down button was drawn last (client coordinates).
  const RECT& ButtonRect() const { return button_; }
  // The list's scroll-bar wrapper, when there is one.
  TControlWrapper* ListWrapper() const { return list_; }
  bool EditLike() const { return editLike_; }

 protected:
  bool BeforeMessage(ui::TMessage& message) override;
  void AfterMessage(ui::TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;
  void Notification(ui::TComponent* component, ui::TOperation operation) override;

 private:
  // Reads the style and the combo's parts, wraps its list and its edit part (once).
  void TakeParts();
  void ReleaseParts();
  LRESULT EditPartProc(UINT msg, WPARAM wParam, LPARAM lParam);
  // A press or release on the combo or its edit part shows on the button; false for any
  // other message.
  bool FollowPress(UINT msg);
  // The combo's own painting and the skin on top, put on the window in one transfer.
  void PaintComposed(const ui::TMessage& message);
  // The combo's own painting and the skin's, composed in `face` and shown on `dc`.
  void ComposeFace(HDC dc, const RECT& client, OffscreenFace& own, OffscreenFace& face);
  // Where the combo paints its text (client coordinates).
  RECT TextArea(const RECT& client) const;
  int FaceState() const;
  void DrawEditLike(HDC dc, const RECT& rect, int state);
  void SetHot(bool hot);

  LONG style_ = 0;
  LONG exStyle_ = 0;
  COMBOBOXINFO info_{};
  bool infoRead_ = false;
  bool partsTaken_ = false;
  bool editLike_ = false;
  bool dropped_ = false;
  RECT button_{};
  TControlWrapper* list_ = nullptr;  // owned
  ui::WindowSubclass editPart_;
};
