#pragma once
// Start-up, the message loop and the window's event handlers.

namespace vorlakin {

class MainWindow;

// The whole program: prepares the toolkit, loads the window, runs the loop;
// the exit code is 0 once the window has been closed.
int RunProgram(int argc, char** argv);

// Fills the fatal-error and pending-message hooks of the core with the
// window layer's own: a modal message box, and a pump of the Qt queue.
void InstallUiHooks();

// Creates, fills and shows the window, centred and active, with the focus
// in the tracking-number box. A window that cannot be made is fatal.
void LoadMainWindow();

// Dispatches until the window has been closed; returns at once if it
// already has.
int RunMessageLoop();

// The window, for tests; null before LoadMainWindow.
MainWindow* TheMainWindow();

// Event handlers.
void OnMainWindowCreated();
void OnNumberBoxGotFocus();

}  // namespace vorlakin
