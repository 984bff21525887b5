// Track bars, date-time pickers, media players, tab sets, button tabs and other libraries'
// controls: each reached through a tiny control class that publishes what such a control
// publishes, classified as the form skinner does it.
#include <windows.h>
// after windows.h
#include <commctrl.h>
#include <gtest/gtest.h>

#include <vector>

#include "skin/controls/ArrowButton.h"
#include "skin/controls/SkinDateTime.h"
#include "skin/controls/SkinMP.h"
#include "skin/controls/SkinObjImage.h"
#include "skin/controls/SkinScrollbarH.h"
#include "skin/controls/SkinTab31.h"
#include "skin/controls/WMediaPlayer.h"
#include "skin/controls/WScrollbar.h"
#include "skin/data/ElementDrawing.h"
#include "skin/forms/SkinMessages.h"
#include "tests/skin/controls/TestControls.h"
#include "tests/skin/controls/WrapperFixture.h"
#include "ui/ComCtrls.h"

namespace {

using namespace controltest;
using namespace testcontrols;

// ---- the tests ----------------------------------------------------------------------------

class OtherKindsTest : public WrapperFixture {
 protected:
  static void SetUpTestSuite() {
    WrapperFixture::SetUpTestSuite();
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_DATE_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    std::vector<std::wstring> lines = host->data().Skin3rd();
    for (const wchar_t* line : {L"TTrackBar=trackbar", L"TDateTimePicker=datetimepicker",
                                L"TAdvPageControl=advpagecontrol"})
      lines.push_back(line);
    host->data().SetSkin3rd(lines);
  }
  // Every pixel of the frame, stretched to the rectangle, shows there (key pixels aside).
  static bool ShowsFrame(const ui::Bitmap& picture, const RECT& r, const ui::Bitmap& strip,
                         int count, int frame) {
    ui::Bitmap expected(r.right - r.left, r.bottom - r.top);
    expected.Fill(RGB(255, 0, 255));
    {
      ui::Bitmap::Canvas canvas(expected);
      skin::DrawFrame(canvas.dc(), {0, 0, expected.Width(), expected.Height()}, strip, false, count,
                      frame);
    }
    return ShowsElement(picture, {r.left, r.top}, expected);
  }
};

TEST_F(OtherKindsTest, ATrackBarsThumbIsTheSkinsOrAnOutlineWithoutIt) {
  for (bool withThumb : {true, false}) {
    SCOPED_TRACE(withThumb);
    auto* bar = Make<TTrackBar>({20, 20 + (withThumb ? 0 : 60), 260, 60 + (withThumb ? 0 : 60)});
    HWND window = bar->Handle();
    SendMessageW(window, TBM_SETRANGE, TRUE, MAKELPARAM(0, 10));
    SendMessageW(window, TBM_SETPOS, TRUE, 4);
    if (withThumb) {
      Skin(*bar);
    } else {
      AttachWith(L"TSkinTrackBar", *bar, Variant(DropSection(OurIni(), "Trackbar.ThumbHorz")));
    }
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    ui::Bitmap picture = Grab(window);
    RECT thumb{};
    SendMessageW(window, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    if (withThumb) {
      EXPECT_TRUE(ShowsFrame(picture, thumb, Records().TrackbarThumbHorz->Bitmap, 5, 2));
    } else {
      for (POINT p : {POINT{thumb.left, thumb.top + 3}, POINT{thumb.right - 1, thumb.top + 3},
                      POINT{(thumb.left + thumb.right) / 2, thumb.top},
                      POINT{(thumb.left + thumb.right) / 2, thumb.bottom - 1}})
        EXPECT_EQ(picture.Pixel(p.x, p.y), Shadow()) << p.x << "," << p.y;
    }
    // The channel is the skin's track; the ground its face.
    RECT channel{};
    SendMessageW(window, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    const TDataSkinObject& track = *Records().Track;
    const int mid = (channel.top + channel.bottom) / 2;
    EXPECT_EQ(picture.Pixel(channel.left + 30, mid),
              track.Bitmap.Pixel(track.Bitmap.Width() / 2, track.Bitmap.Height() / 2));
    EXPECT_EQ(picture.Pixel(channel.left + 30, 1), Face());
  }
}

// A standing track bar takes the upright pictures: its thumb from Trackbar.ThumbVert, its
// channel from TrackVert, standing in the middle of the channel the system reports lying down.
TEST_F(OtherKindsTest, AVerticalTrackBarTakesTheUprightPictures) {
  struct TStandingTrackBar : TCommonControl {
    explicit TStandingTrackBar(ui::TComponent* owner)
        : TCommonControl(owner, TRACKBAR_CLASSW, TBS_AUTOTICKS | TBS_VERT) {}
  };
  auto* bar = Make<TStandingTrackBar>({20, 20, 60, 240});
  HWND window = bar->Handle();
  SendMessageW(window, TBM_SETRANGE, TRUE, MAKELPARAM(0, 10));
  SendMessageW(window, TBM_SETPOS, TRUE, 4);
  ASSERT_TRUE(AttachWith(L"TSkinTrackBar", *bar, host->data()));
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  const ui::Bitmap picture = Grab(window);
  RECT thumb{}, channel{};
  SendMessageW(window, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  EXPECT_TRUE(ShowsFrame(picture, thumb, Records().TrackbarThumbVert->Bitmap, 5, 2));
  EXPECT_FALSE(ShowsFrame(picture, thumb, Records().TrackbarThumbHorz->Bitmap, 5, 2));
  SendMessageW(window, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
  if (channel.right - channel.left > channel.bottom - channel.top)
    channel = {channel.top, channel.left, channel.bottom, channel.right};
  const TDataSkinObject& track = *Records().TrackVert;
  const int width = track.Bitmap.Width() / std::max(1, track.FrameCount);
  const int y = thumb.bottom + 10 < channel.bottom ? thumb.bottom + 10 : channel.top + 5;
  EXPECT_EQ(picture.Pixel((channel.left + channel.right) / 2, y),
            track.Bitmap.Pixel(width / 2, track.Bitmap.Height() / 2));
}

// The arrow button goes while skinning is switched off, and a picker with spin buttons
// (DTS_UPDOWN) gets none over them.
TEST_F(OtherKindsTest, ThePickersArrowButtonHidesWhenSkinningIsOffAndSpinButtonsGetNone) {
  HWND spin = MakeWindow(DATETIMEPICK_CLASSW, DTS_UPDOWN, {20, 60, 180, 84});
  auto* spinWrapper =
      dynamic_cast<TSkinDateTime*>(AttachWindowWith(L"TSkinDateTime", spin, host->data()));
  ASSERT_TRUE(spinWrapper);
  EXPECT_EQ(spinWrapper->Arrow(), nullptr);

  auto* picker = Make<TDateTimePicker>({20, 20, 180, 44});
  Skin(*picker);
  auto* wrapper = WrapperOf<TSkinDateTime>(picker->Handle());
  ASSERT_TRUE(wrapper && wrapper->Arrow());
  HWND arrow = wrapper->Arrow()->WindowHandle();
  EXPECT_TRUE(IsWindowVisible(arrow));
  SendMessageW(picker->Handle(), skin::WM_SKINSTATE, 0, 0);
  EXPECT_FALSE(IsWindowVisible(arrow));
  SendMessageW(picker->Handle(), skin::WM_SKINSTATE, 1, 0);
  EXPECT_TRUE(IsWindowVisible(arrow));
}

TEST_F(OtherKindsTest, ADateTimePickerHasTheSkinsArrowButtonWhichOpensTheCalendar) {
  auto* picker = Make<TDateTimePicker>({20, 20, 180, 44});
  Skin(*picker);
  auto* wrapper = WrapperOf<TSkinDateTime>(picker->Handle());
  ASSERT_TRUE(wrapper);
  ASSERT_TRUE(wrapper->Arrow());
  HWND arrow = wrapper->Arrow()->WindowHandle();
  RECT r{};
  GetWindowRect(arrow, &r);
  MapWindowPoints(nullptr, picker->Handle(), reinterpret_cast<POINT*>(&r), 2);
  RECT client{};
  GetClientRect(picker->Handle(), &client);
  EXPECT_EQ(r.right - r.left, GetSystemMetrics(SM_CXHSCROLL));
  EXPECT_EQ(r.bottom - r.top, 24 - 4);
  EXPECT_EQ(r.left, 160 - GetSystemMetrics(SM_CXHSCROLL) - 4);
  EXPECT_NE(GetWindowLongW(picker->Handle(), GWL_STYLE) & WS_CLIPCHILDREN, 0);

  const TDataSkinObject& arrowStrip = *Records().ComboxArrow;
  auto shows = [&](int frame) {
    return PumpUntil(
        [&] {
          ui::Bitmap picture = Grab(arrow);
          return ShowsFrame(picture, {0, 0, picture.Width(), picture.Height()}, arrowStrip.Bitmap,
                            arrowStrip.FrameCount, frame);
        },
        2s);
  };
  MouseMove(host->form().Handle(), {460, 340});
  EXPECT_TRUE(shows(1));
  MouseMove(arrow, {4, 4});
  EXPECT_TRUE(shows(4)) << "hot";
  MouseDown(arrow, {4, 4});
  MouseUp(arrow, {4, 4});
  EXPECT_TRUE(PumpUntil([&] { return SendMessageW(picker->Handle(), DTM_GETMONTHCAL, 0, 0) != 0; }))
      << "the calendar is open";
  Key(VK_ESCAPE, true);
  Key(VK_ESCAPE, false);
  PumpFor(100ms);
  MouseMove(host->form().Handle(), {460, 340});
  // The picker's border is the skin's.
  ui::Bitmap whole = GrabWhole(picker->Handle());
  EXPECT_EQ(whole.Pixel(0, 10), Shadow());
  EXPECT_EQ(whole.Pixel(1, 10), RGB(255, 255, 255));
}

TEST_F(OtherKindsTest, AMediaPlayerIsCoveredByASkinnedPanelThatFollowsIt) {
  auto* player = Make<TMediaPlayer>({20, 20, 290, 50});
  Skin(*player);
  auto* wrapper = WrapperOf<TSkinMP>(player->Handle());
  ASSERT_TRUE(wrapper);
  TWMediaPlayer* panel = wrapper->Panel();
  ASSERT_TRUE(panel);
  EXPECT_EQ(panel->Parent(), player->Parent());
  EXPECT_EQ(panel->BoundsRect().left, 20);
  EXPECT_EQ(panel->BoundsRect().right, 290);
  const auto buttons = panel->ButtonRects();
  ASSERT_EQ(buttons.size(), 9u);
  EXPECT_EQ(buttons[1].second.left, 30) << "270 pixels for nine buttons";

  // Glyphs by the player's sets: play coloured, pause plain, eject disabled.
  ui::Bitmap picture = Grab(panel->Handle());
  auto glyphShows = [&](const wchar_t* name, int index) {
    HANDLE image =
        LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    ui::GdiObject<HBITMAP> owned(static_cast<HBITMAP>(image));
    ui::Bitmap glyph = ui::Bitmap::FromHandle(owned.get());
    const RECT r = buttons[index].second;
    return !glyph.Empty() &&
           ShowsElement(picture, {(r.left + r.right - 16) / 2, (r.top + r.bottom - 16) / 2}, glyph);
  };
  EXPECT_TRUE(glyphShows(L"MPCO_PLAY", 0));
  EXPECT_TRUE(glyphShows(L"MPEN_PAUSE", 1));
  EXPECT_TRUE(glyphShows(L"MPDI_EJECT", 8));

  // A press reaches the player at the same point.
  MouseMove(panel->Handle(), {45, 15});
  MouseDown(panel->Handle(), {45, 15});
  MouseUp(panel->Handle(), {45, 15});
  EXPECT_TRUE(PumpUntil([&] { return !player->presses.empty(); }));
  if (!player->presses.empty()) EXPECT_EQ(player->presses[0].x, 45);
  MouseMove(host->form().Handle(), {460, 340});

  player->SetBounds(40, 80, 200, 30);
  Pump();
  EXPECT_EQ(panel->Left(), 40);
  EXPECT_EQ(panel->Top(), 80);
  player->SetVisible(false);
  Pump();
  EXPECT_FALSE(panel->Visible());
  player->SetVisible(true);
  Pump();
  EXPECT_TRUE(panel->Visible());
  // Skinning switched off and on again: the player's own buttons show meanwhile.
  for (const WPARAM on : {0, 1}) {
    SendMessageW(player->Handle(), skin::WM_SKINSTATE, on, 0);
    Pump();
    EXPECT_EQ(IsWindowVisible(panel->Handle()) != FALSE, on == 1);
  }
  wrapper->RestoreControl();
  EXPECT_FALSE(wrapper->Panel());
}

// A window destroyed while its scroll-bar wrapper lives on takes its bar's overlay from the
// screen: it does not stand frozen where the bar was.
TEST_F(OtherKindsTest, AnOverlayGoesWithItsTargetWindow) {
  HWND list = MakeWindow(L"LISTBOX", WS_VSCROLL | LBS_NOINTEGRALHEIGHT, {20, 20, 200, 120});
  for (int i = 0; i < 40; ++i)
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"视频"));
  auto* wrapper =
      dynamic_cast<TSkinScrollbarH*>(AttachWindowWith(L"TSkinScrollbarH", list, host->data()));
  ASSERT_TRUE(wrapper && wrapper->VerticalBar());
  const HWND overlay = wrapper->VerticalBar()->Handle();
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(overlay) != FALSE; }));
  DestroyWindow(list);
  Pump();
  EXPECT_FALSE(IsWindowVisible(overlay));
}

// Plain button windows are wrapped by their type: split buttons and command links are push
// buttons, not radio buttons or check boxes.
TEST_F(OtherKindsTest, PlainButtonWindowsAreWrappedByTheirType) {
  struct Row {
    DWORD type;
    const char* wrapper;  // null: left alone
  };
  const Row rows[] = {
      {BS_PUSHBUTTON, "TSkinButton"},
      {BS_DEFPUSHBUTTON, "TSkinButton"},
      {BS_SPLITBUTTON, "TSkinButton"},
      {BS_DEFSPLITBUTTON, "TSkinButton"},
      {BS_COMMANDLINK, "TSkinButton"},
      {BS_DEFCOMMANDLINK, "TSkinButton"},
      {BS_CHECKBOX, "TSkinCheckBox"},
      {BS_AUTOCHECKBOX, "TSkinCheckBox"},
      {BS_3STATE, "TSkinCheckBox"},
      {BS_AUTO3STATE, "TSkinCheckBox"},
      {BS_RADIOBUTTON, "TSkinRadioButton"},
      {BS_AUTORADIOBUTTON, "TSkinRadioButton"},
      {BS_GROUPBOX, nullptr},
      {BS_OWNERDRAW, nullptr},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.type);
    HWND window = MakeWindow(L"Button", row.type, {20, 20, 160, 44}, L"按钮");
    SkinWindow(window);
    TControlWrapper* wrapper = WrapperOf<TControlWrapper>(window);
    if (!row.wrapper) {
      EXPECT_EQ(wrapper, nullptr);
      continue;
    }
    ASSERT_NE(wrapper, nullptr);
    const std::wstring name = wrapper->ClassName();
    EXPECT_EQ(std::string(name.begin(), name.end()), row.wrapper);
  }
}

TEST_F(OtherKindsTest, ATabSetDrawsItsCurrentTabFromTheSecondFrameUpsideDown) {
  auto* tabs = Make<TTabSet>({20, 20, 300, 44});
  Skin(*tabs);
  auto* wrapper = WrapperOf<TSkinTab31>(tabs->Handle());
  ASSERT_TRUE(wrapper);
  ASSERT_EQ(wrapper->TabRects().size(), 3u);
  const TDataSkinBorder& record = *Records().Tabs;
  ui::Bitmap flipped = record.Bitmap.Clone();
  skin::FlipVertical(flipped);
  const Margins m{record.Margins.left, record.Margins.bottom, record.Margins.right,
                  record.Margins.top};
  ui::Bitmap picture = Grab(tabs->Handle());
  for (int i = 0; i < 3; ++i) {
    const RECT r = wrapper->TabRects()[i];
    ui::Bitmap expected =
        skin::RenderElement({0, 0, r.right - r.left, r.bottom - r.top},
                            {&flipped, m, {5, i == 1 ? 2 : 1, false}, record.Tile != 0, false});
    // Below the text: the tab's lower edge.
    for (int x = 0; x < expected.Width(); ++x) {
      const COLORREF want = expected.Pixel(x, expected.Height() - 1);
      if (want != RGB(255, 0, 255)) EXPECT_EQ(picture.Pixel(r.left + x, r.bottom - 1), want);
    }
  }
}

TEST_F(OtherKindsTest, ButtonTabsAreSkinnedButtonsTheCurrentOnePressed) {
  auto* pages = Make<ui::TPageControl>({20, 20, 300, 120});
  pages->SetStyle(ui::TTabStyle::tsButtons);
  for (const wchar_t* name : {L"常规", L"输出"}) Make<ui::TTabSheet>({}, name, pages);
  Pump();
  Skin(*pages);
  HWND window = pages->Handle();
  ui::Bitmap picture = Grab(window);
  const TDataSkinButton& buttons = *Records().Buttons;
  const int current = static_cast<int>(SendMessageW(window, TCM_GETCURSEL, 0, 0));
  for (int i = 0; i < 2; ++i) {
    RECT r{};
    SendMessageW(window, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r));
    ui::Bitmap expected = skin::RenderElement(
        {0, 0, r.right - r.left, r.bottom - r.top},
        {&buttons.Bitmap, buttons.Margins, {5, i == current ? 2 : 1, false}, false, false});
    const POINT corner{2, 2};
    EXPECT_EQ(picture.Pixel(r.left + corner.x, r.top + corner.y),
              expected.Pixel(corner.x, corner.y))
        << i;
  }
}

TEST_F(OtherKindsTest, OtherLibrariesBoxesTakeTheSkinsGlyphsAndGetTheirOwnBack) {
  struct Case {
    ui::TButtonControl* box;
    TGlyphProperties* holder;  // where the box keeps its glyph properties
    ui::TBitmapImage* glyphs;
    int frames;
    int firstChecked;  // the strip frame of the second glyph
  };
  auto* rz = Make<TRzCheckBox>({20, 20, 120, 37});
  auto* radio = Make<TRzRadioButton>({20, 50, 120, 67});
  auto* cx = Make<TcxCheckBox>({20, 80, 120, 97});
  const Case cases[] = {{rz, &rz->own, &rz->own.glyphs, 6, 5},
                        {radio, &radio->own, &radio->own.glyphs, 4, 5},
                        {cx, &cx->own, &cx->own.glyphs, 6, 5}};
  for (const Case& c : cases) {
    ui::Bitmap old(4, 4);
    old.Fill(RGB(1, 2, 3));
    c.glyphs->Assign(old);
    c.holder->transparent = 7;
  }
  for (const Case& c : cases) Skin(*c.box);
  const TDataSkinButton& b = *Records().Buttons;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.box->ClassName());
    ASSERT_FALSE(c.glyphs->Empty());
    EXPECT_EQ(c.glyphs->Width(), 13 * c.frames);
    const bool radio = c.frames == 4;
    const ui::Bitmap& strip = radio ? b.RadioBitmap : b.CheckBitmap;
    EXPECT_TRUE(Shows(c.glyphs->Image(), {13, 0},
                      FramePicture(strip, radio ? 8 : 12, c.firstChecked, RGB(255, 0, 255))));
    EXPECT_EQ(c.holder->transparent, 0xFF00FF);
    EXPECT_EQ(c.holder->useWrites, (std::vector<bool>{false, true}));
  }
  host->skinner().Unhook();
  for (const Case& c : cases) {
    EXPECT_EQ(c.glyphs->Width(), 4);
    EXPECT_EQ(c.holder->transparent, 7);
  }
}

TEST_F(OtherKindsTest, AnAdvPageControlsTabPicturesAreTheSkinsUntilGivenBack) {
  auto* pages = Make<TAdvPageControl>({20, 20, 300, 120});
  Skin(*pages);
  const TDataSkinBorder& tabs = *Records().Tabs;
  const int w = tabs.Bitmap.Width() / 5;
  ASSERT_EQ(pages->normal.Width(), w);
  ASSERT_EQ(pages->active.Width(), w);
  for (int y = 0; y < tabs.Bitmap.Height(); y += 5) {
    EXPECT_EQ(pages->normal.Image().Pixel(w / 2, y), tabs.Bitmap.Pixel(w / 2, y));
    EXPECT_EQ(pages->active.Image().Pixel(w / 2, y), tabs.Bitmap.Pixel(w + w / 2, y));
  }
  host->skinner().Unhook();
  EXPECT_TRUE(pages->normal.Empty());
  EXPECT_TRUE(pages->active.Empty());
}

}  // namespace
