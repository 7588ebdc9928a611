#pragma once

// connect's start-up: one instance, the application font, the main window and the event loop.
// Returns the process exit code.
int run_connect(int argc, char **argv);
