// A message queue served by its own worker thread.
#pragma once

#include <windows.h>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

class IBrondelInterface {
 public:
  // Called on the queue's worker only, one message at a time, in posting order. data
  // points to the queue's copy and is valid during the call.
  virtual void OnQueueMessage(unsigned id, const void* data, unsigned length) = 0;

 protected:
  ~IBrondelInterface() = default;
};

// Posts are accepted only while the queue runs, from Start until Stop is called; a post
// before Start or after Stop is dropped (never delivered) and Post returns 0. A stopped
// queue may be started again.
class CBrondel {
 public:
  // The integer is reserved: every value behaves alike.
  explicit CBrondel(int reserved);
  // Stops the queue when it still runs. Not to be called from the sink.
  virtual ~CBrondel();
  CBrondel(const CBrondel&) = delete;
  CBrondel& operator=(const CBrondel&) = delete;

  // 1 = the worker runs (also when it ran already); 0 when no sink is set or the thread
  // cannot be created.
  virtual int Start();
  // Refuses further posts, lets the worker deliver everything posted before, waits for it
  // to end and returns. While waiting it still handles messages sent to the calling
  // thread's windows, so a sink may SendMessage to them. Called from the sink itself it
  // cannot wait: the worker then ends after the messages already queued.
  virtual void Stop();
  // Copies length bytes at data (data may be null when length is 0) and queues them.
  // 1 = queued; 0 = dropped (queue not running, data null with a length, out of memory).
  virtual int Post(unsigned id, const void* data, unsigned length);

  // The sink that receives the messages; set before Start.
  void SetSink(IBrondelInterface* sink);

 private:
  struct Message {
    unsigned id;
    std::vector<unsigned char> data;
  };

  void Run();
  void JoinWorker();

  IBrondelInterface* sink_ = nullptr;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Message> messages_;
  bool accepting_ = false;  // Start to Stop
  std::thread worker_;
  HANDLE worker_done_;  // set when the worker has delivered its last message
};
