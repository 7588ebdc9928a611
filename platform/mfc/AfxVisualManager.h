// CMFCVisualManager: the look the MFC controls draw with. The program names the kind it
// wants once at start-up; Kelvane's own windows draw themselves (Skivra).
#pragma once

#include <memory>

class CMFCVisualManager {
 public:
  virtual ~CMFCVisualManager() = default;

  // Makes a visual manager of this kind the default one.
  template <typename Manager>
  static void SetDefaultManager() {
    SetInstance(std::make_unique<Manager>());
  }
  // The default visual manager; null until one is set.
  static CMFCVisualManager* GetInstance();

 private:
  static void SetInstance(std::unique_ptr<CMFCVisualManager> manager);
};

// The look of the Windows version the program runs on.
class CMFCVisualManagerWindows : public CMFCVisualManager {};
