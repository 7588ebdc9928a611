#include "KelvaneNotice.h"

#include <windows.h>

NoticeOutcome NotifyKelvaneOfNewSettings() {
  HWND kelvane = FindWindowW(nullptr, L"Kelvane_MainWnd");
  if (!kelvane) return NoticeOutcome::kNoKelvane;
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(kelvane, kSettingsChangedMessage, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                             kKelvaneNoticeTimeoutMs, &result)
             ? NoticeOutcome::kDelivered
             : NoticeOutcome::kNotAnswered;
}
