// CShellManager: the application's shell manager, which MFC programs create at start-up and
// delete at the end. One at a time; AfxGetShellManager() names it while it lives.
#pragma once

class CShellManager {
 public:
  CShellManager();
  ~CShellManager();
  CShellManager(const CShellManager&) = delete;
  CShellManager& operator=(const CShellManager&) = delete;
};

// The shell manager that lives now, or null.
CShellManager* AfxGetShellManager();
