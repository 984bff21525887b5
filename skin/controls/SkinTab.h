#pragma once

#include <string>
#include <vector>

#include "skin/controls/SkinFaceControl.h"
#include "skin/data/Margins.h"

class TSkinUpDown;
class TDataSkinObject;

// Tab and page controls with tab-style tabs, at any of the four sides. The page area is drawn
// from the skin's pane image and each tab from the Tabs strip (the current one from its
// second frame), both turned to face the side the tabs are on. The tab scroller gets its own
// wrapper. On a page control tagged 7777 every tab carries a close box; a click on it asks the
// form skinner (WM_SKINTABCLOSE) and closes the page unless it says no.
class TSkinTab : public TSkinFaceControl {
  VELMO_DECLARE_CLASS
 public:
  enum class Side { Top, Bottom, Left, Right };
  static constexpr int kCloseTag = 7777;

  explicit TSkinTab(ui::TComponent* owner);

  void AttachControl(TWinSkinForm& form, TSkinData& skinData, bool applyColour,
                     HDC canvas) override;
  void AttachWindow(HWND window, TSkinData& skinData, TWinSkinForm& form, HDC canvas) override;
  void SkinChanged() override;

  Side TabSide() const;
  // Where the tabs were drawn last, in order (client coordinates).
  const std::vector<RECT>& TabRects() const { return tabRects_; }
  // The close boxes drawn last, one per tab; empty without them.
  const std::vector<RECT>& CloseBoxes() const { return closeBoxes_; }
  TSkinUpDown* Scroller() const { return scroller_; }

 protected:
  bool DrawsFace() const override;
  bool BeforeMessage(ui::TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;
  void Notification(ui::TComponent* component, ui::TOperation operation) override;

 private:
  // A skin image turned to face the tabs' side, with its margins turned alike.
  struct Turned {
    ui::Bitmap image;
    Margins margins;
    int frames = 1;
    bool stacked = false;   // frames lie one under the other
    bool reversed = false;  // and the last one is on top
  };
  void MakeImages();
  void FindScroller();
  bool HasCloseBoxes() const;
  // The page that a tab stands for, when the control is a page control.
  void ClosePage(int tab);
  // Draws a tab; the current one a little larger. Returns where it went.
  RECT DrawTab(HDC dc, RECT r, int index, bool current);
  std::wstring TabText(int index, int& image) const;

  Turned tabs_, pane_;
  // The tab record's drawing settings, kept with the images: between a new skin's records and
  // the wrappers' refresh the live record may be gone.
  bool tile_ = false, trans_ = false;
  COLORREF normalText_ = 0, currentText_ = 0;
  Side imagesSide_ = Side::Top;
  bool imagesMade_ = false;
  TSkinUpDown* scroller_ = nullptr;  // owned
  std::vector<RECT> tabRects_;
  std::vector<RECT> closeBoxes_;
};
