#include "tests/skin/controls/SkinnedMainForm.h"

#include "skin/controls/SkinControls.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinManagerLink.h"
#include "skin/forms/SkinManage.h"
#include "ui/Application.h"

namespace controltest {

std::unique_ptr<TTntForm1> MakeSkinnedMainForm() {
  ui::Application().Initialize();
  TSkinData::RegisterClass();
  TSkinManage::Register();
  skin::RegisterSkinControls();
  return std::make_unique<TTntForm1>(nullptr);
}

void EndSkinnedMainForm(std::unique_ptr<TTntForm1>& form) {
  form.reset();
  skin::DestroySkinManager();
  skin::SetSkinManagerFactory(nullptr);
}

}  // namespace controltest
