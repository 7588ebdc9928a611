// Identifiers of Kelvane's resources.
#pragma once

#define IDD_TRACE_DIALOG 130
#define IDC_TRACE_CONSOLE 1000
