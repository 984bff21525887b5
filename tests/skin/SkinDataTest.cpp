#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "skin/data/BmpImage.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinManagerLink.h"
#include "skin/data/SkinPackageWriter.h"
#include "ui/CodePage.h"
#include "ui/FormReader.h"

namespace {

std::vector<std::uint8_t> OurSkinPayload() {
  std::ifstream in(VELMO_SKIN_STREAM, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// Records what the component asks of the control manager.
struct FakeManager : ISkinManager {
  std::vector<std::string>* log;
  int state = 0;
  explicit FakeManager(std::vector<std::string>* l) : log(l) {}
  void RegisterSkinData(TSkinData&) override { log->push_back("register"); }
  void UnregisterSkinData(TSkinData&) override { log->push_back("unregister"); }
  void InstallHook() override { log->push_back("hook"); }
  void SetPendingSkinData(TSkinData*) override { log->push_back("pending"); }
  void ScheduleCommand(int command, int delay) override {
    log->push_back("command " + std::to_string(command) + " in " + std::to_string(delay));
  }
  int State() const override { return state; }
  void SetState(int s) override {
    state = s;
    log->push_back("state " + std::to_string(s));
  }
  void SetEnabled(bool) override { log->push_back("enabled"); }
  void ReloadSkinData(TSkinData&) override { log->push_back("reload"); }
  bool SkinWindow(HWND) override { return true; }
};

class SkinDataTest : public ::testing::Test {
 protected:
  void SetUp() override {
    skin::DestroySkinManager();
    skin::SetSkinManagerFactory([this] { return std::make_unique<FakeManager>(&log); });
    TSkinData::OlderSkinNotice() = [this](const wchar_t* text) { notices.push_back(text); };
  }
  void TearDown() override {
    skin::DestroySkinManager();
    skin::SetSkinManagerFactory(nullptr);
  }
  // As the form reader makes it: loading, properties, then the completion notice.
  std::unique_ptr<TSkinData> Read(std::span<const std::uint8_t> stream, bool active = true) {
    auto data = std::make_unique<TSkinData>(nullptr);
    data->BeginLoading();
    data->SetPropText(L"Active", active ? L"True" : L"False");
    data->SetPropBinary(L"SkinStream", stream);
    data->Loaded();
    return data;
  }
  std::vector<std::string> log;
  std::vector<std::wstring> notices;
};

TEST_F(SkinDataTest, PropertiesHaveTheirValuesAtCreation) {
  TSkinData data(nullptr);
  EXPECT_EQ(data.GetPropText(L"Active"), L"False");
  EXPECT_EQ(data.GetPropInt(L"DisableTag"), 99);
  EXPECT_EQ(data.SkinControls(), 0x3FFFFFu & ~(Bit(xcMenuItem) | Bit(xcFastReport)));
  EXPECT_EQ(data.Options(), Bit(xoPreview) | Bit(xoToolbarBK));
  EXPECT_EQ(data.GetPropText(L"SkinFormtype"), L"sfMainform");
  EXPECT_EQ(data.GetPropText(L"SkinStore"), L"(none)");
  EXPECT_EQ(data.GetPropText(L"MenuUpdate"), L"True");
  EXPECT_EQ(data.GetPropText(L"MenuMerge"), L"False");
  data.SetPropText(L"Version", L"1.0");
  data.SetPropText(L"SkinStore", L"(Good)");
  EXPECT_EQ(data.GetPropText(L"Version"), L"4.94.12.01");
  EXPECT_EQ(data.GetPropText(L"SkinStore"), L"(none)");
  const auto lines = data.GetPropStrings(L"Skin3rd");
  EXPECT_EQ(lines.size(), 118u);
  EXPECT_EQ(std::set<std::wstring>(lines.begin(), lines.end()).size(), 115u);
  EXPECT_NE(std::find(lines.begin(), lines.end(), L"TPngSpeedbutton=pngspeedbutton"), lines.end());
  EXPECT_FALSE(data.SkinParsed());
  // The menu glyph strip is ours, built into the program.
  ASSERT_TRUE(data.MenuGlyphs());
  EXPECT_GT(ImageList_GetImageCount(data.MenuGlyphs()), 0);
}

TEST_F(SkinDataTest, StoredSkinIsParsedWhileTheLayoutIsRead) {
  const auto payload = OurSkinPayload();
  ASSERT_GT(payload.size(), 4u);
  auto data = std::make_unique<TSkinData>(nullptr);
  data->BeginLoading();
  data->SetPropBinary(L"SkinStream", payload);
  EXPECT_TRUE(data->SkinParsed());  // before loading completes
  EXPECT_FALSE(data->Records().Buttons->Bitmap.Empty());
  EXPECT_EQ(data->WriteSkinStream(), payload);
}

// The main window's layout as the build generates it, read by the real form reader.
TEST_F(SkinDataTest, MainWindowLayoutCarriesOurSkinAndTheComponentParsesIt) {
  std::ifstream in(VELMO_MAIN_LAYOUT, std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(in), {}};
  const std::size_t begin = text.find("object SkinData1: TSkinData");
  ASSERT_NE(begin, std::string::npos) << VELMO_MAIN_LAYOUT;
  // Its object ends at the first "end" on a line of its own indentation.
  const std::size_t end = text.find("\n  end", begin);
  ASSERT_NE(end, std::string::npos);
  const std::wstring block = ui::AnsiToWide(text.substr(begin, end - begin) + "\nend\n", CP_UTF8);
  TSkinData data(nullptr);
  ui::ReadComponent(data, block);
  EXPECT_EQ(data.Name(), L"SkinData1");
  EXPECT_TRUE(data.SkinParsed());
  EXPECT_TRUE(data.Active());
  EXPECT_EQ(data.WriteSkinStream(), OurSkinPayload());
  EXPECT_EQ(data.Skin3rd().size(), 117u);
  EXPECT_FALSE(data.SkinControls() & Bit(xcSpeedButton));
  EXPECT_EQ(data.Records().SkinName, "Velmo Calm Blue");
  EXPECT_EQ(log, (std::vector<std::string>{"register", "hook", "pending", "command 1 in 250"}));
}

TEST_F(SkinDataTest, ActiveMainFormWithASkinAsksTheManagerToSkinAll) {
  auto data = Read(OurSkinPayload());
  EXPECT_TRUE(data->Active());
  EXPECT_EQ(log, (std::vector<std::string>{"register", "hook", "pending", "command 1 in 250"}));
  EXPECT_FALSE(data->SkinControls() & Bit(xcMenuItem));
  EXPECT_TRUE(data->SkinControls() & Bit(xcSystemMenu));
  EXPECT_TRUE(data->CaptionFont());
  log.clear();
  data->SetActive(false);
  EXPECT_EQ(log, (std::vector<std::string>{"pending", "command 2 in 250"}));
  log.clear();
  data->SetActive(true);
  EXPECT_EQ(log, (std::vector<std::string>{"pending", "command 1 in 250", "state 1"}));
  log.clear();
  data->ApplySkinChange();
  EXPECT_EQ(log, (std::vector<std::string>{"pending", "reload", "command 3 in 250"}));
  log.clear();
  data.reset();
  EXPECT_EQ(log, (std::vector<std::string>{"unregister"}));
}

std::vector<std::uint8_t> Stored(const std::string& ini, const SkinPackageEntry& file) {
  const std::vector<SkinPackageEntry> files = {{"skin.ini", {ini.begin(), ini.end()}}, file};
  return FrameStoredSkin(StoreSkinPackage(BuildSkinPackage(files)));
}

// A skin whose one image declares 16384 x 2048 pixels (128 MiB once decoded).
std::vector<std::uint8_t> SkinWithAHugeImage() {
  std::vector<std::uint8_t> huge = EncodeBmp24({1, 1, {0}});
  for (int i = 0; i < 4; ++i) {
    huge[18 + i] = static_cast<std::uint8_t>(16384 >> (8 * i));
    huge[22 + i] = static_cast<std::uint8_t>(2048 >> (8 * i));
  }
  return Stored("[Buttons]\r\nBitmap=huge.bmp\r\n", {"huge.bmp", huge});
}

// A skin whose INI text is longer than a load takes (one megabyte of tiny lines).
std::vector<std::uint8_t> SkinWithAHugeIni() {
  std::string ini = "[Buttons]\r\n";
  while (ini.size() <= (1u << 20)) ini += "a=1\r\n";
  return Stored(ini, {"b.bmp", EncodeBmp24({1, 1, {0}})});
}

TEST_F(SkinDataTest, WithoutAParsedSkinActiveFallsBack) {
  const std::vector<std::uint8_t> cases[] = {
      {0, 0, 0, 0},                    // nothing stored
      {0xFF, 0xFF, 0xFF, 0xFF, 1, 2},  // negative length
      {100, 0, 0, 0, 1, 2, 3},         // longer than the layout holds
      FrameStoredSkin(StoreSkinPackage(BuildSkinPackage({}, 10000))),  // an older skin
      SkinWithAHugeImage(),  // beyond the load limits: refused as quietly as a damaged one
      SkinWithAHugeIni(),
  };
  for (const auto& stream : cases) {
    log.clear();
    auto data = Read(stream);
    EXPECT_FALSE(data->SkinParsed());
    EXPECT_FALSE(data->Active());
    EXPECT_EQ(log, (std::vector<std::string>{"register", "hook"}));
    skin::DestroySkinManager();
  }
  EXPECT_EQ(
      notices,
      (std::vector<std::wstring>{L"This is Older Skin File\rPlease update to new version !"}));
}

TEST_F(SkinDataTest, SkinControlsWithoutTheMainMenuLoseTheSystemMenu) {
  auto data = std::make_unique<TSkinData>(nullptr);
  data->BeginLoading();
  data->SetPropText(L"SkinControls", L"[xcPopupMenu,xcMenuItem,xcSystemMenu,xcButton]");
  data->Loaded();
  EXPECT_EQ(data->SkinControls(), Bit(xcPopupMenu) | Bit(xcMenuItem) | Bit(xcButton));
}

TEST_F(SkinDataTest, SkinFileIsLoadedAtRunTimeOnlyWhenItExists) {
  auto data = Read({}, false);
  const auto payload = OurSkinPayload();
  const auto path = std::filesystem::temp_directory_path() / L"velmo-skin-test.skn";
  {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(payload.data() + 4),
              static_cast<std::streamsize>(payload.size() - 4));
  }
  log.clear();
  data->SetSkinFile(path.wstring());
  EXPECT_TRUE(data->SkinParsed());
  EXPECT_EQ(log, (std::vector<std::string>{"pending", "reload"}));
  data->SetSkinFile(path.wstring() + L".missing");
  EXPECT_FALSE(data->SkinParsed());
  EXPECT_EQ(data->SkinFile(), path.wstring() + L".missing");
  data->SetSkinFile(path.parent_path().wstring());  // a folder is no skin file
  EXPECT_FALSE(data->SkinParsed());
  data->SetActive(true);  // nothing parsed: nothing scheduled
  EXPECT_EQ(log.back(), "reload");
  std::filesystem::remove(path);
}

TEST_F(SkinDataTest, AllowFormVetoesCalendarsAndReportWindowsUnlessTheEventDecides) {
  TSkinData data(nullptr);
  struct Case {
    const wchar_t* className;
    bool fastReport;
    bool expected;
  } cases[] = {{L"SysMonthCal32", false, false},
               {L"sysmonthcal32", false, true},
               {L"TfrPreview", false, true},
               {L"TfrPreview", true, false},
               {L"TForm1", true, true}};
  for (const Case& c : cases) {
    data.SetSkinControls(c.fastReport ? Bit(xcFastReport) : 0);
    bool doSkin = true;
    data.AllowForm(reinterpret_cast<HWND>(0x1234), c.className, doSkin);
    EXPECT_EQ(doSkin, c.expected) << c.className;
  }
  EXPECT_EQ(data.LastAskedWindow(), reinterpret_cast<HWND>(0x1234));
  data.OnFormSkin = [](TSkinData&, const std::wstring&, bool& doSkin) { doSkin = true; };
  bool doSkin = false;
  data.AllowForm(nullptr, L"SysMonthCal32", doSkin);
  EXPECT_TRUE(doSkin);
}

}  // namespace
