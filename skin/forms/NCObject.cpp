#include "skin/forms/NCObject.h"

#include "skin/forms/WinSkinForm.h"

void TNCObject::MouseDown() {
  if (TNCObject* hot = Form.HotObject(); hot && hot != this) hot->MouseLeave();
  if (!Visible) return;
  Form.SetHotObject(this);
  State = kPressed;
  Paint();
}

void TNCObject::MouseUp() {
  if (!Visible) return;
  State = kHot;
  Paint();
}

void TNCObject::MouseEnter() {
  TNCObject* hot = Form.HotObject();
  if (hot == this) return;
  if (hot) hot->MouseLeave();
  if (!Visible) return;
  Form.SetHotObject(this);
  State = kHot;
  Paint();
}

void TNCObject::MouseLeave() {
  if (!Visible) return;
  if (Form.HotObject() == this) Form.SetHotObject(nullptr);
  State = kNormal;
  Paint();
}
