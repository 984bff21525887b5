// Framework notifications and reflected control notifications, seen through WindowProc.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ui/Application.h"
#include "ui/ComCtrls.h"
#include "ui/Form.h"
#include "ui/MessagePump.h"
#include "ui/StdCtrls.h"

using namespace ui;

namespace {

// Records every message that passes a control's WindowProc, then lets it through.
class Spy {
 public:
  explicit Spy(TControl& control) : control_(control), saved_(control.WindowProc) {
    control.WindowProc = [this](TMessage& m) {
      seen.push_back(m.Msg);
      saved_(m);
    };
  }
  ~Spy() { control_.WindowProc = saved_; }
  std::vector<UINT> seen;

 private:
  TControl& control_;
  TWndMethod saved_;
};

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

struct Fixture {
  TForm form{nullptr};
  TButton* button;
  TEdit* edit;
  TComboBox* combo;
  TListView* list;
  Fixture() {
    Application();  // its keyboard filter joins the message pump
    form.SetBounds(50, 50, 400, 300);
    button = new TButton(&form);
    button->SetParent(&form);
    edit = new TEdit(&form);
    edit->SetParent(&form);
    edit->SetTop(40);
    combo = new TComboBox(&form);
    combo->SetParent(&form);
    combo->SetTop(80);
    combo->SetItems({L"a", L"b"});
    list = new TListView(&form);
    list->SetParent(&form);
    list->SetTop(120);
    list->SetViewStyle(TViewStyle::vsReport);
    form.Show();
    Pump();
  }
};

struct NotificationCase {
  const char* name;
  UINT expected;
  std::function<TControl&(Fixture&)> watched;
  std::function<void(Fixture&)> act;
};

void PrintTo(const NotificationCase& c, std::ostream* os) { *os << c.name; }

class Notification : public testing::TestWithParam<NotificationCase> {};

TEST_P(Notification, ArrivesWhenTheFrameworkSendsIt) {
  Fixture f;
  Spy spy(GetParam().watched(f));
  GetParam().act(f);
  Pump();
  EXPECT_THAT(spy.seen, testing::Contains(GetParam().expected)) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Framework, Notification,
    testing::Values(
        NotificationCase{"EnabledChanged", 0xB00C, [](Fixture& f) -> TControl& { return *f.edit; },
                         [](Fixture& f) { f.edit->SetEnabled(false); }},
        NotificationCase{"VisibleChanged", 0xB00B, [](Fixture& f) -> TControl& { return *f.edit; },
                         [](Fixture& f) { f.edit->SetVisible(false); }},
        NotificationCase{"FocusChangedReachesEveryControl", 0xB007,
                         [](Fixture& f) -> TControl& { return *f.button; },
                         [](Fixture& f) { f.edit->SetFocus(); }},
        NotificationCase{"DialogKeyTabGoesToTheForm", 0xB005,
                         [](Fixture& f) -> TControl& { return f.form; },
                         [](Fixture& f) {
                           f.edit->SetFocus();
                           PostMessageW(f.edit->Handle(), WM_KEYDOWN, VK_TAB, 0);
                           ProcessMessages();  // the application's filter runs before dispatch
                         }},
        NotificationCase{"DialogCharOnAltLetter", 0xB006,
                         [](Fixture& f) -> TControl& { return f.form; },
                         [](Fixture& f) { SendMessageW(f.edit->Handle(), WM_SYSCHAR, L'x', 0); }},
        NotificationCase{
            "MouseEnter", 0xB013, [](Fixture& f) -> TControl& { return *f.edit; },
            [](Fixture& f) { SendMessageW(f.edit->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3)); }},
        NotificationCase{"MouseLeave", 0xB014, [](Fixture& f) -> TControl& { return *f.edit; },
                         [](Fixture& f) {
                           SendMessageW(f.edit->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
                           SendMessageW(f.edit->Handle(), WM_MOUSELEAVE, 0, 0);
                         }},
        NotificationCase{"MenuChanged", 0xB015, [](Fixture& f) -> TControl& { return f.form; },
                         [](Fixture& f) { f.form.SetMenuHandle(nullptr); }},
        NotificationCase{"Release", 0xB021, [](Fixture& f) -> TControl& { return f.form; },
                         [](Fixture& f) { f.form.Release(); }},
        NotificationCase{"RecreateWnd", 0xB033, [](Fixture& f) -> TControl& { return *f.edit; },
                         [](Fixture& f) { f.edit->SetBorderStyle(TBorderStyle::bsNone); }},
        NotificationCase{"ReflectedCommand", 0xBD11,
                         [](Fixture& f) -> TControl& { return *f.button; },
                         [](Fixture& f) { SendMessageW(f.button->Handle(), BM_CLICK, 0, 0); }},
        NotificationCase{"ReflectedComboCommand", 0xBD11,
                         [](Fixture& f) -> TControl& { return *f.combo; },
                         [](Fixture& f) {
                           SendMessageW(f.combo->Handle(), CB_SHOWDROPDOWN, TRUE, 0);
                           SendMessageW(f.combo->Handle(), CB_SHOWDROPDOWN, FALSE, 0);
                         }},
        NotificationCase{"ReflectedNotify", 0xBC4E, [](Fixture& f) -> TControl& { return *f.list; },
                         [](Fixture& f) { f.list->AddItem(L"一"); }},
        NotificationCase{"ReflectedColour", CN_CTLCOLOREDIT,
                         [](Fixture& f) -> TControl& { return *f.edit; },
                         [](Fixture& f) {
                           InvalidateRect(f.edit->Handle(), nullptr, TRUE);
                           UpdateWindow(f.edit->Handle());
                         }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Reflection, ScrollBarNotificationsComeBackAsCnVScroll) {
  TForm form(nullptr);
  auto* edit = new TEdit(&form);
  edit->SetParent(&form);
  Spy spy(*edit);
  // A parent that hears WM_VSCROLL from a child control hands it back reflected.
  SendMessageW(form.Handle(), WM_VSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(edit->Handle()));
  EXPECT_THAT(spy.seen, testing::Contains(0xBD15u));
}

TEST(Recreate, AWindowMadeAgainKeepsItsStateAndFrameworkObject) {
  Fixture f;
  f.list->SetColumns({L"名称=100", L"位置=-1"});
  int i = f.list->AddItem(L"甲");
  f.list->SetItemText(i, 1, L"C:\\a.mp4");
  f.list->SetChecked(i, true);
  f.edit->SetText(L"文字");
  HWND old = f.list->Handle();
  f.list->SetGridLines(true);
  f.edit->SetBorderStyle(TBorderStyle::bsNone);
  Pump();
  EXPECT_NE(f.list->Handle(), old);
  EXPECT_EQ(TWinControl::FromHandle(f.list->Handle()), f.list);
  ASSERT_EQ(f.list->ItemCount(), 1);
  EXPECT_EQ(f.list->ItemText(0, 1), L"C:\\a.mp4");
  EXPECT_TRUE(f.list->Checked(0));
  EXPECT_EQ(f.edit->GetText(), L"文字");
}

// Long paths come back whole, at and past the first buffer's size.
TEST(ListView, ItemTextsOfAnyLengthComeBackWhole) {
  Fixture f;
  f.list->SetColumns({L"名称=100", L"位置=-1"});
  int i = f.list->AddItem(L"甲");
  for (size_t length : {1022u, 1023u, 1024u, 3000u}) {
    std::wstring path = L"C:\\" + std::wstring(length - 3, L'长');
    f.list->SetItemText(i, 1, path);
    EXPECT_EQ(f.list->ItemText(i, 1), path) << length;
  }
}

}  // namespace
