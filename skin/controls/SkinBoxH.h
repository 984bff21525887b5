#pragma once

#include "skin/controls/SkinControl.h"

// A container reached by its window only (a dialog nested in a dialog, a tool bar): its
// background and the background of its static children are the skin's face.
class TSkinBoxH : public TSkinControl {
  VELMO_DECLARE_CLASS
 public:
  explicit TSkinBoxH(ui::TComponent* owner);

 protected:
  bool BeforeMessage(ui::TMessage& message) override;
  // The skin's face brush (owned by the skin data), or the system's.
  HBRUSH FaceBrush() const;
};
