#include "shell/AppDataDir.h"

std::wstring AppDataDir;
