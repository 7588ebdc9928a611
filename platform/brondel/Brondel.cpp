#include "brondel/Brondel.h"

CBrondel::CBrondel(int) : worker_done_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

CBrondel::~CBrondel() {
  Stop();
  CloseHandle(worker_done_);
}

void CBrondel::SetSink(IBrondelInterface* sink) {
  std::lock_guard<std::mutex> lock(mutex_);
  sink_ = sink;
}

int CBrondel::Start() {
  std::unique_lock<std::mutex> lock(mutex_);
  if (accepting_) return 1;
  if (sink_ == nullptr || worker_done_ == nullptr) return 0;
  if (worker_.joinable()) {
    // The worker of an earlier Stop may still be delivering: let it finish first.
    if (worker_.get_id() == std::this_thread::get_id()) return 0;
    lock.unlock();
    WaitForSingleObject(worker_done_, INFINITE);
    lock.lock();
    if (accepting_) return 1;
    JoinWorker();
  }
  ResetEvent(worker_done_);
  try {
    worker_ = std::thread(&CBrondel::Run, this);
  } catch (const std::system_error&) {
    return 0;
  }
  accepting_ = true;
  return 1;
}

void CBrondel::Stop() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    accepting_ = false;
  }
  wake_.notify_all();
  if (!worker_.joinable() || worker_.get_id() == std::this_thread::get_id()) return;
  // A sink may send to this thread's windows while we wait: keep handling sent messages.
  while (MsgWaitForMultipleObjects(1, &worker_done_, FALSE, INFINITE, QS_SENDMESSAGE) ==
         WAIT_OBJECT_0 + 1) {
    MSG ignored;
    PeekMessageW(&ignored, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
  std::lock_guard<std::mutex> lock(mutex_);
  JoinWorker();
}

int CBrondel::Post(unsigned id, const void* data, unsigned length) {
  if (data == nullptr && length != 0) return 0;
  Message message{id, {}};
  const auto* bytes = static_cast<const unsigned char*>(data);
  try {
    message.data.assign(bytes, bytes + length);
    std::lock_guard<std::mutex> lock(mutex_);
    if (!accepting_) return 0;
    messages_.push_back(std::move(message));
  } catch (const std::bad_alloc&) {
    return 0;
  }
  wake_.notify_one();
  return 1;
}

void CBrondel::Run() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return !messages_.empty() || !accepting_; });
    if (messages_.empty()) break;
    Message message = std::move(messages_.front());
    messages_.pop_front();
    IBrondelInterface* sink = sink_;
    lock.unlock();
    sink->OnQueueMessage(message.id, message.data.empty() ? nullptr : message.data.data(),
                         static_cast<unsigned>(message.data.size()));
    lock.lock();
  }
  SetEvent(worker_done_);
}

void CBrondel::JoinWorker() {
  if (worker_.joinable() && worker_.get_id() != std::this_thread::get_id()) worker_.join();
}
