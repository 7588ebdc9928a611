// A byte FIFO. Not synchronised: callers that share one guard it with their own lock.
#pragma once

#include <deque>

struct tagStreamInfo {
  unsigned long ulDataLength;  // bytes held
};

class CTessikDataStream {
 public:
  // Appends the bytes; false when data is null while length is not 0, or memory runs out.
  bool InsertData(void* data, unsigned long length);
  // Copies up to length bytes from the front without removing them; returns the count.
  unsigned long QueryData(void* buffer, unsigned long length) const;
  // Removes up to length bytes from the front; returns how many were removed.
  unsigned long TellData(unsigned long length);
  void GetBurthenInfo(tagStreamInfo& info) const;

 private:
  std::deque<unsigned char> bytes_;
};
