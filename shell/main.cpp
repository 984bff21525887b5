#include <windows.h>

#include <memory>

#include "shell/MainWindow.h"
#include "skin/data/SkinData.h"
#include "ui/Application.h"
#include "ui/FormReader.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  ui::TApplication& application = ui::Application();
  application.Initialize();
  application.SetTitle(L"Velmo转换 - 独立版");
  // The main window's layout carries the skin component; the reader must know its class.
  TSkinData::RegisterClass();
  std::unique_ptr<TTntForm1> mainForm;
  try {
    mainForm = std::make_unique<TTntForm1>(nullptr);
  } catch (const ui::EReadError& error) {
    MessageBoxA(nullptr, error.what(), "Velmo", MB_ICONERROR);
    return 1;
  }
  application.Run();
  return 0;
}
