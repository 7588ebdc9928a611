// Identifiers of Kelvane's resources.
#pragma once

#define IDR_MAINFRAME 128          // application icon
#define IDD_KELVANE_DIALOG 102      // the main panel
#define IDD_TRACE_DIALOG 130
#define IDB_CLOSE_BUTTON 133       // close button, four states
#define IDB_MODE_BUTTON_AI 135     // mode button while AI mode is shown
#define IDB_MODE_BUTTON 137        // mode button otherwise
#define IDI_TRAY_ONLINE 143
#define IDI_TRAY_OFFLINE 144
#define IDC_TRACE_CONSOLE 1000
#define IDC_SPECTRUM 1003
#define IDC_AI_ANIMATION 1004
#define IDC_RECOGNITION_BAR 1005
#define IDC_CLOSE_BUTTON 1007
#define IDC_MODE_BUTTON 1008
#define IDC_STATUS_LINE 1009
#define IDC_STATUS_TEXT 1010
#define IDC_NETWORK_ICON 1011
#define IDC_REPLY_LINE 1012
