#include "SettingsWindowStart.h"

// The skinned settings window and its framework are not part of the program yet: the
// UI loop runs without a window until WM_QUIT arrives.
void OpenSkinAndShowSettingsWindow() {}

void CloseSkinAndShutDownFramework() {}
