// A throw-away CA and a server certificate for 127.0.0.1 it signed, as PEM files.
#pragma once

#include <string>

struct TestCertificates {
  std::string caPath;
  std::string certificatePath;
  std::string keyPath;
};

// Writes ca.pem, server.pem and server-key.pem into the folder.
TestCertificates MakeTestCertificates(const std::string& folder);
