// Runs one converter command line through the converter's own watcher and reports what its
// progress display saw, for the end-to-end driver (frontend_e2e.py):
//   WatchRunner <program folder> <key> <resolution | keep> <source> <output folder> [fallback]
// prints "exit N", "report 0|1" (the end-of-run report was read), "max N" and
// "positions P1 P2 ..." on standard output.
#include <windows.h>
// needs windows.h first
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "convert/CommandLine.h"
#include "convert/EncoderRunner.h"
#include "tests/doubles/BarModel.h"
#include "ui/CodePage.h"

using RecordingDisplay = BarModel<>;

int main() {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (count < 6) {
    std::fprintf(stderr,
                 "usage: WatchRunner folder key resolution|keep source outfolder [fallback]\n");
    return 2;
  }
  std::vector<std::string> args;
  for (int i = 0; i < count; ++i) args.push_back(ui::WideToAnsi(wide[i], CP_ACP));
  LocalFree(wide);
  std::string resolution = args[3] == "keep" ? std::string(kKeepResolution) : args[3];
  bool fallback = count > 6 && args[6] == "fallback";
  CommandLine line = BuildCommandLine({args[2], resolution, args[4], args[5], args[1]});
  std::string text = fallback ? RewriteForFallback(line.text) : line.text;
  WatchMode mode = args[2] == "avi" ? WatchMode::Mencoder
                   : fallback       ? WatchMode::FallbackFfmpeg
                                    : WatchMode::PrimaryFfmpeg;
  RecordingDisplay display;
  WatchResult result = RunAndWatch(text, SW_HIDE, mode, display);
  std::printf("exit %d\nreport %d\nmax %d\npositions", static_cast<int>(result.exitCode),
              result.endReported ? 1 : 0, display.CurrentMax());
  for (int position : display.positions) std::printf(" %d", position);
  std::printf("\n");
  return 0;
}
