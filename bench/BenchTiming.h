#pragma once

#include <windows.h>

#include <algorithm>
#include <vector>

// What the GUI benchmarks share: a millisecond clock, this thread's CPU time, the median of
// a series, and handling every message that is waiting.
namespace bench {

inline double Now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// CPU time of this thread: less disturbed than the clock on a shared machine.
inline double ThreadCpu() {
  FILETIME created, exited, kernel, user;
  GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
  auto ms = [](FILETIME t) {
    return static_cast<double>(static_cast<unsigned long long>(t.dwHighDateTime) << 32 |
                               t.dwLowDateTime) /
           10000.0;
  };
  return ms(kernel) + ms(user);
}

inline double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Handles everything that is waiting, until nothing is.
inline void Drain() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  GdiFlush();
}

}  // namespace bench
