#include "skin/controls/SkinControls.h"

#include "skin/controls/SkinBitButton.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinMenuButton.h"
#include "skin/controls/SkinSpeedButton.h"
#include "skin/forms/ControlWrapper.h"

namespace skin {

namespace {

template <typename T>
TControlWrapper* Make(ui::TComponent* owner) {
  return new T(owner);
}

}  // namespace

void RegisterSkinControls() {
  RegisterWrapperClass(L"TSkinButton", &Make<TSkinButton>);
  RegisterWrapperClass(L"TSkinBitButton", &Make<TSkinBitButton>);
  RegisterWrapperClass(L"TSkinSpeedButton", &Make<TSkinSpeedButton>);
  RegisterWrapperClass(L"TSkinMenuButton", &Make<TSkinMenuButton>);
}

}  // namespace skin
