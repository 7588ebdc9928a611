// The general microphone: a waveIn device chosen by its product name, 16 kHz mono 16-bit.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <condition_variable>
#include <mutex>
#include <string>

#include "Device.h"
#include "config.pb.h"

class CAudioInDevice : public CDevice {
 public:
  // The settings are not owned; the microphone name is read from them at each Open.
  explicit CAudioInDevice(const ORVANE::Config::ConfigPb* settings, int bufferCount = 5,
                          int framesPerBuffer = 2048);
  ~CAudioInDevice() override;

  int Open() override;
  // Stops recording and waits, bounded, until the driver has returned every buffer and
  // reported the close; no data callback follows.
  int Close() override;
  int Write(const unsigned char* bytes, unsigned long length) override { return 0; }
  int Check() override;

 private:
  static constexpr DWORD kDriverReturnTimeoutMs = 3000;

  static void CALLBACK WaveInProc(HWAVEIN handle, UINT message, DWORD_PTR instance,
                                  DWORD_PTR param1, DWORD_PTR param2);
  void OnBufferReturned(HWAVEIN handle, WAVEHDR* header);
  void OnWaveClosed();

  int OpenWave();
  bool FindDevice(const std::wstring& name, UINT* id);
  void QueueNewBuffer(HWAVEIN handle);
  // Prepares and queues the header; false (logged) when the driver refuses it.
  bool QueueBuffer(HWAVEIN handle, WAVEHDR* header);
  void FreeBuffer(HWAVEIN handle, WAVEHDR* header);
  // Waits, bounded, until the driver has handed back every queued buffer.
  bool WaitForBuffers();

  int working_ = 0;
  const ORVANE::Config::ConfigPb* settings_;
  HWAVEIN handle_ = nullptr;
  WAVEFORMATEX format_;
  int bufferCount_;
  int framesPerBuffer_;
  int queued_ = 0;

  std::mutex mutex_;  // guards the members above against the waveIn thread
  std::condition_variable buffersReturned_;
  HANDLE waveClosed_;  // set once WIM_CLOSE has been handled
};
