#include "shell/MainWindow.h"

// The conversion run replaces this file.
void TTntForm1::cover(const std::string& key) { (void)key; }
