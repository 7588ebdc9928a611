// waveIn devices as a test describes them, in place of the machine's, for the test's life.
#pragma once

#include <cwchar>
#include <string>
#include <vector>

#include "devices/WaveInApi.h"

class FakeWaveIn {
 public:
  explicit FakeWaveIn(std::vector<std::wstring> names) : saved_(WaveIn()) {
    Names() = std::move(names);
    WaveIn() = {&NumDevs, &DevCaps};
  }
  ~FakeWaveIn() { WaveIn() = saved_; }
  FakeWaveIn(const FakeWaveIn&) = delete;
  FakeWaveIn& operator=(const FakeWaveIn&) = delete;

 private:
  static std::vector<std::wstring>& Names() {
    static std::vector<std::wstring> names;
    return names;
  }
  static UINT WINAPI NumDevs() { return static_cast<UINT>(Names().size()); }
  static MMRESULT WINAPI DevCaps(UINT_PTR id, LPWAVEINCAPSW caps, UINT size) {
    if (id >= Names().size() || size != sizeof(WAVEINCAPSW)) return MMSYSERR_BADDEVICEID;
    *caps = WAVEINCAPSW{};
    wcsncpy(caps->szPname, Names()[id].c_str(), MAXPNAMELEN - 1);
    return MMSYSERR_NOERROR;
  }

  WaveInApi saved_;
};
