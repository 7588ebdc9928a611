#pragma once

// The UI side of start-up and shut-down, run on the UI thread around its loop.

// Opens the skin archive, starts the UI framework and shows the settings window, whose
// closing posts WM_QUIT.
void OpenSkinAndShowSettingsWindow();

// Closes the skin archive and shuts the framework's render factory, fonts and GDI+ down.
void CloseSkinAndShutDownFramework();
