#include "FakeWaveInDriver.h"

#include <algorithm>
#include <chrono>
#include <cwchar>

FakeWaveInDriver* FakeWaveInDriver::current_ = nullptr;

FakeWaveInDriver::FakeWaveInDriver(std::vector<std::wstring> deviceNames,
                                   std::vector<unsigned char> pcm)
    : names_(std::move(deviceNames)), pcm_(std::move(pcm)) {
  current_ = this;
  WaveIn() = {GetNumDevs, GetDevCaps, Open,  PrepareHeader, UnprepareHeader,
              AddBuffer,  Start,      Stop,  Reset,         Close};
}

FakeWaveInDriver::~FakeWaveInDriver() {
  if (thread_.joinable()) thread_.join();
  WaveIn() = SystemWaveIn();
  current_ = nullptr;
}

void FakeWaveInDriver::SetStartResult(MMRESULT result) {
  std::lock_guard<std::mutex> lock(mutex_);
  startResult_ = result;
}

void FakeWaveInDriver::SetReturnDelay(DWORD ms) {
  std::lock_guard<std::mutex> lock(mutex_);
  returnDelayMs_ = ms;
}

void FakeWaveInDriver::Rewind() {
  std::lock_guard<std::mutex> lock(mutex_);
  position_ = 0;
}

bool FakeWaveInDriver::WaitForFixtureRecorded(std::chrono::milliseconds timeout) {
  std::unique_lock<std::mutex> lock(mutex_);
  return recorded_.wait_for(lock, timeout,
                            [this] { return position_ == pcm_.size(); });
}

int FakeWaveInDriver::OpenCount() {
  std::lock_guard<std::mutex> lock(mutex_);
  return openCount_;
}

UINT FakeWaveInDriver::LastOpenedId() {
  std::lock_guard<std::mutex> lock(mutex_);
  return lastOpenedId_;
}

size_t FakeWaveInDriver::PreparedHeaders() {
  std::lock_guard<std::mutex> lock(mutex_);
  return prepared_.size();
}

size_t FakeWaveInDriver::HeldBuffers() {
  std::lock_guard<std::mutex> lock(mutex_);
  return queue_.size() + returning_.size();
}

int FakeWaveInDriver::Misuse() {
  std::lock_guard<std::mutex> lock(mutex_);
  return misuse_;
}

UINT WINAPI FakeWaveInDriver::GetNumDevs() { return static_cast<UINT>(current_->names_.size()); }

MMRESULT WINAPI FakeWaveInDriver::GetDevCaps(UINT_PTR id, LPWAVEINCAPSW caps, UINT size) {
  if (id >= current_->names_.size() || size < sizeof(WAVEINCAPSW)) return MMSYSERR_BADDEVICEID;
  *caps = WAVEINCAPSW{};
  wcsncpy(caps->szPname, current_->names_[id].c_str(), MAXPNAMELEN - 1);
  caps->wChannels = 1;
  return MMSYSERR_NOERROR;
}

MMRESULT WINAPI FakeWaveInDriver::Open(LPHWAVEIN handle, UINT id, LPCWAVEFORMATEX format,
                                       DWORD_PTR callback, DWORD_PTR instance, DWORD flags) {
  FakeWaveInDriver& self = *current_;
  std::unique_lock<std::mutex> lock(self.mutex_);
  if (id >= self.names_.size()) return MMSYSERR_BADDEVICEID;
  if (format->nSamplesPerSec != 16000 || format->nChannels != 1 || format->wBitsPerSample != 16 ||
      (flags & CALLBACK_TYPEMASK) != CALLBACK_FUNCTION || self.handle_ != nullptr) {
    ++self.misuse_;
    return MMSYSERR_INVALPARAM;
  }
  lock.unlock();
  if (self.thread_.joinable()) self.thread_.join();
  lock.lock();
  ++self.openCount_;
  self.lastOpenedId_ = id;
  self.handle_ = reinterpret_cast<HWAVEIN>(static_cast<UINT_PTR>(0x5000 + self.openCount_));
  self.callback_ = callback;
  self.instance_ = instance;
  self.pendingOpen_ = true;
  self.pendingClose_ = false;
  self.recording_ = false;
  *handle = self.handle_;
  self.thread_ = std::thread(&FakeWaveInDriver::Run, &self);
  return MMSYSERR_NOERROR;
}

bool FakeWaveInDriver::IsOpenHandle(HWAVEIN handle) {
  if (handle != nullptr && handle == handle_) return true;
  ++misuse_;
  return false;
}

bool FakeWaveInDriver::Holds(WAVEHDR* header) {
  return std::find(queue_.begin(), queue_.end(), header) != queue_.end() ||
         std::find(returning_.begin(), returning_.end(), header) != returning_.end();
}

MMRESULT WINAPI FakeWaveInDriver::PrepareHeader(HWAVEIN handle, LPWAVEHDR header, UINT) {
  FakeWaveInDriver& self = *current_;
  std::lock_guard<std::mutex> lock(self.mutex_);
  if (!self.IsOpenHandle(handle)) return MMSYSERR_INVALHANDLE;
  self.prepared_.insert(header);
  header->dwFlags |= WHDR_PREPARED;
  return MMSYSERR_NOERROR;
}

MMRESULT WINAPI FakeWaveInDriver::UnprepareHeader(HWAVEIN handle, LPWAVEHDR header, UINT) {
  FakeWaveInDriver& self = *current_;
  std::lock_guard<std::mutex> lock(self.mutex_);
  if (!self.IsOpenHandle(handle)) return MMSYSERR_INVALHANDLE;
  if (self.Holds(header)) {
    ++self.misuse_;
    return WAVERR_STILLPLAYING;
  }
  self.prepared_.erase(header);
  header->dwFlags &= ~WHDR_PREPARED;
  return MMSYSERR_NOERROR;
}

MMRESULT WINAPI FakeWaveInDriver::AddBuffer(HWAVEIN handle, LPWAVEHDR header, UINT) {
  FakeWaveInDriver& self = *current_;
  std::lock_guard<std::mutex> lock(self.mutex_);
  if (!self.IsOpenHandle(handle)) return MMSYSERR_INVALHANDLE;
  if (self.prepared_.count(header) == 0 || self.Holds(header)) {
    ++self.misuse_;
    return WAVERR_UNPREPARED;
  }
  header->dwFlags = (header->dwFlags & ~WHDR_DONE) | WHDR_INQUEUE;
  header->dwBytesRecorded = 0;
  self.queue_.push_back(header);
  self.wake_.notify_all();
  return MMSYSERR_NOERROR;
}

MMRESULT WINAPI FakeWaveInDriver::Start(HWAVEIN handle) {
  FakeWaveInDriver& self = *current_;
  std::lock_guard<std::mutex> lock(self.mutex_);
  if (!self.IsOpenHandle(handle)) return MMSYSERR_INVALHANDLE;
  if (self.startResult_ != MMSYSERR_NOERROR) return self.startResult_;
  self.recording_ = true;
  self.wake_.notify_all();
  return MMSYSERR_NOERROR;
}

// Stops recording; a partly filled buffer comes back with what it holds.
MMRESULT WINAPI FakeWaveInDriver::Stop(HWAVEIN handle) {
  FakeWaveInDriver& self = *current_;
  std::lock_guard<std::mutex> lock(self.mutex_);
  if (!self.IsOpenHandle(handle)) return MMSYSERR_INVALHANDLE;
  self.recording_ = false;
  if (!self.queue_.empty() && self.queue_.front()->dwBytesRecorded > 0) {
    self.returning_.push_back(self.queue_.front());
    self.queue_.pop_front();
  }
  self.wake_.notify_all();
  return MMSYSERR_NOERROR;
}

// Hands back every queued buffer, later, on the driver thread.
MMRESULT WINAPI FakeWaveInDriver::Reset(HWAVEIN handle) {
  FakeWaveInDriver& self = *current_;
  std::lock_guard<std::mutex> lock(self.mutex_);
  if (!self.IsOpenHandle(handle)) return MMSYSERR_INVALHANDLE;
  self.recording_ = false;
  self.returning_.insert(self.returning_.end(), self.queue_.begin(), self.queue_.end());
  self.queue_.clear();
  self.wake_.notify_all();
  return MMSYSERR_NOERROR;
}

MMRESULT WINAPI FakeWaveInDriver::Close(HWAVEIN handle) {
  FakeWaveInDriver& self = *current_;
  std::lock_guard<std::mutex> lock(self.mutex_);
  if (!self.IsOpenHandle(handle)) return MMSYSERR_INVALHANDLE;
  if (!self.queue_.empty() || !self.returning_.empty()) {
    ++self.misuse_;
    return WAVERR_STILLPLAYING;
  }
  // The handle is gone at once; WIM_CLOSE follows on the driver thread.
  self.pendingClose_ = true;
  self.closingHandle_ = self.handle_;
  self.handle_ = nullptr;
  self.wake_.notify_all();
  return MMSYSERR_NOERROR;
}

bool FakeWaveInDriver::RecordIntoFront() {
  WAVEHDR* header = queue_.front();
  const size_t room = header->dwBufferLength - header->dwBytesRecorded;
  const size_t count = std::min(room, pcm_.size() - position_);
  std::copy_n(pcm_.begin() + position_, count, header->lpData + header->dwBytesRecorded);
  header->dwBytesRecorded += static_cast<DWORD>(count);
  position_ += count;
  recorded_.notify_all();
  return header->dwBytesRecorded == header->dwBufferLength;
}

void FakeWaveInDriver::Callback(HWAVEIN handle, UINT message, WAVEHDR* header) {
  if (header != nullptr) header->dwFlags = (header->dwFlags & ~WHDR_INQUEUE) | WHDR_DONE;
  auto proc = reinterpret_cast<void(CALLBACK*)(HWAVEIN, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR)>(
      callback_);
  proc(handle, message, instance_, reinterpret_cast<DWORD_PTR>(header), 0);
}

void FakeWaveInDriver::Run() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    const auto canRecord = [this] {
      return recording_ && !queue_.empty() && position_ < pcm_.size();
    };
    wake_.wait(lock, [&] {
      return pendingOpen_ || !returning_.empty() || pendingClose_ || canRecord();
    });
    if (pendingOpen_) {
      pendingOpen_ = false;
      const HWAVEIN handle = handle_;
      lock.unlock();
      Callback(handle, WIM_OPEN, nullptr);
    } else if (!returning_.empty()) {
      const DWORD delay = returnDelayMs_;
      lock.unlock();
      Sleep(delay);  // a slow driver
      lock.lock();
      WAVEHDR* header = returning_.front();
      returning_.pop_front();
      const HWAVEIN handle = handle_;
      lock.unlock();
      Callback(handle, WIM_DATA, header);
    } else if (canRecord()) {
      if (!RecordIntoFront()) continue;  // the fixture ran out; the rest comes back at reset
      WAVEHDR* header = queue_.front();
      queue_.pop_front();
      const HWAVEIN handle = handle_;
      lock.unlock();
      Callback(handle, WIM_DATA, header);
    } else {
      const HWAVEIN closed = closingHandle_;
      lock.unlock();
      Callback(closed, WIM_CLOSE, nullptr);
      return;
    }
    lock.lock();
  }
}
