#pragma once

#include <array>

#include "ui/Bitmap.h"
#include "ui/ExtCtrls.h"

struct SkinRecords;

// The panel laid over a media player: the player's visible buttons side by side on the
// skin's face, each a skinned button with its glyph (coloured, plain or disabled as the
// player's ColoredButtons and EnabledButtons say). A press on a button reaches the player
// at the same point, so the player acts on its own button there.
class TWMediaPlayer : public ui::TCustomPanel {
  VELMO_DECLARE_CLASS
 public:
  static constexpr int kKinds = 9;
  // The button kinds in the player's order, as its properties name them.
  static const std::array<const wchar_t*, kKinds> kNames;

  TWMediaPlayer(ui::TComponent* owner, ui::TWinControl& player, const SkinRecords* records);

  // Which kinds a set property of the player ("[btPlay,btStop]") holds.
  std::array<bool, kKinds> Kinds(const wchar_t* property) const;
  // The rectangles of the visible buttons, in order (client coordinates).
  std::vector<std::pair<int, RECT>> ButtonRects() const;

 protected:
  void WndProc(ui::TMessage& message) override;
  void PaintWindow(HDC dc) override;
  // The buttons and their glyphs onto the composed face.
  void PaintButtons(HDC dc);

 private:
  ui::TWinControl& player_;
  const SkinRecords* records_;
  // Per kind: the enabled, disabled and coloured glyph.
  std::array<std::array<ui::Bitmap, 3>, kKinds> glyphs_;
  int pressed_ = -1;
};
