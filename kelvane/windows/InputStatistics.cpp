#include "InputStatistics.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <utility>

#include "SettingsStore.h"

namespace {

// A negative count (a damaged file) is taken as 0.
int32_t SaturatingAdd(int32_t count, int n) {
  const int64_t sum = int64_t{std::max(count, 0)} + std::max(n, 0);
  return static_cast<int32_t>(std::min<int64_t>(sum, std::numeric_limits<int32_t>::max()));
}

}  // namespace

std::string LocalDateText() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", now.wYear, now.wMonth, now.wDay);
  return text;
}

CInputStatistics::CInputStatistics(std::function<std::string()> today)
    : today_(std::move(today)) {}

void CInputStatistics::Load(const std::wstring& settingsFolder) {
  path_ = settingsFolder + L"\\DataCenter.prototxt";
  LoadProtoFile(path_, &data_, kProtoFileBinary);
  CountInput(0);
}

void CInputStatistics::CountInput(int n) {
  auto* words = data_.mutable_word_statistics();
  const std::string today = today_();
  if (words->date() != today) {
    words->set_date(today);
    words->set_today(0);
  }
  words->set_total(SaturatingAdd(words->total(), n));
  words->set_today(SaturatingAdd(words->today(), n));
}

bool CInputStatistics::Save() const { return !path_.empty() && SaveProtoFile(path_, data_); }

int CInputStatistics::Today() const { return data_.word_statistics().today(); }

int CInputStatistics::Total() const { return data_.word_statistics().total(); }
