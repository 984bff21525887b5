#pragma once

namespace ui {

// Enters the user-interface thread into a single-threaded COM apartment at the first use of
// anything that needs COM (the folder browser, the open dialog) and keeps it until the program
// ends: shell extensions those dialogs load outlive them, and an apartment ended after each
// dialog would be pulled from under them. Call it on the user-interface thread only.
void UseComApartment();

}  // namespace ui
