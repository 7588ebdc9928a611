// Whether the machine is connected to the internet, through the Network List Manager.
#pragma once

// Network status bits of the IME service's system check.
constexpr int kNetworkDown = 4;

// 0 when connected, kNetworkDown when not. Counts as connected when the manager cannot be
// asked.
int CheckInternetConnection();
