#pragma once

#include "skin/controls/SkinScrollbar.h"

// The scroll bars of a window that no framework control stands behind (the list of a simple
// combo box, say): the same overlays, attached by handle.
class TSkinScrollbarH : public TSkinScrollbar {
  VELMO_DECLARE_CLASS
 public:
  explicit TSkinScrollbarH(ui::TComponent* owner);

  void AttachWindow(HWND window, TSkinData& skinData, TWinSkinForm& form, HDC canvas) override;

 protected:
  void AfterMessage(ui::TMessage& message) override;
};
