// Wall time of a conversion through a front-end (front-end + engine) against the engine alone
// with the very arguments the front-end gave it, both started as the converter starts an
// encoder (hidden, console output joined into one pipe that is read to its end).
//   FrontEndOverheadBench <program folder> <work folder> [seconds] [rounds]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "convert/CommandLine.h"
#include "tests/doubles/PipedChild.h"

namespace {

struct Result {
  DWORD exitCode = 1;
  std::string console;
  double seconds = 0;
};

Result Run(const std::string& commandLine) {
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  Result result;
  PipedChild child = StartPiped(commandLine, NORMAL_PRIORITY_CLASS);
  if (!child) return result;
  result.console = ReadUntilEnd(child, &result.exitCode);
  QueryPerformanceCounter(&end);
  result.seconds = double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
  return result;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: FrontEndOverheadBench <program folder> <work folder> [seconds] [rounds]\n");
    return 2;
  }
  std::string folder = argv[1], work = argv[2];
  int seconds = argc > 3 ? std::atoi(argv[3]) : 30;
  int rounds = argc > 4 ? std::atoi(argv[4]) : 3;
  std::string engine = folder + "\\engine\\ffmpeg.exe";
  std::string clip = work + "\\bench-clip.flv";
  Result made = Run("\"" + engine + "\" -nostdin -y -f lavfi -i testsrc=size=640x360:rate=25:duration=" +
                    std::to_string(seconds) + " -f lavfi -i sine=duration=" +
                    std::to_string(seconds) + " -c:v flv1 -c:a libmp3lame \"" + clip + "\"");
  if (made.exitCode != 0) {
    std::fprintf(stderr, "cannot make the clip:\n%s\n", made.console.c_str());
    return 1;
  }
  std::printf("build: %d-bit\n", static_cast<int>(8 * sizeof(void*)));
  std::printf("clip: 640x360 25 fps, %d s, FLV; median of %d rounds\n", seconds, rounds);
  SetEnvironmentVariableA("VELMO_SHOW_ENGINE_LINE", "1");
  for (const char* key : {"mp4", "3gp", "avi", "mp3"}) {
    std::string frontLine =
        BuildCommandLine({key, kKeepResolution, clip, work + "\\", folder}).text;
    // The engine's line is the first thing the front-end prints when asked to.
    Result shown = Run(frontLine);
    std::string engineLine = shown.console.substr(0, shown.console.find("\r\n"));
    if (shown.exitCode != 0 || engineLine.empty()) {
      std::fprintf(stderr, "%s failed:\n%s\n", key, shown.console.c_str());
      return 1;
    }
    std::vector<double> front, alone;
    for (int i = 0; i < rounds; ++i) {
      front.push_back(Run(frontLine).seconds);
      alone.push_back(Run(engineLine).seconds);
    }
    double f = Median(front), a = Median(alone);
    std::printf("%-4s front-end + engine %6.2f s   engine alone %6.2f s   ratio %.3f\n", key, f,
                a, f / a);
  }
  return 0;
}
