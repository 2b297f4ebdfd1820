#pragma once
// Start-up, single instance, the message loop and shutdown.

#include <windows.h>

namespace quillon {

// The id of "Brannock.Quillon.Open", which a second instance posts to the
// first; 0 until registered.
extern UINT reopen;

// A normal run, or the self-check with its own class name and an unnamed
// mutex; returns the exit code.
int run(bool smoke);

}  // namespace quillon
