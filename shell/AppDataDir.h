#pragma once

#include <string>

// The current user's application-data folder without a trailing backslash; set when the main
// window is created, read by the conversion run for its batch file.
extern std::wstring AppDataDir;
