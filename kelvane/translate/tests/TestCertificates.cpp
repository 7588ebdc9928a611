#include "TestCertificates.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <cstdio>
#include <memory>

namespace {

using Key = std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)>;
using Certificate = std::unique_ptr<X509, decltype(&X509_free)>;

void AddExtension(X509* certificate, X509* issuer, int nid, const char* value) {
  X509V3_CTX context;
  X509V3_set_ctx_nodb(&context);
  X509V3_set_ctx(&context, issuer, certificate, nullptr, nullptr, 0);
  X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, &context, nid, value);
  X509_add_ext(certificate, extension, -1);
  X509_EXTENSION_free(extension);
}

Certificate Issue(EVP_PKEY* key, const char* commonName, X509* issuer, EVP_PKEY* issuerKey,
                  long serial) {
  Certificate certificate(X509_new(), &X509_free);
  X509* c = certificate.get();
  X509_set_version(c, 2);
  ASN1_INTEGER_set(X509_get_serialNumber(c), serial);
  X509_gmtime_adj(X509_getm_notBefore(c), -3600);
  X509_gmtime_adj(X509_getm_notAfter(c), 86400);
  X509_set_pubkey(c, key);
  X509_NAME_add_entry_by_txt(X509_get_subject_name(c), "CN", MBSTRING_ASC,
                             reinterpret_cast<const unsigned char*>(commonName), -1, -1, 0);
  X509* signer = issuer != nullptr ? issuer : c;
  X509_set_issuer_name(c, X509_get_subject_name(signer));
  if (issuer == nullptr) {
    AddExtension(c, signer, NID_basic_constraints, "critical,CA:TRUE");
    AddExtension(c, signer, NID_key_usage, "critical,keyCertSign,cRLSign");
  } else {
    AddExtension(c, signer, NID_basic_constraints, "CA:FALSE");
    AddExtension(c, signer, NID_subject_alt_name, "DNS:127.0.0.1,IP:127.0.0.1");
  }
  X509_sign(c, issuerKey, EVP_sha256());
  return certificate;
}

void WritePem(const std::string& path, X509* certificate, EVP_PKEY* key) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return;
  if (certificate != nullptr) PEM_write_X509(file, certificate);
  if (key != nullptr) PEM_write_PrivateKey(file, key, nullptr, nullptr, 0, nullptr, nullptr);
  std::fclose(file);
}

}  // namespace

TestCertificates MakeTestCertificates(const std::string& folder) {
  Key caKey(EVP_EC_gen("P-256"), &EVP_PKEY_free);
  Key serverKey(EVP_EC_gen("P-256"), &EVP_PKEY_free);
  Certificate ca = Issue(caKey.get(), "Orvane Test CA", nullptr, caKey.get(), 1);
  Certificate server = Issue(serverKey.get(), "127.0.0.1", ca.get(), caKey.get(), 2);
  TestCertificates files{folder + "\\ca.pem", folder + "\\server.pem", folder + "\\server-key.pem"};
  WritePem(files.caPath, ca.get(), nullptr);
  WritePem(files.certificatePath, server.get(), nullptr);
  WritePem(files.keyPath, nullptr, serverKey.get());
  return files;
}
