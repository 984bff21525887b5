#include <windows.h>

#include <memory>

#include "convert/ProgressWindow.h"
#include "shell/AppDataDir.h"
#include "shell/MainWindow.h"
#include "shell/SingleInstance.h"
#include "skin/controls/SkinControls.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinManagerLink.h"
#include "skin/forms/SkinManage.h"
#include "ui/Application.h"
#include "ui/FormReader.h"

namespace {

// Opened before the program's main sequence and closed after it, as module set-up would.
SingleInstance& Instance() {
  static SingleInstance instance;
  return instance;
}

struct ModuleLifetime {
  ModuleLifetime() { Instance().Open(); }
  ~ModuleLifetime() {
    Instance().Close();
    AppDataDir.clear();
  }
} moduleLifetime;

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  ui::TApplication& application = ui::Application();
  application.Initialize();
  if (Instance().CheckRunningInstance(application.Handle())) {
    // Another copy runs and has been brought forward: end without showing a window.
    application.Terminate();
    return 0;
  }
  application.SetTitle(L"Velmo转换 - 独立版");
  // The main window's layout carries the skin component; the reader must know its class.
  TSkinData::RegisterClass();
  // The skin component of the layout creates the control manager, which skins every window.
  TSkinManage::Register();
  // Every control wrapper class, for the form skinners to wrap child controls with.
  skin::RegisterSkinControls();
  std::unique_ptr<TTntForm1> mainForm;
  std::unique_ptr<TTntForm2> progressForm;
  try {
    mainForm = std::make_unique<TTntForm1>(nullptr);
    progressForm = std::make_unique<TTntForm2>(nullptr, mainForm.get());
  } catch (const ui::EReadError& error) {
    MessageBoxA(nullptr, error.what(), "Velmo", MB_ICONERROR);
    return 1;
  }
  TntForm2 = progressForm.get();
  application.Run();
  // The windows are given back before the forms (and their skin) go.
  skin::DestroySkinManager();
  TntForm2 = nullptr;
  return 0;
}
