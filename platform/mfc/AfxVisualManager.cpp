#include "mfc/AfxVisualManager.h"

#include <utility>

namespace {

std::unique_ptr<CMFCVisualManager>& Instance() {
  static std::unique_ptr<CMFCVisualManager> instance;
  return instance;
}

}  // namespace

CMFCVisualManager* CMFCVisualManager::GetInstance() { return Instance().get(); }

void CMFCVisualManager::SetInstance(std::unique_ptr<CMFCVisualManager> manager) {
  Instance() = std::move(manager);
}
