#include "ui/ComApartment.h"

#include <windows.h>
// after windows.h
#include <objbase.h>

namespace ui {

namespace {

struct Apartment {
  DWORD thread = GetCurrentThreadId();
  // A thread already in an apartment keeps it (the call then only counts up).
  HRESULT entered = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  ~Apartment() {
    if (SUCCEEDED(entered) && GetCurrentThreadId() == thread) CoUninitialize();
  }
};

}  // namespace

void UseComApartment() { static Apartment apartment; }

}  // namespace ui
