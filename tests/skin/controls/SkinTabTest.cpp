// Tab controls: the page area and the tabs drawn from the skin on each side, the current tab
// from the second frame, the tab scroller, and close boxes that ask the form skinner.
#include <windows.h>
// after windows.h
#include <commctrl.h>
#include <gtest/gtest.h>

#include <vector>

#include "skin/controls/SkinTab.h"
#include "skin/controls/SkinUpDown.h"
#include "skin/data/ElementDrawing.h"
#include "skin/forms/SkinMessages.h"
#include "tests/skin/controls/WrapperFixture.h"
#include "ui/ComCtrls.h"
#include "ui/WindowSubclass.h"

namespace {

using namespace controltest;

class TabTest : public WrapperFixture {
 protected:
  HWND Tabs(DWORD style, RECT bounds, int count = 3) {
    HWND window = MakeWindow(WC_TABCONTROLW, style, bounds);
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
    for (int i = 0; i < count; ++i) {
      std::wstring text = L"页面" + std::to_wstring(i + 1);
      TCITEMW item{};
      item.mask = TCIF_TEXT;
      item.pszText = text.data();
      SendMessageW(window, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
    return window;
  }
};

TEST_F(TabTest, TheCurrentTabIsFrameTwoAndTheOthersFrameOneOnEverySide) {
  struct Case {
    DWORD style;
    TSkinTab::Side side;
  };
  const Case cases[] = {
      {0, TSkinTab::Side::Top},
      {TCS_BOTTOM, TSkinTab::Side::Bottom},
      {TCS_VERTICAL | TCS_MULTILINE, TSkinTab::Side::Left},
      {TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE, TSkinTab::Side::Right},
  };
  const TDataSkinBorder& record = *Records().Tabs;
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.side));
    HWND window = Tabs(c.style, {10, 10, 300, 190});
    SendMessageW(window, TCM_SETCURSEL, 1, 0);
    SendMessageW(window, TCM_SETCURFOCUS, 1, 0);
    SkinWindow(window);
    auto* wrapper = WrapperOf<TSkinTab>(window);
    ASSERT_TRUE(wrapper);
    EXPECT_EQ(wrapper->TabSide(), c.side);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    ui::Bitmap picture = Grab(window);
    ASSERT_EQ(wrapper->TabRects().size(), 3u);

    // Our tab strip turned to the side as the wrapper must turn it.
    ui::Bitmap turned = record.Bitmap.Clone();
    Margins m = record.Margins;
    bool stacked = false, reversed = false;
    if (c.side == TSkinTab::Side::Bottom) {
      skin::FlipVertical(turned);
      m = {m.left, m.bottom, m.right, m.top};
    } else if (c.side == TSkinTab::Side::Left) {
      skin::RotateBack(turned);
      m = {m.top, m.right, m.bottom, m.left};
      stacked = reversed = true;
    } else if (c.side == TSkinTab::Side::Right) {
      skin::Rotate(turned);
      m = {m.bottom, m.left, m.top, m.right};
      stacked = true;
    }
    for (int i = 0; i < 3; ++i) {
      SCOPED_TRACE(i);
      const RECT r = wrapper->TabRects()[i];
      const int frame = i == 1 ? 2 : 1;
      ui::Bitmap expected = skin::RenderElement(
          {0, 0, r.right - r.left, r.bottom - r.top},
          {&turned, m, {5, reversed ? 6 - frame : frame, stacked}, record.Tile != 0, false});
      // The tab's edges, clear of its text.
      int compared = 0, differ = 0;
      for (int y = 0; y < expected.Height(); ++y) {
        for (int xx = 0; xx < expected.Width(); ++xx) {
          const bool edge =
              xx < 2 || y < 2 || xx >= expected.Width() - 2 || y >= expected.Height() - 2;
          const COLORREF want = expected.Pixel(xx, y);
          // The current tab lies over its neighbours' near edges.
          const POINT at{r.left + xx, r.top + y};
          const RECT over = wrapper->TabRects()[1];
          if (!edge || want == RGB(255, 0, 255) || (i != 1 && PtInRect(&over, at))) continue;
          ++compared;
          differ += picture.Pixel(r.left + xx, r.top + y) != want;
        }
      }
      EXPECT_GT(compared, 20);
      EXPECT_EQ(differ, 0);
    }
    DestroyWindow(window);
  }
}

}  // namespace

namespace {

TEST_F(TabTest, ATabScrollerIsSkinnedAsAnUpDown) {
  HWND window = Tabs(0, {10, 10, 120, 120}, 6);
  SkinWindow(window);
  auto* wrapper = WrapperOf<TSkinTab>(window);
  ASSERT_TRUE(wrapper);
  ASSERT_TRUE(wrapper->Scroller()) << "six tabs do not fit: the control scrolls them";
  EXPECT_EQ(SendMessageW(wrapper->Scroller()->WindowHandle(), skin::WM_SKINQUERY, 0, 0), 1);
}

TEST_F(TabTest, ACloseBoxAsksTheFormSkinnerAndClosesThePageUnlessItSaysNo) {
  auto* pages = Make<ui::TPageControl>({10, 10, 310, 190});
  pages->SetTag(TSkinTab::kCloseTag);
  for (const wchar_t* name : {L"常规", L"输出", L"关于"}) Make<ui::TTabSheet>({}, name, pages);
  Pump();
  Skin(*pages);
  auto* wrapper = WrapperOf<TSkinTab>(pages->Handle());
  ASSERT_TRUE(wrapper);
  ASSERT_EQ(wrapper->CloseBoxes().size(), 3u);

  // The form skinner's window answers what the test says.
  struct Asked {
    WPARAM tabs;
    LPARAM index;
  };
  std::vector<Asked> asked;
  LRESULT answer = 1;
  ui::WindowSubclass form;
  form.Install(host->form().Handle(), [&](UINT msg, WPARAM w, LPARAM l) -> LRESULT {
    if (msg == skin::WM_SKINTABCLOSE) {
      asked.push_back({w, l});
      return answer;
    }
    return form.CallPrevious(msg, w, l);
  });
  auto clickBox = [&](int index) {
    const RECT box = wrapper->CloseBoxes()[index];
    const POINT at{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
    MouseMove(pages->Handle(), at);
    MouseDown(pages->Handle(), at);
    MouseUp(pages->Handle(), at);
    PumpFor(150ms);
  };
  // The box is drawn: its diagonals cross in its middle.
  const RECT box = wrapper->CloseBoxes()[2];
  EXPECT_TRUE(Dark(Pixel(pages->Handle(), (box.left + box.right) / 2, (box.top + box.bottom) / 2)));

  clickBox(2);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].tabs, reinterpret_cast<WPARAM>(pages->Handle()));
  EXPECT_EQ(asked[0].index, 2);
  EXPECT_EQ(pages->Pages().size(), 3u) << "the form skinner said no";
  EXPECT_EQ(pages->ActivePage(), pages->Pages()[0]) << "the click went no further";

  answer = 0;
  ui::TTabSheet* closed = pages->Pages()[1];
  std::erase(made, closed);  // the click frees it
  clickBox(1);
  ASSERT_EQ(asked.size(), 2u);
  ASSERT_EQ(pages->Pages().size(), 2u);
  EXPECT_EQ(pages->Pages()[1]->Caption(), L"关于");
  MouseMove(host->form().Handle(), {460, 340});
  form.Remove();
}

// The form's answer to a close box may free the page control itself (its wrapper with it):
// nothing is closed after that, and nothing of the freed wrapper is touched.
TEST_F(TabTest, AFormThatFreesThePageControlOnACloseBoxIsSafe) {
  auto* pages = Make<ui::TPageControl>({10, 10, 310, 190});
  pages->SetTag(TSkinTab::kCloseTag);
  for (const wchar_t* name : {L"常规", L"输出"}) Make<ui::TTabSheet>({}, name, pages);
  Pump();
  Skin(*pages);
  auto* wrapper = WrapperOf<TSkinTab>(pages->Handle());
  ASSERT_TRUE(wrapper);
  ASSERT_EQ(wrapper->CloseBoxes().size(), 2u);
  const RECT box = wrapper->CloseBoxes()[0];
  const HWND window = pages->Handle();
  int asked = 0;
  ui::WindowSubclass form;
  form.Install(host->form().Handle(), [&](UINT msg, WPARAM w, LPARAM l) -> LRESULT {
    if (msg != skin::WM_SKINTABCLOSE) return form.CallPrevious(msg, w, l);
    ++asked;
    std::erase_if(made, [&](ui::TControl* c) { return c == pages || c->Parent() == pages; });
    delete pages;
    return 0;  // close it: the page is gone with its control
  });
  const POINT at{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
  MouseMove(window, at);
  MouseDown(window, at);
  PumpFor(150ms);
  EXPECT_EQ(asked, 1);
  EXPECT_FALSE(IsWindow(window));
  MouseMove(host->form().Handle(), {460, 340});
  form.Remove();
}

TEST_F(TabTest, APageControlWithoutTabsHasThePaneAllRound) {
  auto* pages = Make<ui::TPageControl>({10, 10, 210, 150});
  auto* sheet = Make<ui::TTabSheet>({}, L"页", pages);
  sheet->SetTabVisible(false);
  Pump();
  Skin(*pages);
  Skin(*sheet);
  const TDataSkinObject& pane = *Records().TabPane;
  ui::Bitmap expected = skin::RenderElement(
      {0, 0, 200, 140}, {&pane.Bitmap, pane.Margins, {1, 1, false}, false, false});
  ui::Bitmap picture = Grab(pages->Handle());
  for (POINT p : {POINT{0, 70}, POINT{100, 0}, POINT{199, 70}, POINT{100, 139}})
    EXPECT_EQ(picture.Pixel(p.x, p.y), expected.Pixel(p.x, p.y)) << p.x << "," << p.y;
}

}  // namespace
