// A waveIn driver for tests: lists named devices and records a PCM fixture into the queued
// buffers on its own thread, with the WIM_OPEN / WIM_DATA / WIM_CLOSE callbacks of winmm.
// It refuses what winmm refuses (unprepared buffers, unpreparing or closing while the
// driver holds buffers) and counts such misuse.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "WaveInApi.h"

class FakeWaveInDriver {
 public:
  // Installs itself into the waveIn table until destroyed.
  FakeWaveInDriver(std::vector<std::wstring> deviceNames, std::vector<unsigned char> pcm);
  ~FakeWaveInDriver();
  FakeWaveInDriver(const FakeWaveInDriver&) = delete;
  FakeWaveInDriver& operator=(const FakeWaveInDriver&) = delete;

  // Result of the next waveInStart calls.
  void SetStartResult(MMRESULT result);
  // Time the driver thread takes before it hands back the buffers of a reset.
  void SetReturnDelay(DWORD ms);
  // Records the fixture again from its start at the next waveInStart.
  void Rewind();
  // Waits until the whole fixture has been recorded into buffers; false after the time-out.
  bool WaitForFixtureRecorded(std::chrono::milliseconds timeout = std::chrono::seconds(5));

  int OpenCount();
  UINT LastOpenedId();
  size_t PreparedHeaders();
  size_t HeldBuffers();
  int Misuse();

 private:
  static FakeWaveInDriver* current_;

  static UINT WINAPI GetNumDevs();
  static MMRESULT WINAPI GetDevCaps(UINT_PTR id, LPWAVEINCAPSW caps, UINT size);
  static MMRESULT WINAPI Open(LPHWAVEIN handle, UINT id, LPCWAVEFORMATEX format,
                              DWORD_PTR callback, DWORD_PTR instance, DWORD flags);
  static MMRESULT WINAPI PrepareHeader(HWAVEIN handle, LPWAVEHDR header, UINT size);
  static MMRESULT WINAPI UnprepareHeader(HWAVEIN handle, LPWAVEHDR header, UINT size);
  static MMRESULT WINAPI AddBuffer(HWAVEIN handle, LPWAVEHDR header, UINT size);
  static MMRESULT WINAPI Start(HWAVEIN handle);
  static MMRESULT WINAPI Stop(HWAVEIN handle);
  static MMRESULT WINAPI Reset(HWAVEIN handle);
  static MMRESULT WINAPI Close(HWAVEIN handle);

  bool IsOpenHandle(HWAVEIN handle);  // under mutex_; counts a foreign handle as misuse
  bool Holds(WAVEHDR* header);        // under mutex_
  void Run();
  void Callback(HWAVEIN handle, UINT message, WAVEHDR* header);
  bool RecordIntoFront();  // under mutex_; true when the front buffer is full

  std::vector<std::wstring> names_;
  std::vector<unsigned char> pcm_;

  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable recorded_;
  std::thread thread_;
  HWAVEIN handle_ = nullptr;
  HWAVEIN closingHandle_ = nullptr;
  DWORD_PTR callback_ = 0;
  DWORD_PTR instance_ = 0;
  bool pendingOpen_ = false;
  bool pendingClose_ = false;
  bool recording_ = false;
  size_t position_ = 0;
  std::deque<WAVEHDR*> queue_;      // added, not yet returned
  std::deque<WAVEHDR*> returning_;  // done, callback still to come
  std::set<WAVEHDR*> prepared_;
  MMRESULT startResult_ = MMSYSERR_NOERROR;
  DWORD returnDelayMs_ = 0;
  int openCount_ = 0;
  UINT lastOpenedId_ = 0;
  int misuse_ = 0;
};
