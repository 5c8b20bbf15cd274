#pragma once
// The page fetch lets the window handle what is already queued before each
// read of the body. The window layer fills the hook at start-up; tests fill
// it with their own. Without a hook, nothing happens.

namespace vorlakin {

using PendingMessagePump = void (*)();
void SetPendingMessagePump(PendingMessagePump pump);

// Dispatches the messages already queued for the GUI thread, without
// waiting for more.
void ProcessPendingMessages();

}  // namespace vorlakin
