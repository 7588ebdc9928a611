#include "mfc/AfxShellManager.h"

namespace {

CShellManager* g_shellManager = nullptr;

}  // namespace

CShellManager::CShellManager() { g_shellManager = this; }

CShellManager::~CShellManager() {
  if (g_shellManager == this) g_shellManager = nullptr;
}

CShellManager* AfxGetShellManager() { return g_shellManager; }
