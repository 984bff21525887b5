// Which wrapper each child control gets. Every wrapper class is registered here as a recording
// stand-in, so that the decision shows for rows whose wrappers are built elsewhere too.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "convert/ProgressWindow.h"
#include "shell/MainWindow.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinImages.h"
#include "skin/forms/ControlWrapper.h"
#include "skin/forms/SkinMessages.h"
#include "skin/forms/WinSkinForm.h"
#include "ui/Application.h"
#include "ui/ComCtrls.h"
#include "ui/ExtCtrls.h"
#include "ui/StdCtrls.h"

namespace {

constexpr std::array kWrapperClasses = {
    L"TSkinButton",   L"TSkinBitButton",   L"TSkinMenuButton", L"TSkinSpeedButton",
    L"TSkinCheckBox", L"TSkinRadioButton", L"TSkinObjImage",   L"TSkinComBox",
    L"TSkinEdit",     L"TSkinDateTime",    L"TSkinProgress",   L"TSkinTrackBar",
    L"TSkinUpDown",   L"TSkinMP",          L"TSkinBox",        L"TSkinBoxH",
    L"TSkinGroupBox", L"TSkinStatusBar",   L"TSkinTab",        L"TSkinTab31",
    L"TSkinTabBtn",   L"TSkinTabSheet",    L"TSkinAdvPage",    L"TSkinScrollbar",
    L"TSkinListView", L"TSkinScControl",   L"TSkinSizer"};

// Records how the classification made and attached it.
class FakeWrapper : public TControlWrapper {
 public:
  FakeWrapper(ui::TComponent* owner, const wchar_t* kind) : TControlWrapper(owner), kind(kind) {}
  ~FakeWrapper() override {
    if (form) form->RemoveControl(this);
  }
  void Configure(const WrapperSettings& s) override { settings = s; }
  void AttachControl(TWinSkinForm& f, TSkinData&, bool colour, HDC) override {
    Attach(f, "control");
    applyColour = colour;
    if (auto* w = dynamic_cast<ui::TWinControl*>(Owner())) window = w->WindowHandle();
  }
  void AttachWindow(HWND w, TSkinData&, TWinSkinForm& f, HDC) override {
    Attach(f, "window");
    window = w;
  }
  void AttachScrolling(ui::TWinControl& control, TSkinData&, TWinSkinForm& f, HDC) override {
    Attach(f, "scrolling");
    window = control.WindowHandle();
  }
  void RestoreControl() override {}
  void SkinChanged() override {}
  bool ApplyColour() const override { return applyColour; }
  int StateCode() const override { return form ? 1 : 0; }
  HWND WindowHandle() const override { return window; }

  std::wstring kind;
  std::string how;
  WrapperSettings settings;
  bool applyColour = false;
  HWND window = nullptr;
  TWinSkinForm* form = nullptr;

 private:
  void Attach(TWinSkinForm& f, const char* by) {
    form = &f;
    how = by;
    f.AddControl(this);
  }
};

template <size_t I>
TControlWrapper* MakeFake(ui::TComponent* owner) {
  return new FakeWrapper(owner, kWrapperClasses[I]);
}

template <size_t... I>
void RegisterFakes(std::index_sequence<I...>) {
  (skin::RegisterWrapperClass(kWrapperClasses[I], &MakeFake<I>), ...);
}

// Controls of other libraries, known to the classification by name and ancestry only.
using ui::TComboBox;
using ui::TGroupBox;
using ui::TPanel;
VELMO_NAMED_CLASS(TMyCombo, TComboBox)
VELMO_NAMED_CLASS_INFO(TMyCombo, TComboBox)
VELMO_NAMED_CLASS(TThirdParty, TPanel)
VELMO_NAMED_CLASS_INFO(TThirdParty, TPanel)
VELMO_NAMED_CLASS(TMyRadioGroup, TGroupBox)
VELMO_NAMED_CLASS_INFO(TMyRadioGroup, TGroupBox)

class ClassificationTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ui::Application().Initialize();
    TSkinData::RegisterClass();
    RegisterFakes(std::make_index_sequence<kWrapperClasses.size()>());
  }

  // The wrappers the skinner holds, as "control name -> kind" (windows by their text).
  static std::map<std::wstring, FakeWrapper*> Decisions(const TWinSkinForm& skinner) {
    std::map<std::wstring, FakeWrapper*> result;
    for (TControlWrapper* w : skinner.Controls()) {
      auto* fake = dynamic_cast<FakeWrapper*>(w);
      if (!fake) continue;
      std::wstring name;
      if (auto* c = dynamic_cast<ui::TComponent*>(fake->Owner());
          c && !dynamic_cast<TWinSkinForm*>(c))
        name = c->Name();
      if (name.empty()) {
        wchar_t text[64]{};
        GetWindowTextW(fake->window, text, 64);
        name = text;
      }
      EXPECT_EQ(result.count(name), 0u)
          << "two wrappers for " << std::string(name.begin(), name.end());
      result[name] = fake;
    }
    return result;
  }

  // The dump of a whole form: every control by name with the kind it got ("" for none).
  static std::map<std::wstring, std::wstring> Dump(ui::TCustomForm& form, TSkinData& data) {
    TWinSkinForm skinner(nullptr);
    skinner.SetHandle(form.Handle());
    skinner.HookWindow(data);
    skinner.SkinFormControls(form);
    std::map<std::wstring, std::wstring> dump;
    for (ui::TComponent* c : form.Components())
      if (dynamic_cast<ui::TControl*>(c)) dump[c->Name()] = L"";
    for (const auto& [name, fake] : Decisions(skinner)) dump[name] = fake->kind;
    // A second walk finds every control wrapped already.
    const size_t count = skinner.Controls().size();
    skinner.SkinFormControls(form);
    EXPECT_EQ(skinner.Controls().size(), count);
    return dump;
  }
};

void ExpectDump(const std::map<std::wstring, std::wstring>& dump,
                const std::map<std::wstring, std::wstring>& expected) {
  for (const auto& [name, kind] : expected) {
    auto it = dump.find(name);
    ASSERT_NE(it, dump.end()) << std::string(name.begin(), name.end());
    EXPECT_EQ(it->second, kind) << std::string(name.begin(), name.end());
  }
  EXPECT_EQ(dump.size(), expected.size());
}

TEST_F(ClassificationTest, EveryControlOfTheMainWindowGetsTheWrapperOfItsRow) {
  TTntForm1 form(nullptr);
  TSkinData& data = *dynamic_cast<TSkinData*>(form.FindComponent(L"SkinData1"));
  ASSERT_FALSE(data.SkinControls() & Bit(xcSpeedButton)) << "the stored set leaves it out";
  const std::map<std::wstring, std::wstring> rows = {
      {L"TntPageControl1", L"TSkinTab"},    // 1
      {L"TntTabSheet1", L"TSkinTabSheet"},  // 4
      {L"TntCheckBox1", L"TSkinCheckBox"},  // 7
      {L"TntGroupBox1", L"TSkinGroupBox"},  // 14
      {L"TntGroupBox2", L"TSkinGroupBox"},  // 14
      {L"g1", L"TSkinRadioButton"},         // 15
      {L"g2", L"TSkinRadioButton"},
      {L"g3", L"TSkinRadioButton"},
      {L"g4", L"TSkinRadioButton"},
      {L"g5", L"TSkinRadioButton"},
      {L"g6", L"TSkinRadioButton"},
      {L"g7", L"TSkinRadioButton"},
      {L"g8", L"TSkinRadioButton"},
      {L"TntStatusBar1", L"TSkinStatusBar"},  // 16
      {L"TntComboBox1", L"TSkinComBox"},      // 18
      {L"TntBitBtn1", L"TSkinBitButton"},     // 22
      {L"TntBitBtn5", L"TSkinBitButton"},
      {L"TntBitBtn6", L"TSkinBitButton"},
      {L"TntBitBtn7", L"TSkinBitButton"},
      {L"TntBitBtn8", L"TSkinBitButton"},
      {L"TntBitBtn9", L"TSkinBitButton"},
      {L"TntSpeedButton2", L""},    // 23, but xcSpeedButton is off
      {L"TntPanel1", L"TSkinBox"},  // 24
      {L"TntPanel2", L"TSkinBox"},
      {L"TntPanel3", L"TSkinBox"},
      {L"TntListView1", L"TSkinListView"},  // 26
      {L"TntButton1", L"TSkinButton"},      // 28
      {L"TntButton2", L"TSkinButton"},
      {L"TntEdit1", L"TSkinEdit"},  // 29
      {L"TntImage2", L""},          // labels and images: no row
      {L"TntImage3", L""},
      {L"TntLabel1", L""},
      {L"TntLabel2", L""},
      {L"TntLabel3", L""},
      {L"TntLabel4", L""}};
  ExpectDump(Dump(form, data), rows);

  // With every switch on, the speed button takes row 23.
  data.SetSkinControls(0x3FFFFF);
  std::map<std::wstring, std::wstring> all = rows;
  all[L"TntSpeedButton2"] = L"TSkinSpeedButton";
  ExpectDump(Dump(form, data), all);
}

TEST_F(ClassificationTest, TheProgressWindowsBarsButtonAndPanelAreWrapped) {
  TTntForm1 main(nullptr);
  TTntForm2 form(nullptr, &main);
  TSkinData& data = *dynamic_cast<TSkinData*>(main.FindComponent(L"SkinData1"));
  ExpectDump(Dump(form, data), {{L"TntPanel1", L"TSkinBox"},
                                {L"TntProgressBar1", L"TSkinProgress"},  // 17
                                {L"TntProgressBar2", L"TSkinProgress"},
                                {L"TntButton1", L"TSkinButton"},
                                {L"TntLabel1", L""},
                                {L"TntLabel2", L""},
                                {L"TntLabel3", L""},
                                {L"TntLabel4", L""}});
}

// A hidden form with a skinner over our skin's switches; controls are classified one by one.
class SingleControlTest : public ClassificationTest {
 protected:
  void SetUp() override {
    form = std::make_unique<ui::TForm>(nullptr);
    form->SetBounds(0, 0, 400, 300);
    data = std::make_unique<TSkinData>(nullptr);
    std::ifstream in(VELMO_SKIN_STREAM, std::ios::binary);
    data->ReadSkinStream(std::vector<std::uint8_t>{std::istreambuf_iterator<char>(in), {}});
    skinner = std::make_unique<TWinSkinForm>(nullptr);
    skinner->SetHandle(form->Handle());
    skinner->HookWindow(*data);
  }
  void TearDown() override {
    skinner.reset();
    form.reset();
  }
  template <typename T>
  T* Add(ui::TWinControl* parent = nullptr) {
    auto* control = new T(form.get());
    control->SetParent(parent ? parent : form.get());
    control->SetName(L"c" + std::to_wstring(form->ComponentCount()));
    return control;
  }
  // Kinds of the wrappers made, in order.
  std::vector<std::wstring> Kinds() const {
    std::vector<std::wstring> kinds;
    for (TControlWrapper* w : skinner->Controls())
      kinds.push_back(dynamic_cast<FakeWrapper*>(w)->kind);
    return kinds;
  }
  FakeWrapper* WrapperOf(ui::TComponent* control) const {
    for (TControlWrapper* w : skinner->Controls())
      if (w->Owner() == control) return dynamic_cast<FakeWrapper*>(w);
    return nullptr;
  }
  FakeWrapper* Last() const { return dynamic_cast<FakeWrapper*>(skinner->Controls().back()); }

  std::unique_ptr<ui::TForm> form;
  std::unique_ptr<TSkinData> data;
  std::unique_ptr<TWinSkinForm> skinner;
};

using KindList = std::vector<std::wstring>;

TEST_F(SingleControlTest, ASkin3rdLineDecidesBeforeTheRowsWhateverItsKindDoes) {
  struct Case {
    const wchar_t* line;
    KindList expected;
  };
  const Case cases[] = {
      {nullptr, {L"TSkinComBox"}},   // no line: row 19 takes the combo descendant
      {L"TMyCombo=nil", {}},         // "nil" keeps it unskinned
      {L"TMYCOMBO=NIL", {}},         // any case
      {L"TMyCombo=frobnicate", {}},  // an unknown kind counts as found
      {L"TMyCombo=combobox", {L"TSkinComBox"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line ? std::string(c.line, c.line + wcslen(c.line)) : "none");
    std::vector<std::wstring> lines = data->Skin3rd();
    if (c.line) lines.insert(lines.begin(), c.line);
    data->SetSkin3rd(lines);
    auto* combo = Add<TMyCombo>();
    skinner->ClassifyControl(*combo, form.get());
    EXPECT_EQ(Kinds(), c.expected);
    delete combo;
    data->SetSkin3rd(TSkinData::DefaultSkin3rd());
  }
}

TEST_F(SingleControlTest, Skin3rdKindsMakeTheirWrappersUnderTheirOwnSwitches) {
  struct Case {
    const wchar_t* kind;
    TSkinControlTypes off;  // switches taken out of the default set
    KindList expected;      // the child's wrapper (if walked) comes before the group's
    const char* how = "control";
    int mode = 0;
    bool colour = false;
  };
  const Case cases[] = {
      {L"panel", 0, {L"TSkinBox"}, "control", 0, true},
      {L"trackbar", Bit(xcTrackBar), {L"TSkinTrackBar"}},  // gated by xcButton ...
      {L"trackbar", Bit(xcButton), {}},                    // ... not by xcTrackBar
      {L"bitbtn", 0, {L"TSkinBitButton"}},
      {L"menubtn", 0, {L"TSkinMenuButton"}},
      {L"speedbutton", Bit(xcSpeedButton), {}},
      {L"groupbox", 0, {L"TSkinGroupBox"}, "control", 0, true},
      {L"advpagecontrol", 0, {L"TSkinAdvPage"}, "control", 4, true},
      {L"scrollbar", 0, {L"TSkinScrollbar", L"TSkinCheckBox"}, "scrolling"},
      {L"container", 0, {L"TSkinCheckBox"}},
      {L"checkgroup", 0, {L"TSkinCheckBox", L"TSkinGroupBox"}, "control", 0, true},
      {L"checkgroup", Bit(xcRadioButton), {L"TSkinGroupBox"}, "control", 0, true},
      {L"checkgroup", Bit(xcGroupBox), {L"TSkinCheckBox"}},
      {L"checkgroup", Bit(xcPanel), {}},
      {L"radiogroup", 0, {L"TSkinRadioButton", L"TSkinGroupBox"}, "control", 0, true},
      {L"tab", 0, {L"TSkinTab"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.kind, c.kind + wcslen(c.kind)) + " off " + std::to_string(c.off));
    data->SetSkin3rd({std::wstring(L"TThirdParty=") + c.kind});
    data->SetSkinControls(0x3FFFFF & ~c.off);
    auto* box = Add<TThirdParty>();
    Add<ui::TCheckBox>(box);
    skinner->ClassifyControl(*box, form.get());
    EXPECT_EQ(Kinds(), c.expected);
    if (FakeWrapper* own = WrapperOf(box)) {
      EXPECT_EQ(own->how, c.how);
      EXPECT_EQ(own->settings.mode, c.mode);
      EXPECT_EQ(own->applyColour, c.colour);
    }
    delete box;
  }
}

// A group kind wraps its items, and the same pass's walk reaches them too: each is wrapped
// once (a second wrapper would chain the control's handler into the first, freed later).
TEST_F(SingleControlTest, AGroupsItemsAreWrappedOnceWhateverReachesThemFirst) {
  for (const wchar_t* kind : {L"checkgroup", L"radiogroup"}) {
    SCOPED_TRACE(std::string(kind, kind + wcslen(kind)));
    data->SetSkin3rd({std::wstring(L"TThirdParty=") + kind});
    auto* box = Add<TThirdParty>();
    ui::TControl* item = std::wstring(kind) == L"checkgroup"
                             ? static_cast<ui::TControl*>(Add<ui::TCheckBox>(box))
                             : Add<ui::TRadioButton>(box);
    skinner->ClassifyControl(*item, box);  // reached first by itself
    skinner->SkinFormControls(*form);
    int wrappers = 0;
    for (TControlWrapper* w : skinner->Controls()) wrappers += w->Owner() == item;
    EXPECT_EQ(wrappers, 1);
    delete box;
  }
}

TEST_F(SingleControlTest, ABitmapButtonWithItsSwitchOffStaysUnskinnedWhateverThePushButtonsSwitch) {
  auto* bit = Add<ui::TTntBitBtn>();
  data->SetSkinControls(0x3FFFFF & ~Bit(xcBitBtn));
  skinner->ClassifyControl(*bit, form.get());
  EXPECT_EQ(Kinds(), (KindList{}));
  data->SetSkinControls(0x3FFFFF);
  skinner->ClassifyControl(*bit, form.get());
  EXPECT_EQ(Kinds(), (KindList{L"TSkinBitButton"}));
}

TEST_F(SingleControlTest, ARadioGroupMarkedWithTheDisableTagPassesItToItsItems) {
  auto* group = Add<TMyRadioGroup>();
  group->SetTag(data->DisableTag());
  auto* a = Add<ui::TRadioButton>(group);
  auto* b = Add<ui::TRadioButton>(group);
  auto* plain = Add<ui::TGroupBox>();
  plain->SetTag(data->DisableTag());
  auto* c = Add<ui::TRadioButton>(plain);
  skinner->SkinFormControls(*form);
  EXPECT_EQ(a->Tag(), data->DisableTag());
  EXPECT_EQ(b->Tag(), data->DisableTag());
  EXPECT_EQ(c->Tag(), 0) << "only radio and check groups pass the tag on";
  EXPECT_EQ(Kinds(), KindList{L"TSkinRadioButton"}) << "the plain group's item is skinned";
  EXPECT_EQ(Last()->Owner(), c);
}

TEST_F(SingleControlTest, AnApplicationsOwnWrapperIsAttachedInsteadOfTheRows) {
  auto* panel = Add<ui::TPanel>();
  auto* inside = Add<ui::TButton>(panel);
  std::vector<std::wstring> asked;
  std::vector<ui::TComponent*> containers;
  data->OnSkinControl = [&](ui::TComponent& sender, TSkinData&, ui::TComponent* container,
                            ui::TComponent* control, const std::wstring& className,
                            ui::TComponent*& skinned) {
    EXPECT_EQ(&sender, skinner.get());
    containers.push_back(container);
    asked.push_back(className);
    if (control == panel) {
      auto* own = new FakeWrapper(panel, L"Own");
      own->applyColour = true;
      skinned = own;
    }
  };
  skinner->ClassifyControl(*panel, form.get());
  EXPECT_EQ(asked, (std::vector<std::wstring>{L"TPANEL", L"TBUTTON"}));
  EXPECT_EQ(containers, (std::vector<ui::TComponent*>{form.get(), panel}));
  EXPECT_EQ(Kinds(), (KindList{L"Own", L"TSkinButton"})) << "the panel's children are walked";
  EXPECT_EQ(dynamic_cast<FakeWrapper*>(skinner->Controls()[0])->how, "control");
  EXPECT_TRUE(dynamic_cast<FakeWrapper*>(skinner->Controls()[0])->applyColour);
  EXPECT_EQ(Last()->Owner(), inside);
}

TEST_F(SingleControlTest, PlainWindowsAreKnownByTheirClassAndStyle) {
  struct Case {
    const wchar_t* windowClass;
    DWORD style;
    const wchar_t* expected;  // nullptr: left alone
  };
  const Case cases[] = {
      {L"BUTTON", BS_PUSHBUTTON, L"TSkinButton"},
      {L"Button", BS_DEFPUSHBUTTON, L"TSkinButton"},
      {L"BUTTON", BS_AUTOCHECKBOX, L"TSkinCheckBox"},
      {L"BUTTON", BS_3STATE, L"TSkinCheckBox"},
      {L"BUTTON", BS_AUTORADIOBUTTON, L"TSkinRadioButton"},
      {L"BUTTON", BS_GROUPBOX, nullptr},
      {L"BUTTON", BS_OWNERDRAW, nullptr},
      {L"COMBOBOX", CBS_DROPDOWNLIST, L"TSkinComBox"},
      {L"COMBOBOX", CBS_SIMPLE, nullptr},
      {L"EDIT", 0, L"TSkinEdit"},
      {L"SCROLLBAR", SBS_SIZEGRIP, L"TSkinSizer"},
      {L"SCROLLBAR", WS_TABSTOP, nullptr},
      {L"SysTabControl32", 0, L"TSkinTab"},
      {L"SysTabControl32", TCS_OWNERDRAWFIXED, nullptr},
      {L"msctls_progress32", 0, nullptr},
      {L"SysTreeView32", 0, nullptr},
  };
  HWND parent = form->Handle();
  for (const Case& c : cases) {
    SCOPED_TRACE(std::wstring(c.windowClass).size());
    HWND window = CreateWindowExW(0, c.windowClass, L"w", WS_CHILD | c.style, 0, 0, 80, 20, parent,
                                  nullptr, nullptr, nullptr);
    ASSERT_TRUE(window);
    skinner->ClassifyWindow(window);
    skinner->ClassifyWindow(window);  // a window wrapped already is skipped
    EXPECT_EQ(Kinds(), c.expected ? KindList{c.expected} : KindList{});
    if (c.expected) {
      EXPECT_EQ(Last()->how, "window");
      EXPECT_EQ(Last()->window, window);
      delete Last();
    }
    DestroyWindow(window);
  }
}

TEST_F(SingleControlTest, TheFrameworksOwnWindowClassesAreKnownToo) {
  auto* panel = Add<ui::TTntPanel>();
  auto* tnt = Add<ui::TTntButton>(panel);
  auto* plain = Add<ui::TButton>(panel);
  auto* bit = Add<ui::TTntBitBtn>(panel);
  auto* edit = Add<ui::TTntEdit>(panel);
  edit->SetCaption(L"edit");
  tnt->SetCaption(L"tnt");
  plain->SetCaption(L"plain");
  bit->SetCaption(L"bit");
  HWND dialog = CreateWindowExW(0, L"#32770", L"dialog", WS_CHILD, 0, 0, 100, 100, form->Handle(),
                                nullptr, nullptr, nullptr);
  CreateWindowExW(0, L"BUTTON", L"inner", WS_CHILD, 0, 0, 80, 20, dialog, nullptr, nullptr,
                  nullptr);

  skinner->SkinChildWindows(form->Handle());
  auto decisions = Decisions(*skinner);
  auto kindOf = [&](const wchar_t* name) {
    return decisions.count(name) ? decisions[name]->kind : std::wstring();
  };
  EXPECT_EQ(kindOf(L"tnt"), L"TSkinButton") << "over BUTTON";
  EXPECT_EQ(kindOf(L"plain"), L"TSkinButton") << "the tbutton row";
  EXPECT_EQ(kindOf(L"bit"), L"") << "owner-drawn";
  EXPECT_EQ(kindOf(L"edit"), L"TSkinEdit") << "over EDIT";
  EXPECT_EQ(kindOf(L"inner"), L"TSkinButton") << "a nested dialog's children are walked";
  EXPECT_EQ(kindOf(L"dialog"), L"TSkinBoxH");
  EXPECT_EQ(ui::ColorToRGB(panel->Color()),
            skin::ResolveColour(data->Records().Colours.ButtonFace));
  const size_t count = skinner->Controls().size();
  skinner->SkinChildWindows(form->Handle());
  EXPECT_EQ(skinner->Controls().size(), count);
}

}  // namespace
