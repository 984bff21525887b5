#include "skin/data/SkinRecords.h"

#include <algorithm>

#include "skin/data/BmpImage.h"
#include "skin/data/ElementDrawing.h"
#include "skin/data/QuickIni.h"
#include "skin/data/SkinImages.h"
#include "skin/data/SkinLimits.h"
#include "skin/data/SkinMetrics.h"
#include "skin/data/SkinReader.h"

namespace {

bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }  // code page 936

// File name part of a value: after the last folder or drive separator. A double-byte
// character's second byte may look like a backslash, so characters are walked whole.
std::string_view FileNamePart(std::string_view value) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < value.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(value[i]);
    if (IsLeadByte(c) && i + 1 < value.size()) {
      ++i;
    } else if (c == '\\' || c == '/' || c == ':') {
      start = i + 1;
    }
  }
  return value.substr(start);
}

std::string_view Extension(std::string_view fileName) {
  const std::size_t dot = fileName.rfind('.');
  return dot == std::string_view::npos ? std::string_view() : fileName.substr(dot);
}

ui::Bitmap BitmapFromImage(const BmpImage& image) {
  return ui::Bitmap::FromPixels(image.width, image.height, image.pixels);
}

enum class Reader { Image, TwoImage, Bitmap, BoxLabel };

class Parser {
 public:
  Parser(SkinRecords& r, const TSkinReader& reader, const TQuickIni& ini,
         const BuiltinBitmapLoader& builtin, PixelBudget& budget)
      : r_(r), reader_(reader), ini_(ini), builtin_(builtin), budget_(budget) {}

  void Run();

 private:
  std::string Str(std::string_view section, std::string_view key) const {
    return ini_.ReadString(section, key, "");
  }
  int Int(std::string_view section, std::string_view key, int defaultValue = 0) const {
    return ini_.ReadInteger(section, key, defaultValue);
  }
  ui::Bitmap Image(std::string_view value) const { return LoadSkinBitmap(reader_, value, budget_); }

  template <typename Record>
  std::unique_ptr<Record> Element(std::string_view section, Reader kind,
                                  std::string_view secondKey = {}) const;
  void ReadColours(TDataSkinObject& record, std::string_view section) const;
  void FrameEdge(TDataSkinBorder& edge, const std::string& e) const;
  void Title() const;
  void MenuBar() const;
  void SysButtons() const;
  void Colours() const;
  void Buttons() const;
  void FixedFrameCounts() const;
  void ComboImages() const;
  void ComboArrow() const;
  void ToolbarBackground() const;

  SkinRecords& r_;
  const TSkinReader& reader_;
  const TQuickIni& ini_;
  const BuiltinBitmapLoader& builtin_;
  PixelBudget& budget_;
};

void Parser::ReadColours(TDataSkinObject& record, std::string_view section) const {
  record.NormalColour = Int(section, "NormalColour", -1);
  record.MouseOverColour = Int(section, "MouseOverColour", -1);
  record.PressedColour = Int(section, "PressedColour", -1);
  const Colour text = r_.Colours.ButtonText;
  record.NormalColour2 = ParseColour(Str(section, "NormalColour2"), text);
  record.MouseOverColour2 = ParseColour(Str(section, "MouseOverColour2"), text);
  record.PressedColour2 = ParseColour(Str(section, "PressedColour2"), text);
}

template <typename Record>
std::unique_ptr<Record> Parser::Element(std::string_view section, Reader kind,
                                        std::string_view secondKey) const {
  const std::string image = Str(section, kind == Reader::Bitmap ? "Bitmap" : "Image");
  if (image.empty()) return nullptr;
  auto record = std::make_unique<Record>(std::string(section));
  record->Bitmap = Image(image);
  record->Style = Int(section, "Style");
  record->Margins = {Int(section, "LeftWidth"), Int(section, "TopHeight"),
                     Int(section, "RightWidth"), Int(section, "BottomHeight")};
  if (kind == Reader::Image) record->FrameCount = Int(section, "Frame");
  record->Trans = Int(section, "Trans");
  record->Tile = Int(section, "Tile");
  if (record->Tile > 1) record->Tile = kind == Reader::Bitmap ? 1 : 0;
  if (kind != Reader::Bitmap) ReadColours(*record, section);
  if constexpr (std::is_base_of_v<TDataSkinBorder, Record>) {
    if (kind == Reader::TwoImage) {
      const std::string second = Str(section, secondKey);
      if (!second.empty()) record->Bitmap2 = Image(second);
    }
  }
  if constexpr (std::is_same_v<Record, TDataSkinBoxLabel>) {
    record->BackgroundAlignment = Int(section, "BackgroundAlignment");
    record->BackgroundLeftShift = Int(section, "BackgroundLeftShift");
    record->BackgroundRightShift = Int(section, "BackgroundRightShift");
  }
  return record;
}

void Parser::FrameEdge(TDataSkinBorder& edge, const std::string& e) const {
  constexpr std::string_view s = "Personality";
  edge = TDataSkinBorder(e);
  edge.Bitmap = Image(Str(s, e));
  const int first = Int(s, e + "TopHeight"), last = Int(s, e + "BotHeight");
  if (e == "Left" || e == "Right") {
    edge.Margins = {0, first, 0, last};
  } else {
    edge.Margins = {first, 0, last, 0};
  }
  edge.FrameCount = Int(s, e + "Frame", 1);
  edge.Tile = std::min(Int(s, e + "Stretch", 1), 1);
  edge.Trans = Int(s, e + "Trans", 1);
}

void Parser::Title() const {
  constexpr std::string_view s = "Personality";
  TDataSkinTitle& t = *r_.Title;
  t = TDataSkinTitle("Title");
  t.Bitmap = Image(Str(s, "TextBack"));
  t.Margins = {Int(s, "TextShift"), Int(s, "TextShiftVert"), Int(s, "TextRightClip"), 0};
  t.TextAlignment = Int(s, "TextAlignment");
  t.Textbackground = Int(s, "Textbackground");
  t.TXTBackleft = Int(s, "TXTBackleft");
  t.TXTBackRight = Int(s, "TXTBackRight");
  t.FontHeight = Int("Fonts", "FontHeight", 14);
  for (auto [name, slot] :
       {std::pair{"ActiveText", &t.ActiveText}, std::pair{"InActiveText", &t.InActiveText}}) {
    const std::string x = name;
    const int red = Int(s, x + "R", -1), green = Int(s, x + "G", -1), blue = Int(s, x + "B", -1);
    if (red >= 0 && green >= 0 && blue >= 0) *slot = Rgb(red, green, blue);
  }
}

void Parser::MenuBar() const {
  constexpr std::string_view s = "Personality";
  r_.MenuBar.reset();
  const std::string image = Str(s, "menuBar");
  if (image.empty()) return;
  r_.MenuBar = std::make_unique<TDataSkinObject>("menuBar");
  r_.MenuBar->Bitmap = Image(image);
  r_.MenuBar->Tile = std::min(Int(s, "TileMenu", 1), 1);
  r_.MenuBar->Margins = {Int(s, "TileLeftMenu", 1), 0, Int(s, "TileRightMenu", 1), 0};
}

void Parser::SysButtons() const {
  r_.SysButtons.clear();
  bool havePoint = false;
  POINT point{};
  for (const std::string& section : ini_.ReadSections()) {
    const std::string upper = AsciiUpper(section);
    if (upper.rfind("BUTTON", 0) != 0 || upper == "BUTTON" || upper == "BUTTONS" ||
        upper == "BUTTON.RADIO" || upper == "BUTTON.CHECKBOX") {
      continue;
    }
    if (Int(section, "Action", 0) == -1 && Int(section, "Visibility", -1) != 0) continue;
    auto b = std::make_unique<TDataSkinSysButton>(upper);
    b->Action = Int(section, "Action");
    b->Align = Int(section, "Align");
    b->XCoord = Int(section, "XCoord");
    b->YCoord = Int(section, "YCoord");
    b->Visibility = Int(section, "Visibility");
    b->Visibility1 = Int(section, "Visibility1", b->Action == -1 ? -1 : 0);
    b->CombineOp = Int(section, "CombineOp", -1);
    b->FrameCount = Int(section, "frame");
    b->Bitmap = Image(Str(section, "ButtonImage"));
    if (b->Action == 1 && b->Visibility == 2) {
      point = {b->XCoord, b->YCoord};
      havePoint = true;
    }
    // Before any such button there is no point to take: the button keeps its own.
    if (b->Action == 4 && havePoint) {
      b->XCoord = point.x;
      b->YCoord = point.y;
    }
    if (b->FrameCount == 0) {
      b->FrameCount = 6;
      if (!b->Bitmap.Empty()) {
        const double ratio = static_cast<double>(b->Bitmap.Width()) / b->Bitmap.Height();
        b->FrameCount = ratio <= 3.8 ? 3 : 6;
        if (b->Action < 0) b->FrameCount = 6;
      }
      if (b->Action == 3 || b->Action == 11) b->Bitmap.Reset();
    }
    r_.SysButtons.push_back(std::move(b));
  }
  const std::size_t first = r_.SysButtons.size();
  for (int action : {7, 8, 9}) {
    auto b = std::make_unique<TDataSkinSysButton>("MDICONTROLS");
    b->Action = action;
    b->Align = b->Visibility = b->Visibility1 = 100;
    b->FrameCount = 4;
    r_.SysButtons.push_back(std::move(b));
  }
  const ui::Bitmap mdi = Image(Str("MDICONTROLS", "Image"));
  if (mdi.Empty()) return;
  const int a = mdi.Width() / 12;
  for (int i = 0; i < 3; ++i) {
    TDataSkinSysButton& b = *r_.SysButtons[first + static_cast<std::size_t>(i)];
    if (a > 0) {
      b.Bitmap = ui::Bitmap(4 * a, mdi.Height());
      ui::Bitmap::Canvas to(b.Bitmap), from(mdi);
      BitBlt(to.dc(), 0, 0, 4 * a, mdi.Height(), from.dc(), 4 * a * i, 0, SRCCOPY);
    }
    b.XCoord = (a + 4) * (3 - i);
  }
}

void Parser::Colours() const {
  constexpr std::string_view s = "Colours";
  SkinColours& c = r_.Colours;
  auto read = [&](std::string_view key, Colour defaultValue) {
    return ParseColour(Str(s, key), defaultValue);
  };
  c.WindowText = read("WindowText", SystemColour(COLOR_WINDOWTEXT));
  c.ButtonFace = read("ButtonFace", SystemColour(COLOR_BTNFACE));
  c.Scrollbar = read("Scrollbar", SystemColour(COLOR_SCROLLBAR));
  c.HilightText = read("HilightText", SystemColour(COLOR_HIGHLIGHTTEXT));
  c.Hilight = read("Hilight", SystemColour(COLOR_HIGHLIGHT));
  c.Menubar = read("Menubar", c.ButtonFace);
  c.Menu = read("Menu", SystemColour(COLOR_MENU));
  c.MenuText = read("MenuText", SystemColour(COLOR_MENUTEXT));
  c.ButtonText = read("ButtonText", SystemColour(COLOR_BTNTEXT));
  c.ButtonHilight = read("ButtonHilight", SystemColour(COLOR_BTNHIGHLIGHT));
  c.Buttonlight = read("Buttonlight", SystemColour(COLOR_BTNHIGHLIGHT));
  c.ButtonShadow = read("ButtonShadow", SystemColour(COLOR_BTNSHADOW));
  c.ButtonDkShadow = read("ButtonDkShadow", SystemColour(COLOR_3DDKSHADOW));
  c.MenuBarText = read("MenuBarText", SystemColour(COLOR_MENUTEXT));
  c.TitleTextActive = read("TitleTextActive", SystemColour(COLOR_CAPTIONTEXT));
  c.TitleTextNoActive = read("TitleTextNoActive", SystemColour(COLOR_INACTIVECAPTIONTEXT));

  r_.ColourSections.clear();
  for (const std::string& section : ini_.ReadSections()) {
    const std::string upper = AsciiUpper(section);
    if (upper.rfind("COLOUR", 0) == 0 && upper != "COLOURS") {
      r_.ColourSections.push_back(
          ParseColour(Str(section, "color"), SystemColour(COLOR_WINDOWTEXT)));
    }
  }
  for (int i = 0; i < 10; ++i) {
    r_.CustomColors[static_cast<std::size_t>(i)] =
        ParseColour(Str("Customcolors", "Color" + std::to_string(i)), 0xFFFFFF);
  }
}

void Parser::Buttons() const {
  constexpr std::string_view s = "Buttons";
  TDataSkinButton& b = *r_.Buttons;
  b = TDataSkinButton("Buttons");
  b.Margins = {Int(s, "LeftWidth"), Int(s, "TopHeight"), Int(s, "RightWidth"),
               Int(s, "BottomHeight")};
  b.Trans = Int(s, "Trans");
  b.Tile = Int(s, "Tile");
  if (b.Tile > 1) b.Tile = 0;
  b.Bitmap = Image(Str(s, "Bitmap"));
  b.CheckBitmap = Image(Str(s, "CheckButton"));
  b.RadioBitmap = Image(Str(s, "RadioButton"));
  ReadColours(b, s);
  b.RadioButtonFrame = Int(s, "RadioButtonFrame");
  b.CheckButtonFrame = Int(s, "CheckButtonFrame");
  b.HasNormalColour2 = !Str(s, "NormalColour2").empty();
  b.HasMouseOverColour2 = !Str(s, "MouseOverColour2").empty();
  b.HasPressedColour2 = !Str(s, "PressedColour2").empty();
}

void Parser::FixedFrameCounts() const {
  auto set = [](auto& record, int count) {
    if (record) record->FrameCount = count;
  };
  set(r_.Title, 2);
  set(r_.Buttons, 5);
  if (r_.Progress) r_.Progress->FrameCount = r_.Progress->Style != 0 ? 1 : 2;
  set(r_.MenuBar, 2);
  set(r_.GroupBoxEdge, 2);
  set(r_.GroupBox, 1);
  set(r_.Tabs, 5);
  set(r_.StatusBarEdges, 3);
  set(r_.TabPane, 1);
  set(r_.ToolBars, 5);
  set(r_.ComboButton, 4);
  set(r_.SunkEdge, 4);
  set(r_.ExtraImages, 5);
  if (r_.Headerbar && r_.Headerbar->FrameCount == 0) r_.Headerbar->FrameCount = 5;
  set(r_.MenuItem, 5);
  set(r_.MenuBackground, 1);
  set(r_.Scrollbar, 23);
  set(r_.HorzScroll, 4);
  set(r_.VertScroll, 4);
  set(r_.HorzScrollThumb, Int("HorzScrollThumb", "FrameCount", 3));
  set(r_.VertScrollThumb, Int("VertScrollThumb", "FrameCount", 3));
  for (auto* thumb : {&r_.TrackbarThumbHorz, &r_.TrackbarThumbVert, &r_.TrackbarThumbLeft,
                      &r_.TrackbarThumbRight, &r_.TrackbarThumbUp, &r_.TrackbarThumbDown}) {
    set(*thumb, 5);
  }
  set(r_.UpDownHorz, 8);
  set(r_.UpDownVert, 8);

  auto frames = [](int frame, const ui::Bitmap& image) {
    if (frame != 0) return frame;
    return std::max(image.Width() / (image.Height() < 16 ? 13 : 16), 4);
  };
  r_.Buttons->RadioButtonFrame = frames(r_.Buttons->RadioButtonFrame, r_.Buttons->RadioBitmap);
  r_.Buttons->CheckButtonFrame = frames(r_.Buttons->CheckButtonFrame, r_.Buttons->CheckBitmap);
}

void Parser::ComboImages() const {
  if (!r_.SunkEdge || !r_.ComboButton) return;
  constexpr int kW = 50, kH = 21;
  const int bw = skin::SkinMetric(SM_CXHSCROLL) + 2;
  const int n = std::max(r_.SunkEdge->FrameCount, 1);
  ui::Bitmap strip(kW * n, kH);
  strip.Fill(kKeyColour);
  {
    ui::Bitmap::Canvas to(strip);
    for (int k = 1; k <= n; ++k) {
      ui::Bitmap scratch(kW, kH);
      scratch.Fill(kKeyColour);
      {
        ui::Bitmap::Canvas s(scratch);
        const RECT box{0, 0, kW, kH};
        const RECT button{kW - bw, 0, kW, kH};
        const TDataSkinObject& sunk = *r_.SunkEdge;
        const TDataSkinObject& combo = *r_.ComboButton;
        skin::DrawElement(
            s.dc(), box,
            {&sunk.Bitmap, sunk.Margins, {sunk.FrameCount, k}, sunk.Tile != 0, sunk.Trans != 0});
        skin::DrawElement(
            s.dc(), button,
            {&combo.Bitmap, combo.Margins, {combo.FrameCount, k}, combo.Tile != 0, true});
        if (r_.ExtraImages) {
          const TDataSkinObject& extra = *r_.ExtraImages;
          skin::DrawElement(
              s.dc(), button,
              {&extra.Bitmap, extra.Margins, {extra.FrameCount, k}, extra.Tile != 0, true});
        }
        const RECT inner{2, 2, kW - 1 - bw, 18};
        ui::GdiObject<HBRUSH> key(CreateSolidBrush(kKeyColour));
        FillRect(s.dc(), &inner, key.get());
        BitBlt(to.dc(), kW * (k - 1), 0, kW, kH, s.dc(), 0, 0, SRCCOPY);
      }
    }
  }
  const Margins sunkMargins = r_.SunkEdge->Margins;
  r_.ComboButton->Bitmap = strip.Clone();
  r_.ComboButton->Style = 2;
  r_.ComboButton->FrameCount = n;
  r_.ComboButton->Margins = {2, sunkMargins.top, bw + 2, sunkMargins.bottom};
  skin::MirrorHorizontal(strip);
  r_.SunkEdge->Bitmap = std::move(strip);
  r_.SunkEdge->Margins = {bw + 2, sunkMargins.top, 2, sunkMargins.bottom};
}

void Parser::ComboArrow() const {
  TDataSkinObject& arrow = *r_.ComboxArrow;
  if (!r_.SunkEdge && r_.ComboButton) {
    arrow.Bitmap = r_.ComboButton->Bitmap.Clone();
    skin::ReplaceMagenta(arrow.Bitmap, skin::ResolveColour(r_.Colours.ButtonFace));
    arrow.FrameCount = r_.ComboButton->FrameCount;
  } else if (r_.SunkEdge && r_.ComboButton && r_.ComboButton->Style == 2) {
    const ui::Bitmap& combo = r_.ComboButton->Bitmap;
    const int n = std::max(r_.SunkEdge->FrameCount, 1);
    const int w = combo.Width() / std::max(r_.ComboButton->FrameCount, 1);
    arrow.Bitmap = ui::Bitmap(17 * n, 17);
    ui::Bitmap::Canvas to(arrow.Bitmap), from(combo);
    for (int i = 0; i < n; ++i) {
      BitBlt(to.dc(), 17 * i, 0, 17, 17, from.dc(), (i + 1) * w - 19, 2, SRCCOPY);
    }
    arrow.FrameCount = n;
  } else {
    // Another skin's arrow must not outlive it.
    arrow.Bitmap.Reset();
    arrow.FrameCount = 0;
  }
}

void Parser::ToolbarBackground() const {
  const COLORREF c = skin::ResolveColour(r_.FrameColour);
  COLORREF dark = skin::MixColors(0x808080, c, 150);
  const COLORREF light = skin::MixColors(r_.Colours.ButtonFace, 0xFFFFFF, 150);
  const int s = ColourSaturation(c);
  if (s > 110) dark = skin::MixColors(c, 0xFFFFFF, (5625 - 25 * s) / 140 + 50);
  r_.Toolbar = std::make_unique<TDataSkinObject>("Toolbar");
  r_.Toolbar->FrameCount = 1;
  r_.Toolbar->Bitmap = ui::Bitmap(10, 40);
  ui::Bitmap::Canvas canvas(r_.Toolbar->Bitmap);
  skin::GradientFill(canvas.dc(), {0, 0, 10, 40}, light, true, dark);
}

void Parser::Run() {
  r_.SkinName = Str("TitlebarSkin", "SkinName");
  FrameEdge(*r_.FrameLeft, "Left");
  FrameEdge(*r_.FrameRight, "Right");
  FrameEdge(*r_.FrameTop, "Top");
  FrameEdge(*r_.FrameBottom, "Bottom");
  Colours();
  SysButtons();
  Buttons();
  Title();

  r_.Progress = Element<TDataSkinBorder>("Progress", Reader::Bitmap);
  r_.ProgressChunk = Element<TDataSkinObject>("Progress.Chunk", Reader::Image);
  MenuBar();
  r_.GroupBoxEdge = Element<TDataSkinObject>("GroupBoxEdge", Reader::Image);
  r_.GroupBox = Element<TDataSkinBoxLabel>("GroupBox", Reader::BoxLabel);
  r_.Tabs = Element<TDataSkinBorder>("Tabs", Reader::TwoImage, "Border");
  r_.StatusBarEdges = Element<TDataSkinObject>("StatusBarEdges", Reader::Image);
  r_.TabPane = Element<TDataSkinObject>("Tab.Pane", Reader::Image);
  if (r_.TabPane) {
    Margins& m = r_.TabPane->Margins;
    for (int* side : {&m.left, &m.top, &m.right, &m.bottom}) *side = std::min(*side, 4);
  }
  r_.ToolBars = Element<TDataSkinObject>("ToolBars", Reader::Image);
  r_.ComboButton = Element<TDataSkinBorder>("ComboButton", Reader::TwoImage, "****");
  r_.SunkEdge = Element<TDataSkinObject>("SunkEdge", Reader::Image);
  if (r_.ComboButton && !r_.ComboButton->Bitmap.Empty()) {
    r_.ComboButton->Bitmap2 = r_.ComboButton->Bitmap.Clone();
    skin::MirrorHorizontal(r_.ComboButton->Bitmap2);
  }

  r_.ExtraImages = Element<TDataSkinObject>("ExtraImages", Reader::Image);
  r_.Headerbar = Element<TDataSkinObject>("Headerbar", Reader::Image);
  r_.MenuItem = Element<TDataSkinObject>("MenuItem", Reader::Image);
  r_.MenuBackground = Element<TDataSkinObject>("MenuBackground", Reader::Image);
  r_.Scrollbar = Element<TDataSkinObject>("Scrollbar", Reader::Image);
  r_.HorzScroll = Element<TDataSkinObject>("HorzScroll", Reader::Image);
  r_.VertScroll = Element<TDataSkinObject>("VertScroll", Reader::Image);
  r_.HorzScrollThumb = Element<TDataSkinObject>("HorzScrollThumb", Reader::Image);
  r_.VertScrollThumb = Element<TDataSkinObject>("VertScrollThumb", Reader::Image);
  r_.TrackbarThumbHorz = Element<TDataSkinObject>("Trackbar.ThumbHorz", Reader::Image);
  r_.TrackbarThumbVert = Element<TDataSkinObject>("Trackbar.ThumbVert", Reader::Image);
  r_.TrackbarThumbLeft = Element<TDataSkinObject>("Trackbar.ThumbLeft", Reader::Image);
  r_.TrackbarThumbRight = Element<TDataSkinObject>("Trackbar.ThumbRight", Reader::Image);
  r_.TrackbarThumbUp = Element<TDataSkinObject>("Trackbar.ThumbUp", Reader::Image);
  r_.TrackbarThumbDown = Element<TDataSkinObject>("Trackbar.ThumbDown", Reader::Image);
  r_.UpDownHorz = Element<TDataSkinBorder>("UpDown.Horz", Reader::TwoImage, "GlyphImage");
  r_.UpDownVert = Element<TDataSkinBorder>("UpDown.Vert", Reader::TwoImage, "GlyphImage");
  r_.Track = Element<TDataSkinObject>("Track", Reader::Image);
  r_.TrackVert = Element<TDataSkinObject>("TRACKVERT", Reader::Image);
  for (auto [slot, name, resource] : {std::tuple{&r_.Track, "Track", L"TRACK"},
                                      std::tuple{&r_.TrackVert, "TRACKVERT", L"TRACKVERT"}}) {
    if (*slot) continue;
    *slot = std::make_unique<TDataSkinObject>(name);
    (*slot)->Bitmap = builtin_ ? builtin_(resource) : ui::Bitmap();
    (*slot)->Margins = {3, 3, 3, 3};
    (*slot)->Tile = 0;
    (*slot)->FrameCount = 1;
  }

  FixedFrameCounts();
  ComboImages();
  ComboArrow();

  const TDataSkinBorder& top = *r_.FrameTop;
  r_.FrameColour = r_.Colours.ButtonFace;
  if (!top.Bitmap.Empty()) {
    const int frameHeight = top.Bitmap.Height() / std::max(top.FrameCount, 1);
    r_.FrameColour = top.Bitmap.Pixel(top.Bitmap.Width() / 3, frameHeight / 3);
  }
  ToolbarBackground();
  r_.FaceBrush.reset(CreateSolidBrush(skin::ResolveColour(r_.Colours.ButtonFace)));
}

}  // namespace

SkinRecords::SkinRecords()
    : FrameLeft(std::make_unique<TDataSkinBorder>("Left")),
      FrameRight(std::make_unique<TDataSkinBorder>("Right")),
      FrameTop(std::make_unique<TDataSkinBorder>("Top")),
      FrameBottom(std::make_unique<TDataSkinBorder>("Bottom")),
      Title(std::make_unique<TDataSkinTitle>("Title")),
      Buttons(std::make_unique<TDataSkinButton>("Buttons")),
      ComboxArrow(std::make_unique<TDataSkinObject>("ComboxArrow")) {}

void SkinRecords::Adopt(SkinRecords&& fresh) {
  auto keepAddress = [](auto& mine, auto& theirs) {
    *mine = std::move(*theirs);
    theirs = std::move(mine);
  };
  keepAddress(FrameLeft, fresh.FrameLeft);
  keepAddress(FrameRight, fresh.FrameRight);
  keepAddress(FrameTop, fresh.FrameTop);
  keepAddress(FrameBottom, fresh.FrameBottom);
  keepAddress(Title, fresh.Title);
  keepAddress(Buttons, fresh.Buttons);
  keepAddress(ComboxArrow, fresh.ComboxArrow);
  *this = std::move(fresh);
}

ui::Bitmap LoadBuiltinBitmap(const wchar_t* resourceName) {
  HANDLE image =
      LoadImageW(GetModuleHandleW(nullptr), resourceName, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
  ui::GdiObject<HBITMAP> owned(static_cast<HBITMAP>(image));
  return ui::Bitmap::FromHandle(owned.get());
}

ui::Bitmap LoadSkinBitmap(const TSkinReader& reader, std::string_view value, PixelBudget& budget) {
  const std::string_view name = FileNamePart(value);
  if (name.empty() || Extension(name) != ".bmp") return {};
  const auto body = reader.FindByName(name);
  if (!body) return {};
  const std::optional<BmpSize> size = BmpDimensions(*body);
  if (!size) return {};
  budget.Take(std::int64_t{size->width} * size->height);
  const std::optional<BmpImage> image = DecodeBmp(*body);
  return image ? BitmapFromImage(*image) : ui::Bitmap();
}

bool ParseSkin(SkinRecords& records, const TSkinReader& reader, const TQuickIni& ini,
               const BuiltinBitmapLoader& builtin) {
  if (ini.SectionCount() > skin_limits::kMaxSections) return false;
  // Parsed aside, so that a skin refused half-way leaves nothing of itself behind.
  SkinRecords fresh;
  PixelBudget budget;
  try {
    Parser(fresh, reader, ini, builtin, budget).Run();
  } catch (const SkinLimitExceeded&) {
    return false;
  }
  records.Adopt(std::move(fresh));
  return true;
}
