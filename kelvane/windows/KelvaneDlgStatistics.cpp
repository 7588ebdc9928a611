// Input counts: today and in total, kept in DataCenter.prototxt (binary encoding).
#include "KelvaneDlg.h"
#include "SettingsStore.h"

namespace {

std::string Today() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  char date[16];
  snprintf(date, sizeof date, "%04d-%02d-%02d", now.wYear, now.wMonth, now.wDay);
  return date;
}

}  // namespace

std::wstring CKelvaneDlg::StatisticsPath() const {
  return m_settingsFolder + L"\\" + kStatisticsFileName;
}

BOOL CKelvaneDlg::LoadStatistics() {
  LoadProtoFile(StatisticsPath(), &m_statistics, kProtoFileBinary);
  CountInput(0);
  SetTimer(kStatisticsTimer, kStatisticsMs);
  return TRUE;
}

BOOL CKelvaneDlg::CountInput(int n) {
  ORVANE::Config::WordStatistics* counts = m_statistics.mutable_word_statistics();
  const std::string today = Today();
  if (counts->date() != today) {
    counts->set_date(today);
    counts->set_today(0);
  }
  counts->set_total(counts->total() + n);
  counts->set_today(counts->today() + n);
  return TRUE;
}

void CKelvaneDlg::SaveStatistics() { SaveProtoFile(StatisticsPath(), m_statistics); }
