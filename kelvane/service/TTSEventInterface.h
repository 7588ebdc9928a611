// Told when a spoken text has ended (finished or cut off).
#pragma once

class ITTSEventInterface {
 public:
  virtual void OnSpeakEnd() = 0;

 protected:
  ~ITTSEventInterface() = default;
};
