#pragma once

// The name behind connect's application-data folder, the same for every executable name.
void set_application_name();

// connect's start-up: the application name, one instance, the application font, the main
// window and the event loop. Returns the process exit code.
int run_connect(int argc, char **argv);
