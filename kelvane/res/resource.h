// Identifiers of Kelvane's resources.
#pragma once

#define IDR_MAINFRAME 128          // application icon
#define IDD_TRACE_DIALOG 130
#define IDB_CLOSE_BUTTON 133       // close button, four states
#define IDB_MODE_BUTTON_AI 135     // mode button while AI mode is shown
#define IDB_MODE_BUTTON 137        // mode button otherwise
#define IDI_TRAY_ONLINE 143
#define IDI_TRAY_OFFLINE 144
#define IDC_TRACE_CONSOLE 1000
