#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "skin/data/DataSkinBorder.h"
#include "skin/data/DataSkinBoxLabel.h"
#include "skin/data/DataSkinButton.h"
#include "skin/data/DataSkinObject.h"
#include "skin/data/DataSkinSysButton.h"
#include "skin/data/DataSkinTitle.h"
#include "ui/GdiObject.h"

class PixelBudget;
class TQuickIni;
class TSkinReader;

// System-colour references (top byte 0xFF, low byte the index), resolved when drawn.
constexpr Colour SystemColour(int index) { return 0xFF000000u | static_cast<Colour>(index); }

// The 16 named colours of section Colours.
struct SkinColours {
  Colour WindowText, ButtonFace, Scrollbar, HilightText, Hilight, Menubar, Menu, MenuText,
      ButtonText, ButtonHilight, Buttonlight, ButtonShadow, ButtonDkShadow, MenuBarText,
      TitleTextActive, TitleTextNoActive;
};

// Everything a parsed skin is. Permanent records (frame edges, title, buttons, combo arrow)
// keep their address across loads so painters may hold them; the others are null when the
// skin does not give their image.
struct SkinRecords {
  SkinRecords();
  // Takes over everything `fresh` holds; the permanent records keep their address.
  void Adopt(SkinRecords&& fresh);

  std::unique_ptr<TDataSkinBorder> FrameLeft, FrameRight, FrameTop, FrameBottom;
  std::unique_ptr<TDataSkinTitle> Title;
  std::unique_ptr<TDataSkinButton> Buttons;
  std::vector<std::unique_ptr<TDataSkinSysButton>> SysButtons;
  std::unique_ptr<TDataSkinBorder> Progress;
  std::unique_ptr<TDataSkinObject> ProgressChunk, MenuBar, GroupBoxEdge;
  std::unique_ptr<TDataSkinBoxLabel> GroupBox;
  std::unique_ptr<TDataSkinBorder> Tabs;
  std::unique_ptr<TDataSkinObject> StatusBarEdges, TabPane, ToolBars;
  std::unique_ptr<TDataSkinBorder> ComboButton;
  std::unique_ptr<TDataSkinObject> SunkEdge, ExtraImages, Headerbar, MenuItem, MenuBackground,
      Scrollbar, HorzScroll, VertScroll, HorzScrollThumb, VertScrollThumb;
  std::unique_ptr<TDataSkinObject> TrackbarThumbHorz, TrackbarThumbVert, TrackbarThumbLeft,
      TrackbarThumbRight, TrackbarThumbUp, TrackbarThumbDown;
  std::unique_ptr<TDataSkinBorder> UpDownHorz, UpDownVert;
  std::unique_ptr<TDataSkinObject> Track, TrackVert;
  std::unique_ptr<TDataSkinObject> Toolbar;
  std::unique_ptr<TDataSkinObject> ComboxArrow;

  std::string SkinName;
  SkinColours Colours{};
  std::vector<Colour> ColourSections;
  std::array<Colour, 10> CustomColors{};
  Colour FrameColour = 0;
  ui::GdiObject<HBRUSH> FaceBrush;
};

// Where a skin's images come from besides its package: the program's own bitmap resources.
using BuiltinBitmapLoader = std::function<ui::Bitmap(const wchar_t* resourceName)>;
ui::Bitmap LoadBuiltinBitmap(const wchar_t* resourceName);  // from the executable's resources

// Fills every record from the INI and the package, replacing the previous skin's. A skin
// beyond the load limits (SkinLimits.h) gives false and leaves the records as they were.
bool ParseSkin(SkinRecords& records, const TSkinReader& reader, const TQuickIni& ini,
               const BuiltinBitmapLoader& builtin = LoadBuiltinBitmap);

// The package entry an image value names (folder part dropped; ".bmp" exactly, else none),
// counted against the load's budget before it is decoded (SkinLimitExceeded beyond it).
ui::Bitmap LoadSkinBitmap(const TSkinReader& reader, std::string_view value, PixelBudget& budget);
