#pragma once
// The self-check of "--smoke-test": drives the built, hidden program's About
// box, icons, display names and settings window, and ends the run through
// the Exit command.

#include <windows.h>

namespace quillon {

// Runs every step on the program start-up built; true when all of them held.
// The last step posts Exit, so the message loop that follows ends the run.
bool selfCheck(HICON largeIcon);

}  // namespace quillon
