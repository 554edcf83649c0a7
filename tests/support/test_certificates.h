#pragma once

#include <filesystem>
#include <string>

#include "raw_server.h"

namespace quill::testing {

struct TestCertificates {
    std::string authorityFile; // the authority's certificate, for a client to trust
    TlsIdentity server;        // a server certificate that authority signed
};

// A new certificate authority and a server certificate for `subjectAltName` (such as
// "IP:127.0.0.1") signed by it, written as PEM files into `directory`. Empty names on failure.
TestCertificates MakeTestCertificates(const std::filesystem::path& directory,
                                      const std::string& subjectAltName = "IP:127.0.0.1");

} // namespace quill::testing
