#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "skin/data/BmpImage.h"
#include "skin/data/QuickIni.h"
#include "skin/data/SkinLimits.h"
#include "skin/data/SkinPackageWriter.h"
#include "skin/data/SkinReader.h"
#include "skin/data/SkinRecords.h"

namespace {

std::vector<std::uint8_t> Bmp(int w, int h, std::uint32_t rgb = 0x336699) {
  return EncodeBmp24({w, h, std::vector<std::uint32_t>(static_cast<std::size_t>(w) * h, rgb)});
}

std::vector<std::uint8_t> Bytes(std::string_view s) { return {s.begin(), s.end()}; }

// A skin made by the test: its INI and a few pictures.
struct TestSkin {
  TSkinReader reader;
  TQuickIni ini;
  SkinRecords records;
  bool parsed = false;

  explicit TestSkin(std::string_view iniText, std::vector<SkinPackageEntry> files = {}) {
    files.insert(files.begin(), {"test.ini", Bytes(iniText)});
    EXPECT_EQ(reader.IndexPackage(BuildSkinPackage(files)), PackageStatus::Ok);
    std::vector<std::uint8_t> text;
    reader.ExtractByPart(".ini", text);
    ini.LoadFromStream(text);
    parsed = ParseSkin(records, reader, ini);
  }
};

// A one-bit BMP of the given size, all of its rows present unless `rows` says how many.
std::vector<std::uint8_t> OneBitBmp(int w, int h, int rows = -1) {
  const std::size_t stride = (static_cast<std::size_t>(w) + 31) / 32 * 4;
  std::vector<std::uint8_t> file = EncodeBmp24({1, 1, {0}});
  file.resize(54);
  const auto put = [&](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) file[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  put(18, static_cast<std::uint32_t>(w));
  put(22, static_cast<std::uint32_t>(h));
  file[28] = 1;
  file.insert(file.end(), {0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0});
  put(10, static_cast<std::uint32_t>(file.size()));
  file.resize(file.size() + stride * static_cast<std::size_t>(rows < 0 ? h : rows));
  return file;
}

TEST(SkinRecords, CaptionButtonsKeepOnlyButtonSectionsAndAddTheMdiEntries) {
  TestSkin skin(
      "[Buttons]\r\nBitmap=b.bmp\r\n"
      "[Button.Radio]\r\nAction=0\r\n"
      "[BUTTON.CHECKBOX]\r\nAction=0\r\n"
      "[Button]\r\nAction=0\r\n"
      "[ButtonWide]\r\nButtonImage=wide.bmp\r\n"  // 4.1 : 1 -> 6 frames
      "[ButtonNarrow]\r\nButtonImage=narrow.bmp\r\nAction=1\r\nVisibility=2\r\n"
      "XCoord=40\r\nYCoord=5\r\n"                               // 3.0 : 1 -> 3 frames
      "[ButtonFollow]\r\nAction=4\r\nXCoord=1\r\nYCoord=1\r\n"  // takes (40, 5)
      "[ButtonHidden]\r\nAction=-1\r\n"                         // Visibility -1: dropped
      "[ButtonShown]\r\nAction=-1\r\nVisibility=0\r\nButtonImage=narrow.bmp\r\n"
      "[ButtonIcon]\r\nAction=3\r\nButtonImage=narrow.bmp\r\n"
      "[ButtonOwn]\r\nAction=11\r\nframe=2\r\nButtonImage=narrow.bmp\r\n"
      "[MDIControls]\r\nImage=mdi.bmp\r\n",
      {{"wide.bmp", Bmp(90, 22)}, {"narrow.bmp", Bmp(66, 22)}, {"mdi.bmp", Bmp(48, 14)}});
  const auto& b = skin.records.SysButtons;
  std::vector<std::string> names;
  for (const auto& button : b) names.push_back(button->Name);
  EXPECT_EQ(names, (std::vector<std::string>{"BUTTONWIDE", "BUTTONNARROW", "BUTTONFOLLOW",
                                             "BUTTONSHOWN", "BUTTONICON", "BUTTONOWN",
                                             "MDICONTROLS", "MDICONTROLS", "MDICONTROLS"}));
  ASSERT_EQ(b.size(), 9u);
  EXPECT_EQ(b[0]->FrameCount, 6);
  EXPECT_EQ(b[0]->CombineOp, -1);
  EXPECT_EQ(b[1]->FrameCount, 3);
  EXPECT_EQ(b[2]->XCoord, 40);
  EXPECT_EQ(b[2]->YCoord, 5);
  EXPECT_EQ(b[2]->FrameCount, 6);  // no image
  EXPECT_EQ(b[3]->FrameCount, 6);  // negative Action
  EXPECT_EQ(b[3]->Visibility1, -1);
  EXPECT_TRUE(b[4]->Bitmap.Empty());  // the icon button draws the window's icon instead
  EXPECT_EQ(b[4]->FrameCount, 3);
  EXPECT_EQ(b[5]->FrameCount, 2);  // frame given: the image stays
  EXPECT_FALSE(b[5]->Bitmap.Empty());
  for (int i = 0; i < 3; ++i) {
    const TDataSkinSysButton& mdi = *b[6 + static_cast<std::size_t>(i)];
    EXPECT_EQ(mdi.Action, 7 + i);
    EXPECT_EQ(mdi.Align, 100);
    EXPECT_EQ(mdi.Visibility1, 100);
    EXPECT_EQ(mdi.FrameCount, 4);
    EXPECT_EQ(mdi.Bitmap.Width(), 16);  // a = 48 / 12; four frames of a
    EXPECT_EQ(mdi.XCoord, 8 * (3 - i));
  }
}

TEST(SkinRecords, ElementReadersApplyTheirTileCapsMarginsAndFixedFrames) {
  TestSkin skin(
      "[Progress]\r\nBitmap=p.bmp\r\nTile=2\r\nStyle=1\r\nFrame=9\r\n"
      "[Progress.Chunk]\r\nImage=p.bmp\r\nTile=2\r\nFrame=3\r\nNormalColour=0x10\r\n"
      "[Tab.Pane]\r\nImage=p.bmp\r\nLeftWidth=7\r\nTopHeight=3\r\nRightWidth=4\r\n"
      "BottomHeight=12\r\n"
      "[Scrollbar]\r\nImage=p.bmp\r\n"
      "[HorzScrollThumb]\r\nImage=p.bmp\r\nFrameCount=4\r\n"
      "[VertScrollThumb]\r\nImage=p.bmp\r\n"
      "[Headerbar]\r\nImage=p.bmp\r\nFrame=2\r\n"
      "[GroupBox]\r\nImage=p.bmp\r\nBackgroundLeftShift=6\r\nTile=5\r\n"
      "[Tabs]\r\nImage=p.bmp\r\nBorder=p.bmp\r\n"
      "[ToolBars]\r\nImage=p.bmp\r\n",
      {{"p.bmp", Bmp(20, 10)}});
  const SkinRecords& r = skin.records;
  ASSERT_TRUE(r.Progress && r.ProgressChunk && r.TabPane && r.GroupBox && r.Tabs);
  EXPECT_EQ(r.Progress->Tile, 1);
  EXPECT_EQ(r.Progress->FrameCount, 1);    // Style 1
  EXPECT_EQ(r.Progress->NormalColour, 0);  // the bitmap reader reads no text colours
  EXPECT_EQ(r.ProgressChunk->Tile, 0);
  EXPECT_EQ(r.ProgressChunk->FrameCount, 3);
  EXPECT_EQ(r.ProgressChunk->NormalColour, 16);
  EXPECT_EQ(r.ProgressChunk->MouseOverColour, -1);
  EXPECT_EQ(r.TabPane->Margins, (Margins{4, 3, 4, 4}));
  EXPECT_EQ(r.Scrollbar->FrameCount, 23);
  EXPECT_EQ(r.HorzScrollThumb->FrameCount, 4);
  EXPECT_EQ(r.VertScrollThumb->FrameCount, 3);
  EXPECT_EQ(r.Headerbar->FrameCount, 2);
  EXPECT_EQ(r.GroupBox->BackgroundLeftShift, 6);
  EXPECT_EQ(r.GroupBox->Tile, 0);
  EXPECT_FALSE(r.Tabs->Bitmap2.Empty());
  EXPECT_EQ(r.ToolBars->FrameCount, 5);
  // No image key, no record.
  EXPECT_FALSE(r.MenuItem);
  EXPECT_FALSE(r.SunkEdge);
  EXPECT_FALSE(r.MenuBar);
}

TEST(SkinRecords, TitleTakesActiveTextOnlyWhenAllThreeChannelsAreGiven) {
  TestSkin skin(
      "[Personality]\r\nActiveTextR=10\r\nActiveTextG=20\r\n"
      "InActiveTextR=1\r\nInActiveTextG=2\r\nInActiveTextB=3\r\nTextShift=18\r\n"
      "TextRightClip=100\r\nTop=top.bmp\r\nTopFrame=2\r\n"
      "menuBar=top.bmp\r\nTileMenu=3\r\n");
  const TDataSkinTitle& t = *skin.records.Title;
  EXPECT_EQ(t.ActiveText, TDataSkinTitle::kNoColour);
  EXPECT_EQ(t.InActiveText, Rgb(1, 2, 3));
  EXPECT_EQ(t.Margins, (Margins{18, 0, 100, 0}));
  EXPECT_EQ(t.FontHeight, 14);
  EXPECT_EQ(t.FrameCount, 2);
  EXPECT_EQ(skin.records.FrameTop->FrameCount, 2);
  EXPECT_EQ(skin.records.FrameLeft->FrameCount, 1);
  EXPECT_EQ(skin.records.FrameLeft->Trans, 1);
  ASSERT_TRUE(skin.records.MenuBar);
  EXPECT_EQ(skin.records.MenuBar->Tile, 1);
  EXPECT_EQ(skin.records.MenuBar->Margins, (Margins{1, 0, 1, 0}));
}

TEST(SkinRecords, ColoursParseWithTheirDefaults) {
  TestSkin skin(
      "[Colours]\r\nButtonFace=227 238 253\r\nMenu=1 2\r\n"
      "[ColourOne]\r\ncolor=1 2 3\r\n[Colours]\r\n[colourTwo]\r\n"
      "[Customcolors]\r\nColor3=4 5 6\r\n");
  const SkinRecords& r = skin.records;
  EXPECT_EQ(r.Colours.ButtonFace, Rgb(227, 238, 253));
  EXPECT_EQ(r.Colours.Menubar, Rgb(227, 238, 253));  // follows ButtonFace
  EXPECT_EQ(r.Colours.Menu, Rgb(1, 0, 0));
  EXPECT_EQ(r.Colours.ButtonText, SystemColour(COLOR_BTNTEXT));
  EXPECT_EQ(r.ColourSections, (std::vector<Colour>{Rgb(1, 2, 3), SystemColour(COLOR_WINDOWTEXT)}));
  EXPECT_EQ(r.CustomColors[3], Rgb(4, 5, 6));
  EXPECT_EQ(r.CustomColors[0], 0xFFFFFFu);
  // Without a top frame image the frame colour is the face colour.
  EXPECT_EQ(r.FrameColour, Rgb(227, 238, 253));
  EXPECT_TRUE(r.FaceBrush);
  ASSERT_TRUE(r.Toolbar);
  EXPECT_EQ(r.Toolbar->Bitmap.Width(), 10);
  EXPECT_EQ(r.Toolbar->Bitmap.Height(), 40);
}

TEST(SkinRecords, ImageValuesNameBareBmpEntries) {
  TestSkin skin("", {{"a.bmp", Bmp(3, 2)}, {"\xB1\\.bmp", Bmp(5, 2)}});
  PixelBudget budget;
  EXPECT_EQ(LoadSkinBitmap(skin.reader, "skins\\old\\A.bmp", budget).Width(), 3);
  EXPECT_EQ(LoadSkinBitmap(skin.reader, "c:a.bmp", budget).Width(), 3);
  EXPECT_TRUE(LoadSkinBitmap(skin.reader, "a.BMP", budget).Empty());
  EXPECT_TRUE(LoadSkinBitmap(skin.reader, "missing.bmp", budget).Empty());
  EXPECT_TRUE(LoadSkinBitmap(skin.reader, "folder\\", budget).Empty());
  // The second byte of a double-byte character is no folder separator.
  EXPECT_EQ(LoadSkinBitmap(skin.reader, "\xB1\\.bmp", budget).Width(), 5);
}

// Skins that would take more than a load may are refused whole: ParseSkin says so and the
// records stay those of the skin before. At the limit itself a skin still loads.
TEST(SkinRecords, SkinsBeyondTheLoadLimitsAreRefusedWhole) {
  auto buttons = [](int count) {  // caption buttons that all show big.bmp
    std::string ini;
    for (int i = 0; i < count; ++i)
      ini += "[Button" + std::to_string(i) + "]\r\nButtonImage=big.bmp\r\n";
    return ini;
  };
  auto sections = [](int count) {
    std::string ini;
    for (int i = 0; i < count; ++i) ini += "[S" + std::to_string(i) + "]\r\nA=1\r\n";
    return ini;
  };
  // 2048 x 1024: 2 Mi pixels, so eight copies are the 16 Mi pixels of a whole load.
  const SkinPackageEntry big{"big.bmp", OneBitBmp(2048, 1024)};
  // 16384 x 2048: 32 Mi pixels, 128 MiB once decoded; only the headers need to be there.
  const SkinPackageEntry huge{"huge.bmp", OneBitBmp(16384, 2048, 1)};
  struct Case {
    const char* what;
    std::string ini;
    SkinPackageEntry file;
    bool loads;
  } cases[] = {
      {"an image beyond the pixels of one image", "[Buttons]\r\nBitmap=huge.bmp\r\n", huge, false},
      {"one image named nine times, beyond the pixels of a load", buttons(9), big, false},
      {"the same image named eight times", buttons(8), big, true},
      {"1001 sections", sections(1001), big, false},
      {"1000 sections", sections(1000), big, true},
  };
  for (const Case& c : cases) {
    TestSkin before("[TitlebarSkin]\r\nSkinName=before\r\n[Buttons]\r\nBitmap=b.bmp\r\n",
                    {{"b.bmp", Bmp(10, 10)}});
    ASSERT_TRUE(before.parsed);
    const TDataSkinButton* buttonsRecord = before.records.Buttons.get();
    TestSkin skin(c.ini, {c.file});
    EXPECT_EQ(skin.parsed, c.loads) << c.what;
    EXPECT_EQ(ParseSkin(before.records, skin.reader, skin.ini), c.loads) << c.what;
    EXPECT_EQ(before.records.SkinName, c.loads ? "" : "before") << c.what;
    EXPECT_EQ(before.records.Buttons.get(), buttonsRecord) << c.what;  // the same record
    EXPECT_EQ(before.records.Buttons->Bitmap.Empty(), c.loads) << c.what;
  }
}

TEST(SkinRecords, MissingTrackImagesComeFromTheBuiltInBitmaps) {
  TestSkin skin("[TRACKVERT]\r\nImage=v.bmp\r\nFrame=2\r\n", {{"v.bmp", Bmp(4, 9)}});
  const TDataSkinObject& track = *skin.records.Track;
  EXPECT_FALSE(track.Bitmap.Empty());
  EXPECT_EQ(track.Margins, (Margins{3, 3, 3, 3}));
  EXPECT_EQ(track.FrameCount, 1);
  EXPECT_EQ(track.Tile, 0);
  EXPECT_EQ(skin.records.TrackVert->Bitmap.Width(), 4);
  EXPECT_EQ(skin.records.TrackVert->FrameCount, 2);
}

TEST(SkinRecords, ButtonFramesAreDerivedFromTheImagesWhenNotGiven) {
  TestSkin skin(
      "[Buttons]\r\nBitmap=b.bmp\r\nCheckButton=c.bmp\r\nRadioButton=r.bmp\r\nTile=4\r\n"
      "NormalColour2=1 2 3\r\n",
      {{"b.bmp", Bmp(10, 10)}, {"c.bmp", Bmp(156, 13)}, {"r.bmp", Bmp(160, 16)}});
  const TDataSkinButton& b = *skin.records.Buttons;
  EXPECT_EQ(b.CheckButtonFrame, 12);
  EXPECT_EQ(b.RadioButtonFrame, 10);
  EXPECT_EQ(b.FrameCount, 5);
  EXPECT_EQ(b.Tile, 0);
  EXPECT_TRUE(b.HasNormalColour2);
  EXPECT_FALSE(b.HasPressedColour2);
  EXPECT_EQ(b.NormalColour2, Rgb(1, 2, 3));
  EXPECT_EQ(b.PressedColour2, SystemColour(COLOR_BTNTEXT));
}

TEST(SkinRecords, ComboImagesJoinTheSunkenEdgeAndTheButton) {
  TestSkin skin(
      "[ComboButton]\r\nImage=c.bmp\r\nTrans=1\r\n"
      "[SunkEdge]\r\nImage=s.bmp\r\nLeftWidth=2\r\nRightWidth=2\r\nTopHeight=2\r\n"
      "BottomHeight=2\r\n",
      {{"c.bmp", Bmp(64, 21, 0x0000FF)}, {"s.bmp", Bmp(32, 21, 0x00FF00)}});
  const SkinRecords& r = skin.records;
  const int bw = GetSystemMetrics(SM_CXHSCROLL) + 2;
  EXPECT_EQ(r.ComboButton->Bitmap.Width(), 200);
  EXPECT_EQ(r.ComboButton->Style, 2);
  EXPECT_EQ(r.ComboButton->Margins, (Margins{2, 2, bw + 2, 2}));
  EXPECT_EQ(r.SunkEdge->Margins, (Margins{bw + 2, 2, 2, 2}));
  // Frame 1: edge green, the inner area key, the button blue at the right.
  EXPECT_EQ(r.ComboButton->Bitmap.Pixel(0, 0), RGB(0, 255, 0));
  EXPECT_EQ(r.ComboButton->Bitmap.Pixel(10, 10), RGB(255, 0, 255));
  EXPECT_EQ(r.ComboButton->Bitmap.Pixel(49 - bw / 2, 10), RGB(0, 0, 255));
  EXPECT_EQ(r.SunkEdge->Bitmap.Pixel(bw / 2, 10), RGB(0, 0, 255));  // mirrored
  ASSERT_EQ(r.ComboxArrow->FrameCount, 4);
  EXPECT_EQ(r.ComboxArrow->Bitmap.Width(), 68);
  EXPECT_EQ(r.ComboxArrow->Bitmap.Pixel(16, 8), RGB(0, 0, 255));
}

// The skin we ship, as the build packed it.
TEST(SkinRecords, OurSkinParsesWithEveryRecord) {
  std::ifstream in(VELMO_SKIN_STREAM, std::ios::binary);
  ASSERT_TRUE(in) << VELMO_SKIN_STREAM;
  const std::vector<std::uint8_t> framed{std::istreambuf_iterator<char>(in), {}};
  ASSERT_GT(framed.size(), 4u);
  TSkinReader reader;
  ASSERT_EQ(reader.ReadPackage(std::span(framed).subspan(4)), PackageStatus::Ok);
  TQuickIni ini;
  std::vector<std::uint8_t> text;
  reader.ExtractByPart(".ini", text);
  ini.LoadFromStream(text);
  SkinRecords r;
  ParseSkin(r, reader, ini);

  const std::pair<const char*, const TDataSkinObject*> slots[] = {
      {"FrameLeft", r.FrameLeft.get()},
      {"FrameRight", r.FrameRight.get()},
      {"FrameTop", r.FrameTop.get()},
      {"FrameBottom", r.FrameBottom.get()},
      {"Title", r.Title.get()},
      {"Buttons", r.Buttons.get()},
      {"Progress", r.Progress.get()},
      {"ProgressChunk", r.ProgressChunk.get()},
      {"MenuBar", r.MenuBar.get()},
      {"GroupBoxEdge", r.GroupBoxEdge.get()},
      {"GroupBox", r.GroupBox.get()},
      {"Tabs", r.Tabs.get()},
      {"StatusBarEdges", r.StatusBarEdges.get()},
      {"TabPane", r.TabPane.get()},
      {"ToolBars", r.ToolBars.get()},
      {"ComboButton", r.ComboButton.get()},
      {"SunkEdge", r.SunkEdge.get()},
      {"ExtraImages", r.ExtraImages.get()},
      {"Headerbar", r.Headerbar.get()},
      {"MenuItem", r.MenuItem.get()},
      {"MenuBackground", r.MenuBackground.get()},
      {"Scrollbar", r.Scrollbar.get()},
      {"HorzScroll", r.HorzScroll.get()},
      {"VertScroll", r.VertScroll.get()},
      {"HorzScrollThumb", r.HorzScrollThumb.get()},
      {"VertScrollThumb", r.VertScrollThumb.get()},
      {"TrackbarThumbHorz", r.TrackbarThumbHorz.get()},
      {"TrackbarThumbVert", r.TrackbarThumbVert.get()},
      {"TrackbarThumbLeft", r.TrackbarThumbLeft.get()},
      {"TrackbarThumbRight", r.TrackbarThumbRight.get()},
      {"TrackbarThumbUp", r.TrackbarThumbUp.get()},
      {"TrackbarThumbDown", r.TrackbarThumbDown.get()},
      {"UpDownHorz", r.UpDownHorz.get()},
      {"UpDownVert", r.UpDownVert.get()},
      {"Track", r.Track.get()},
      {"TrackVert", r.TrackVert.get()},
      {"Toolbar", r.Toolbar.get()},
      {"ComboxArrow", r.ComboxArrow.get()}};
  for (const auto& [name, record] : slots) {
    ASSERT_NE(record, nullptr) << name;
    EXPECT_FALSE(record->Bitmap.Empty()) << name;
    EXPECT_GT(record->FrameCount, 0) << name;
  }
  EXPECT_FALSE(r.Buttons->CheckBitmap.Empty());
  EXPECT_FALSE(r.Buttons->RadioBitmap.Empty());
  EXPECT_FALSE(r.UpDownHorz->Bitmap2.Empty());
  EXPECT_EQ(r.Scrollbar->FrameCount, 23);
  EXPECT_EQ(r.Buttons->CheckButtonFrame, 12);
  EXPECT_EQ(r.Colours.ButtonFace, Rgb(227, 238, 253));
  EXPECT_EQ(r.SkinName, "Velmo Calm Blue");
  // Button0 to Button4 and the three MDI entries; only the icon button has no picture.
  ASSERT_EQ(r.SysButtons.size(), 8u);
  for (std::size_t i = 0; i < 8; ++i) {
    EXPECT_EQ(r.SysButtons[i]->Bitmap.Empty(), i == 4) << r.SysButtons[i]->Name << i;
  }
}

}  // namespace
