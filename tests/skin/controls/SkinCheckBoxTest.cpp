// Check boxes and radio buttons: the box frame read back from the screen for each state,
// the boxes of other libraries' controls by their published properties, and the layout.
#include <gtest/gtest.h>

#include "skin/controls/SkinCheckBox.h"
#include "skin/forms/SkinMessages.h"
#include "tests/skin/controls/WrapperFixture.h"
#include "ui/ExtCtrls.h"
#include "ui/StdCtrls.h"

namespace {

using namespace controltest;

// A check box of another library: it publishes Checked but no State.
class TCheckedOnlyBox : public ui::TButtonControl {
  VELMO_DECLARE_CLASS
 public:
  using TButtonControl::TButtonControl;
  bool Checked() const { return checked_; }
  void SetChecked(bool v) { checked_ = v; }

 protected:
  void CreateParams(ui::TCreateParams& p) override {
    TButtonControl::CreateParams(p);
    p.style |= BS_CHECKBOX;
  }

 private:
  bool checked_ = false;
};
const ui::TClassInfo& TCheckedOnlyBox::StaticClass() {
  static ui::TClassInfo info(L"TCheckedOnlyBox", &ui::TButtonControl::StaticClass());
  static const bool published = [] {
    info.Boolean<TCheckedOnlyBox>(L"Checked", &TCheckedOnlyBox::Checked,
                                  &TCheckedOnlyBox::SetChecked);
    return true;
  }();
  (void)published;
  return info;
}

// A data-aware check box: its State stays as loaded, the window shows what was set last.
class TDataBox : public ui::TButtonControl {
  VELMO_DECLARE_CLASS
 public:
  using TButtonControl::TButtonControl;
  ui::TCheckBoxState State() const { return ui::TCheckBoxState::cbUnchecked; }
  std::wstring DataField() const { return L"Done"; }

 protected:
  void CreateParams(ui::TCreateParams& p) override {
    TButtonControl::CreateParams(p);
    p.style |= BS_3STATE;
  }
};
const ui::TClassInfo& TDataBox::StaticClass() {
  static ui::TClassInfo info(L"TDataBox", &ui::TButtonControl::StaticClass());
  static const bool published = [] {
    info.Enum<TDataBox, ui::TCheckBoxState>(L"State", {L"cbUnchecked", L"cbChecked", L"cbGrayed"},
                                            &TDataBox::State, nullptr)
        .Text<TDataBox>(L"DataField", &TDataBox::DataField, nullptr);
    return true;
  }();
  (void)published;
  return info;
}

class CheckBoxTest : public WrapperFixture {
 protected:
  // The box a control of that height shows: at the left (or right), vertically centred.
  bool ShowsFrame(HWND window, bool radio, int frame, bool atRight = false) {
    const TDataSkinButton& b = *Records().Buttons;
    const ui::Bitmap& strip = radio ? b.RadioBitmap : b.CheckBitmap;
    const int count = radio ? b.RadioButtonFrame : b.CheckButtonFrame;
    ui::Bitmap expected = FramePicture(strip, count, frame, Face());
    return PumpUntil(
        [&] {
          ui::Bitmap picture = Grab(window);
          const int x = atRight ? picture.Width() - expected.Width() : 0;
          return Shows(picture, {x, (picture.Height() - expected.Height()) / 2}, expected);
        },
        1s);
  }
};

TEST_F(CheckBoxTest, OurStripsHoldTheFramesTheRulesName) {
  const TDataSkinButton& b = *Records().Buttons;
  ASSERT_EQ(b.CheckButtonFrame, 12);
  ASSERT_EQ(b.RadioButtonFrame, 8);
  // The frames the tests tell apart look different.
  for (auto [one, other] : {std::pair{1, 5}, {5, 8}, {8, 12}, {4, 8}, {9, 12}}) {
    EXPECT_FALSE(Shows(FramePicture(b.CheckBitmap, 12, one, 0), {0, 0},
                       FramePicture(b.CheckBitmap, 12, other, 0)))
        << one << " " << other;
  }
}

TEST_F(CheckBoxTest, ACheckBoxShowsItsStateByTheTwelveFrameRule) {
  struct Case {
    ui::TCheckBoxState state;
    bool enabled;
    int frame;
  };
  const Case cases[] = {
      {ui::TCheckBoxState::cbUnchecked, true, 1},  {ui::TCheckBoxState::cbChecked, true, 5},
      {ui::TCheckBoxState::cbUnchecked, false, 4}, {ui::TCheckBoxState::cbChecked, false, 8},
      {ui::TCheckBoxState::cbGrayed, true, 9},     {ui::TCheckBoxState::cbGrayed, false, 12},
  };
  auto* box = Make<ui::TCheckBox>({20, 20, 160, 37}, L"转换完删除文件");
  Skin(*box);
  EXPECT_EQ(SendMessageW(box->Handle(), skin::WM_SKINQUERY, 0, 0), 1);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.frame);
    box->SetState(c.state);
    box->SetEnabled(c.enabled);
    EXPECT_TRUE(ShowsFrame(box->Handle(), false, c.frame));
  }
}

TEST_F(CheckBoxTest, ARadioButtonShowsItsStateByTheEightFrameRule) {
  struct Case {
    bool checked, enabled;
    int frame;
  };
  auto* radio = Make<ui::TRadioButton>({20, 20, 160, 37}, L"MP4");
  Skin(*radio);
  for (Case c : {Case{false, true, 1}, {true, true, 5}, {false, false, 4}, {true, false, 8}}) {
    SCOPED_TRACE(c.frame);
    radio->SetChecked(c.checked);
    radio->SetEnabled(c.enabled);
    EXPECT_TRUE(ShowsFrame(radio->Handle(), true, c.frame));
  }
}

TEST_F(CheckBoxTest, AClickChecksTheBoxAndTheSkinShowsIt) {
  auto* box = Make<ui::TCheckBox>({20, 20, 160, 37}, L"转换完删除文件");
  Skin(*box);
  HWND window = box->Handle();
  MouseMove(window, {6, 8});
  MouseDown(window, {6, 8});
  MouseUp(window, {6, 8});
  EXPECT_TRUE(PumpUntil([&] { return box->Checked(); }));
  EXPECT_TRUE(ShowsFrame(window, false, 5));
  MouseMove(host->form().Handle(), {400, 300});
}

TEST_F(CheckBoxTest, OtherLibrariesBoxesAreReadByTheirPublishedProperties) {
  // Checked without State: an unchecked box is the normal frame, not the disabled one.
  auto* checkedOnly = Make<TCheckedOnlyBox>({20, 20, 160, 37}, L"a");
  skin::CreateWrapper(L"TSkinCheckBox", checkedOnly)
      ->AttachControl(host->skinner(), host->data(), false, host->skinner().ControlCanvas());
  EXPECT_TRUE(ShowsFrame(checkedOnly->Handle(), false, 1));
  checkedOnly->SetChecked(true);
  checkedOnly->Repaint();
  EXPECT_TRUE(ShowsFrame(checkedOnly->Handle(), false, 5));

  // A data-aware box shows the state last set on its window, whatever State says.
  auto* data = Make<TDataBox>({20, 60, 160, 77}, L"b");
  skin::CreateWrapper(L"TSkinCheckBox", data)
      ->AttachControl(host->skinner(), host->data(), false, host->skinner().ControlCanvas());
  EXPECT_TRUE(ShowsFrame(data->Handle(), false, 1));
  SendMessageW(data->Handle(), BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_TRUE(ShowsFrame(data->Handle(), false, 5));
}

TEST_F(CheckBoxTest, TheBoxGoesRightOfALeftAlignedCaptionAndTag5555ShowsTheParent) {
  auto* box = Make<ui::TCheckBox>({20, 20, 160, 37}, L"ab");
  box->SetAlignment(ui::TAlignment::taLeftJustify);
  box->SetChecked(true);
  Pump();  // the window is made again with the new alignment
  Skin(*box);
  HWND window = box->Handle();
  EXPECT_TRUE(ShowsFrame(window, false, 5, true));
  ui::Bitmap picture = Grab(window);
  RECT ink = InkBox(picture, {0, 0, 140 - 13, 17}, Dark);
  EXPECT_GT(ink.left, 100) << "the caption is right-aligned next to the box";
  EXPECT_EQ(picture.Pixel(2, 1), Face());

  // On a white panel the box with tag 5555 shows the panel around its caption.
  auto* panel = Make<ui::TPanel>({20, 60, 200, 100});
  panel->SetBevelOuter(ui::TBevelCut::bvNone);
  panel->SetColor(RGB(255, 255, 255));
  auto* clear = Make<ui::TCheckBox>({10, 10, 150, 27}, L"ab", panel);
  clear->SetTag(5555);
  Skin(*clear);
  EXPECT_TRUE(PumpUntil([&] { return Pixel(clear->Handle(), 60, 1) == RGB(255, 255, 255); }));
}

}  // namespace
