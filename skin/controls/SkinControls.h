#pragma once

namespace skin {

// Makes every wrapper class of this folder known to the classification by name; the program
// calls it once at start-up.
void RegisterSkinControls();

}  // namespace skin
