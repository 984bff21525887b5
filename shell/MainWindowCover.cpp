#include <memory>

#include "convert/ConversionRun.h"
#include "convert/EncoderRunner.h"
#include "convert/ProgressWindow.h"
#include "shell/AppDataDir.h"
#include "shell/MainWindow.h"

// The conversion run of the start button. One run object lives as long as the program, so
// that a press delivered while a run is still ending is recognised and ignored.
void TTntForm1::cover(const std::string& key) {
  if (!TntForm2) return;
  static std::unique_ptr<ConversionRun> run;
  if (!run)
    run = std::make_unique<ConversionRun>(
        *this, *TntForm2, ConversionEnvironment{ProgramFolder(), AppDataDir, {}, {}});
  run->Convert(key);
}
