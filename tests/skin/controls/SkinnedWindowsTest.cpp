// The program's own windows with every control wrapped: each kind of control gets its
// wrapper, and the controls show the skin with the program's own common controls.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "convert/ProgressWindow.h"
#include "shell/MainWindow.h"
#include "skin/controls/SkinControls.h"
#include "skin/data/ElementDrawing.h"
#include "skin/forms/ControlWrapper.h"
#include "skin/forms/SkinMessages.h"
#include "skin/forms/WinSkinForm.h"
#include "tests/skin/controls/WrapperFixture.h"
#include "ui/Application.h"
#include "ui/ComCtrls.h"

namespace {

using namespace controltest;

// The wrapper class each control of a form has, by the control's name.
std::map<std::wstring, std::wstring> Wrappers(TWinSkinForm& skinner) {
  std::map<std::wstring, std::wstring> wrappers;
  for (TControlWrapper* wrapper : skinner.Controls()) {
    if (auto* control = dynamic_cast<ui::TControl*>(wrapper->Owner()))
      wrappers[control->Name()] = wrapper->ClassName();
  }
  return wrappers;
}

class SkinnedWindowsTest : public WrapperFixture {
 protected:
  static void SetUpTestSuite() {
    WrapperFixture::SetUpTestSuite();
    TSkinData::RegisterClass();
  }
};

TEST_F(SkinnedWindowsTest, EveryKindOfControlOfTheProgramsWindowsGetsItsWrapper) {
  TTntForm1 form(nullptr);
  form.Show();
  Pump();
  auto* data = dynamic_cast<TSkinData*>(form.FindComponent(L"SkinData1"));
  ASSERT_TRUE(data);
  TWinSkinForm skinner(nullptr);
  skinner.SetHandle(form.Handle());
  skinner.HookWindow(*data);
  skinner.SkinFormControls(form);
  const std::map<std::wstring, std::wstring> wrappers = Wrappers(skinner);
  const std::pair<const wchar_t*, const wchar_t*> expected[] = {
      {L"TntPageControl1", L"TSkinTab"},     {L"TntTabSheet1", L"TSkinTabSheet"},
      {L"TntPanel1", L"TSkinBox"},           {L"TntEdit1", L"TSkinEdit"},
      {L"TntStatusBar1", L"TSkinStatusBar"}, {L"TntGroupBox1", L"TSkinGroupBox"},
      {L"g2", L"TSkinRadioButton"},          {L"TntComboBox1", L"TSkinComBox"},
      {L"TntCheckBox1", L"TSkinCheckBox"},   {L"TntListView1", L"TSkinListView"},
      {L"TntBitBtn1", L"TSkinBitButton"},    {L"TntButton1", L"TSkinButton"},
  };
  for (auto [name, wrapper] : expected) {
    auto it = wrappers.find(name);
    ASSERT_NE(it, wrappers.end()) << std::string(name, name + wcslen(name));
    EXPECT_EQ(it->second, wrapper);
  }

  TTntForm2 progress(nullptr, &form);
  progress.Show();
  Pump();
  TWinSkinForm progressSkinner(nullptr);
  progressSkinner.SetHandle(progress.Handle());
  progressSkinner.HookWindow(*data);
  progressSkinner.SkinFormControls(progress);
  const std::map<std::wstring, std::wstring> bars = Wrappers(progressSkinner);
  for (const wchar_t* name : {L"TntProgressBar1", L"TntProgressBar2"}) {
    auto it = bars.find(name);
    ASSERT_NE(it, bars.end());
    EXPECT_EQ(it->second, L"TSkinProgress");
  }
}

// The program runs with the common controls of its manifest (as this test does): its own
// controls show the skin there too.
TEST_F(SkinnedWindowsTest, TheMainWindowsControlsShowTheSkin) {
  TTntForm1 form(nullptr);
  form.Show();
  SetWindowPos(form.Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  Pump();
  auto* data = dynamic_cast<TSkinData*>(form.FindComponent(L"SkinData1"));
  ASSERT_TRUE(data);
  TWinSkinForm skinner(nullptr);
  skinner.SetHandle(form.Handle());
  skinner.HookWindow(*data);
  skinner.SkinFormControls(form);
  form.TntEdit1->SetFocus();
  PumpFor(200ms);
  const SkinRecords& records = data->Records();
  const COLORREF face = skin::ResolveColour(records.Colours.ButtonFace);
  const COLORREF shadow = skin::ResolveColour(records.Colours.ButtonShadow);
  auto boxShows = [&](HWND window, const ui::Bitmap& strip, int count, int frame) {
    ui::Bitmap expected = FramePicture(strip, count, frame, face);
    ui::Bitmap picture = Grab(window);
    return Shows(picture, {0, (picture.Height() - expected.Height()) / 2}, expected);
  };
  const TDataSkinButton& buttons = *records.Buttons;
  EXPECT_TRUE(boxShows(form.TntCheckBox1->Handle(), buttons.CheckBitmap, 12, 1));
  EXPECT_TRUE(boxShows(form.g[3]->Handle(), buttons.RadioBitmap, 8, 5)) << "MP4 is checked";
  EXPECT_TRUE(boxShows(form.g[1]->Handle(), buttons.RadioBitmap, 8, 1));
  EXPECT_EQ(GrabWhole(form.TntEdit1->Handle()).Pixel(0, 0), shadow);
  HWND combo = form.TntComboBox1->Handle();
  RECT r;
  GetClientRect(combo, &r);
  const TDataSkinBorder& strip = *records.ComboButton;
  EXPECT_TRUE(ShowsElement(
      Grab(combo), {0, 0},
      skin::RenderElement(
          {0, 0, r.right, r.bottom},
          {&strip.Bitmap, strip.Margins, {strip.FrameCount, 1, false}, false, false})));
}

}  // namespace
