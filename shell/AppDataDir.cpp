#include "shell/AppDataDir.h"

std::string AppDataDir;
