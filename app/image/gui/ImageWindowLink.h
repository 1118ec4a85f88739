#pragma once
// The image window's side of the shell's seam.

namespace raylen {

// Registers the image window with the shell; the program calls it once at
// start-up, before the main window is created.
void registerImageWindow();

} // namespace raylen
