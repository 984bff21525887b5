// The form reader: classes by name, properties by name, nesting, binary values, loading.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ui/ExtCtrls.h"
#include "ui/Form.h"
#include "ui/FormReader.h"
#include "ui/Menus.h"
#include "ui/StdCtrls.h"

using namespace ui;

namespace {

// A component registered from outside the framework, with a binary property.
class TProbe : public TComponent {
  VELMO_DECLARE_CLASS
 public:
  using TComponent::TComponent;
  std::vector<uint8_t> stream;
  std::wstring label;
  int loadedCalls = 0;
  std::wstring labelAtLoaded;
  void SetLabel(const std::wstring& v) { label = v; }
  std::wstring Label() const { return label; }
  void Loaded() override {
    TComponent::Loaded();
    ++loadedCalls;
    labelAtLoaded = label;
    // Every other component of the layout has its properties by now.
    auto* edit = dynamic_cast<TEdit*>(Owner()->FindComponent(L"Edit1"));
    editTextAtLoaded = edit ? edit->Caption() : L"<none>";
  }
  std::wstring editTextAtLoaded;
};

const TClassInfo& TProbe::StaticClass() {
  static TClassInfo info(L"TProbe", &TComponent::StaticClass());
  static const bool published = [] {
    info.Text<TProbe>(L"Label", &TProbe::Label, &TProbe::SetLabel);
    TPropInfo stream(L"Stream", TPropKind::Binary);
    stream.setBinary = [](TPersistent& o, std::span<const uint8_t> bytes) {
      static_cast<TProbe&>(o).stream.assign(bytes.begin(), bytes.end());
    };
    info.Add(std::move(stream));
    return true;
  }();
  (void)published;
  return info;
}

class TTestForm : public TForm {
 public:
  using TForm::TForm;
  int clicks = 0;
  TNotifyEvent MethodAddress(std::wstring_view name) override {
    if (name == L"ButtonClick") return [this](TPersistent&) { ++clicks; };
    return {};
  }
};

const wchar_t* kLayout =
    LR"(object Form1: TTestForm
  Caption = 'Form ' + 'One'#20013
  Width = 320
  Height = 240
  object Panel1: TTntPanel
    Align = alClient
    object Button1: TTntButton
      Left = 8
      Top = 10
      Caption = '按钮'
      Font.Style = [fsBold]
      Font.Color = clRed
      PopupMenu = Menu1
      OnClick = ButtonClick
    end
  end
  object Probe1: TProbe
    Label = 'first'
    Stream = {0A0B 0c
      0D}
  end
  object Edit1: TEdit
    Text = 'late'
  end
  object Combo1: TComboBox
    Items = (
      'a'
      '')
    ItemIndex = 1
  end
  object Menu1: TTntPopupMenu
    object N1: TTntMenuItem
      Caption = 'x'
      ShortCut = 46
    end
  end
  object Skin1: TNotRegistered
    Active = True
    Data = {0102}
    Lines = (
      'a=b')
  end
end
)";

TEST(FormReader, CreatesNestsAndSetsEverythingByName) {
  RegisterComponentClass(TProbe::StaticClass(), [](TComponent* o) { return new TProbe(o); });
  TTestForm form(nullptr);
  ReadComponent(form, kLayout);
  EXPECT_EQ(form.Name(), L"Form1");
  EXPECT_EQ(form.Caption(), L"Form One中");
  auto* panel = dynamic_cast<TTntPanel*>(form.FindComponent(L"Panel1"));
  auto* button = dynamic_cast<TTntButton*>(form.FindComponent(L"Button1"));
  ASSERT_TRUE(panel && button);
  EXPECT_EQ(panel->Parent(), &form);
  EXPECT_EQ(button->Parent(), panel);
  EXPECT_EQ(button->Owner(), &form);
  EXPECT_EQ(button->Caption(), L"按钮");
  EXPECT_EQ(button->Font()->Style(), fsBold);
  EXPECT_EQ(button->Font()->Color(), 0x0000FF);
  EXPECT_EQ(button->PopupMenu(), form.FindComponent(L"Menu1"));
  button->Click();
  EXPECT_EQ(form.clicks, 1);
  auto* menu = dynamic_cast<TTntPopupMenu*>(form.FindComponent(L"Menu1"));
  ASSERT_EQ(menu->ItemList().size(), 1u);
  EXPECT_EQ(menu->ItemList()[0]->ShortCut(), 46);
  auto* combo = dynamic_cast<TComboBox*>(form.FindComponent(L"Combo1"));
  EXPECT_THAT(combo->Items(), testing::ElementsAre(L"a", L""));
  EXPECT_EQ(combo->ItemIndex(), 1);
}

TEST(FormReader, BinaryValuesAndLoadedComeAfterAllProperties) {
  RegisterComponentClass(TProbe::StaticClass(), [](TComponent* o) { return new TProbe(o); });
  TTestForm form(nullptr);
  ReadComponent(form, kLayout);
  auto* probe = dynamic_cast<TProbe*>(form.FindComponent(L"Probe1"));
  ASSERT_NE(probe, nullptr);
  EXPECT_THAT(probe->stream, testing::ElementsAre(0x0A, 0x0B, 0x0C, 0x0D));
  EXPECT_EQ(probe->loadedCalls, 1);
  EXPECT_EQ(probe->labelAtLoaded, L"first");
  EXPECT_EQ(probe->editTextAtLoaded, L"late");  // a later component was complete already
  EXPECT_FALSE(probe->Loading());
}

// The build keeps a layout's pictures and skin in resources of their own, named in the value.
TEST(FormReader, ABinaryValueMayNameAResourceOfTheProgram) {
  RegisterComponentClass(TProbe::StaticClass(), [](TComponent* o) { return new TProbe(o); });
  TTestForm form(nullptr);
  ReadComponent(form, L"object F: TTestForm\n  object P: TProbe\n    Stream = {@PROBE_STREAM}\n"
                      L"  end\nend\n");
  auto* probe = dynamic_cast<TProbe*>(form.FindComponent(L"P"));
  ASSERT_NE(probe, nullptr);
  EXPECT_THAT(probe->stream, testing::ElementsAre(0x0A, 0x0B, 0x0C, 0x0D));
}

TEST(FormReader, AnUnregisteredClassIsAnInertPlaceholder) {
  TTestForm form(nullptr);
  ReadComponent(form, kLayout);
  auto* inert = dynamic_cast<TInertComponent*>(form.FindComponent(L"Skin1"));
  ASSERT_NE(inert, nullptr);
  EXPECT_EQ(inert->ClassName(), L"TNotRegistered");
  EXPECT_TRUE(inert->InheritsFrom(L"TComponent"));
  EXPECT_EQ(inert->Values().at(L"Active"), L"True");
  EXPECT_EQ(inert->Values().at(L"Data"), L"<2 bytes>");
}

TEST(FormReader, ABadLayoutIsRefusedWithItsLine) {
  struct Case {
    const wchar_t* layout;
    const char* message;
  };
  const Case cases[] = {
      {L"object F: TTestForm\n  Nonsense = 1\nend\n", "line 2: unknown property Nonsense"},
      {L"object F: TTestForm\n  Width = 'wide'\nend\n", "line 2: bad value for Width"},
      {L"object F: TTestForm\n  object B: TButton\n    OnClick = Missing\n  end\nend\n",
       "line 3: no method Missing"},
      {L"object F: TTestForm\n  object B: TButton\n    PopupMenu = Nowhere\n  end\nend\n",
       "no component named Nowhere"},
      {L"object F: TTestForm\n  Caption = 'open\nend\n", "line 2: unterminated string"},
      {L"object F: TTestForm\n  object P: TProbe\n    Stream = {ABC}\n  end\nend\n", "odd number"},
      // A full-width digit is no hexadecimal digit.
      {L"object F: TTestForm\n  object P: TProbe\n    Stream = {0\uFF11}\n  end\nend\n",
       "hexadecimal digit expected"},
      {L"object F: TTestForm\n  Width = 1\n", "has no end"},
      {L"object F: TTestForm\n  object P: TProbe\n    Stream = {@NO_SUCH}\n  end\nend\n",
       "line 3: no resource NO_SUCH"},
      {L"object F: TTestForm\n  object P: TProbe\n    Stream = {@}\n  end\nend\n", "no resource"},
      {L"object F: TTestForm\n  object P: TProbe\n    Stream = {@PROBE_STREAM\n",
       "unterminated binary value"},
  };
  RegisterComponentClass(TProbe::StaticClass(), [](TComponent* o) { return new TProbe(o); });
  for (const Case& c : cases) {
    TTestForm form(nullptr);
    try {
      ReadComponent(form, c.layout);
      ADD_FAILURE() << "accepted: " << c.message;
    } catch (const EReadError& e) {
      EXPECT_THAT(e.what(), testing::HasSubstr(c.message));
    }
  }
}

}  // namespace
