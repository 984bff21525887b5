#pragma once

#include <cstdint>

// 0: no cancel. The Cancel button sets -1, every conversion run sets 0 first; any other value
// counts as cancelled. Read and written on the user-interface thread only.
extern int32_t CancelRequested;

inline bool IsCancelRequested() { return CancelRequested != 0; }
