// Tells a running Kelvane that the settings file changed, so that it restarts its service.
#pragma once

constexpr unsigned kSettingsChangedMessage = 0x406;  // WM_USER + 6
constexpr unsigned kKelvaneNoticeTimeoutMs = 3000;

enum class NoticeOutcome { kNoKelvane, kDelivered, kNotAnswered };

// Sends the message to the top-level window titled "Kelvane_MainWnd" and waits for it to be
// handled; a hung Kelvane is given up on after kKelvaneNoticeTimeoutMs.
NoticeOutcome NotifyKelvaneOfNewSettings();
