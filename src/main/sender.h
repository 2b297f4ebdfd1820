#pragma once
// The sender thread: takes output events from its thread queue, in order, and
// injects them with SendInput, remembering what it holds down so that it can
// release everything at the end.

#include <windows.h>

#include <atomic>
#include <cstdint>

#include "layers/keys.h"

namespace quillon {

// Set once, by either thread, when output can no longer be queued or injected:
// from then on the hook passes everything and the program is on its way out.
extern std::atomic<std::int32_t> stopping;
// The thread that owns the hooks and the message loop.
extern DWORD hookOwner;
// The sender's thread id; 0 while there is no sender.
extern DWORD senderId;

// The engine's output: queues one event for the sender. A failed post stops
// the program through its message loop.
void emit(KeyCode code, bool down);

DWORD WINAPI sendLoop(void* unused);
// Injects the release of `code`; the result is ignored.
void sendOutput(KeyCode code);

// Starts the sender and waits until its queue exists; false on failure.
bool startSender();
// Tells the sender to quit, waits for it a bounded time and closes its handles.
void stopSender();

}  // namespace quillon
