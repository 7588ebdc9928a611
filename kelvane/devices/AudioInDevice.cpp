#include "AudioInDevice.h"

#include <chrono>
#include <vector>

#include "NameTables.h"
#include "TraceMessage.h"
#include "WaveInApi.h"
#include "tessik/TessikService.h"

namespace {

// A header and the data block it points at; the header's dwUser points back here.
struct WaveBuffer {
  explicit WaveBuffer(size_t size) : data(size) {
    header.lpData = data.data();
    header.dwBufferLength = static_cast<DWORD>(size);
    header.dwUser = reinterpret_cast<DWORD_PTR>(this);
  }
  WaveBuffer(const WaveBuffer&) = delete;
  WaveBuffer& operator=(const WaveBuffer&) = delete;
  WAVEHDR header{};
  std::vector<char> data;
};

WAVEFORMATEX SpeechFormat() {
  WAVEFORMATEX format{};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = 1;
  format.nSamplesPerSec = 16000;
  format.nAvgBytesPerSec = 32000;
  format.nBlockAlign = 2;
  format.wBitsPerSample = 16;
  return format;
}

}  // namespace

CAudioInDevice::CAudioInDevice(const ORVANE::Config::ConfigPb* settings, int bufferCount,
                               int framesPerBuffer)
    : CDevice(DT_Mic_General),
      settings_(settings),
      format_(SpeechFormat()),
      bufferCount_(bufferCount),
      framesPerBuffer_(framesPerBuffer),
      waveClosed_(CreateEventW(nullptr, TRUE, TRUE, nullptr)) {}

CAudioInDevice::~CAudioInDevice() {
  Close();
  CloseHandle(waveClosed_);
}

int CAudioInDevice::Open() {
  TraceMessage(kTraceNormal, L"Open Audio Device ...");
  if (!OpenWave()) {
    TraceMessage(kTraceError, L"Fail to open autio device.");
    return 0;
  }
  TraceMessage(kTraceNormal, L"Audio device opened successfully.");
  return 1;
}

int CAudioInDevice::OpenWave() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (working_ || handle_ != nullptr) {
      TraceMessage(kTraceError, L"AudioInDevice is working or in async finish mode, try later...");
      return 0;
    }
  }
  const std::wstring name =
      CTessikService::StringToWString(settings_->mic_config().device_descriptor().name());
  UINT id = 0;
  if (!FindDevice(name, &id)) {
    TraceMessage(kTraceError, L"CAudioInDevice Cannot find specific audio device named %s",
                 name.c_str());
    return 0;
  }
  TraceMessage(kTraceInfo, L"CAudioInDevice Specific audio device index:%d", id);

  HWAVEIN handle = nullptr;
  ResetEvent(waveClosed_);
  const MMRESULT opened =
      WaveIn().open(&handle, id, &format_, reinterpret_cast<DWORD_PTR>(&WaveInProc),
                    reinterpret_cast<DWORD_PTR>(this), CALLBACK_FUNCTION | WAVE_MAPPED);
  if (opened != MMSYSERR_NOERROR) {
    TraceMessage(kTraceError, L"waveInOpen return fail. error=%d", opened);
    return 0;
  }
  {
    // Working before the start: the first buffers may come back before waveInStart returns.
    std::lock_guard<std::mutex> lock(mutex_);
    handle_ = handle;
    working_ = 1;
  }
  for (int i = 0; i < bufferCount_; ++i) QueueNewBuffer(handle);

  const MMRESULT started = WaveIn().start(handle);
  if (started != MMSYSERR_NOERROR) {
    // The handle stays set: further opens are refused until Close.
    std::lock_guard<std::mutex> lock(mutex_);
    working_ = 0;
    TraceMessage(kTraceError, L"waveInStart return fail. error=%d", started);
    return 0;
  }
  return 1;
}

bool CAudioInDevice::FindDevice(const std::wstring& name, UINT* id) {
  const UINT count = WaveIn().getNumDevs();
  for (UINT i = 0; i < count; ++i) {
    WAVEINCAPSW caps{};
    if (WaveIn().getDevCaps(i, &caps, sizeof(caps)) != MMSYSERR_NOERROR) continue;
    if (name == caps.szPname) {
      *id = i;
      return true;
    }
  }
  return false;
}

void CAudioInDevice::QueueNewBuffer(HWAVEIN handle) {
  const DWORD size = static_cast<DWORD>(framesPerBuffer_) * format_.nBlockAlign;
  auto* buffer = new WaveBuffer(size);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    ++queued_;
  }
  if (QueueBuffer(handle, &buffer->header)) {
    TraceMessage(kTraceDebug, L"Add wave input buffer successfully. size=%d", size);
    return;
  }
  TraceMessage(kTraceError, L"Add wave input buffer fail. size=%d", size);
  FreeBuffer(handle, &buffer->header);
}

bool CAudioInDevice::QueueBuffer(HWAVEIN handle, WAVEHDR* header) {
  MMRESULT result = WaveIn().prepareHeader(handle, header, sizeof(WAVEHDR));
  if (result != MMSYSERR_NOERROR) {
    TraceMessage(kTraceError, L"waveInPrepareHeader return fail. error=%d", result);
    return false;
  }
  result = WaveIn().addBuffer(handle, header, sizeof(WAVEHDR));
  if (result != MMSYSERR_NOERROR) {
    TraceMessage(kTraceError, L"waveInAddBuffer return fail. error=%d", result);
    return false;
  }
  return true;
}

// Unprepares and frees a buffer the driver no longer holds, then counts it as returned.
void CAudioInDevice::FreeBuffer(HWAVEIN handle, WAVEHDR* header) {
  WaveIn().unprepareHeader(handle, header, sizeof(WAVEHDR));
  delete reinterpret_cast<WaveBuffer*>(header->dwUser);
  std::lock_guard<std::mutex> lock(mutex_);
  --queued_;
  buffersReturned_.notify_all();
}

void CALLBACK CAudioInDevice::WaveInProc(HWAVEIN handle, UINT message, DWORD_PTR instance,
                                         DWORD_PTR param1, DWORD_PTR) {
  auto* self = reinterpret_cast<CAudioInDevice*>(instance);
  switch (message) {
    case WIM_OPEN:
      self->NotifyOpened();
      break;
    case WIM_DATA:
      self->OnBufferReturned(handle, reinterpret_cast<WAVEHDR*>(param1));
      break;
    case WIM_CLOSE:
      self->OnWaveClosed();
      break;
  }
}

void CAudioInDevice::OnBufferReturned(HWAVEIN handle, WAVEHDR* header) {
  if (header->dwBytesRecorded > 0) {
    NotifyData(reinterpret_cast<unsigned char*>(header->lpData), header->dwBytesRecorded);
  }
  {
    // Close clears working under this lock before it resets the driver, so a buffer is
    // either queued again before the reset (which returns it) or freed here.
    std::lock_guard<std::mutex> lock(mutex_);
    if (working_) {
      header->dwBytesRecorded = 0;
      if (QueueBuffer(handle, header)) return;
    }
  }
  FreeBuffer(handle, header);
}

// The driver's last callback. Close may return, and the device go, as soon as the event
// is set, so nothing touches the device after that.
void CAudioInDevice::OnWaveClosed() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    handle_ = nullptr;
  }
  NotifyClosed();
  SetEvent(waveClosed_);
}

int CAudioInDevice::Close() {
  HWAVEIN handle;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!working_ && handle_ == nullptr) return 1;
    working_ = 0;
    handle = handle_;
  }
  WaveIn().stop(handle);
  WaveIn().reset(handle);
  if (!WaitForBuffers()) {
    TraceMessage(kTraceError, L"CAudioInDevice Wave input buffers not returned in time.");
  }
  WaveIn().close(handle);
  if (WaitForSingleObject(waveClosed_, kDriverReturnTimeoutMs) != WAIT_OBJECT_0) {
    TraceMessage(kTraceError, L"CAudioInDevice Wave input close not reported in time.");
  }
  std::lock_guard<std::mutex> lock(mutex_);
  handle_ = nullptr;
  return 1;
}

bool CAudioInDevice::WaitForBuffers() {
  std::unique_lock<std::mutex> lock(mutex_);
  return buffersReturned_.wait_for(lock, std::chrono::milliseconds(kDriverReturnTimeoutMs),
                                   [this] { return queued_ == 0; });
}

int CAudioInDevice::Check() {
  TraceMessage(kTraceError, L"CAudioInDevice AudioIn device check skipped.");
  return 1;
}
