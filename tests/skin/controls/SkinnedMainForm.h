#pragma once

#include <memory>

#include "shell/MainWindow.h"

// The program's main form made as the program makes it: the skin's classes are registered
// first, so that the skin data and the manager in its layout come up with it.
namespace controltest {

std::unique_ptr<TTntForm1> MakeSkinnedMainForm();
// Destroys the form, then the manager its layout made, so that the next test starts with none.
void EndSkinnedMainForm(std::unique_ptr<TTntForm1>& form);

}  // namespace controltest
