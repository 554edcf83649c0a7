#include "test_certificates.h"

#include <atomic>
#include <memory>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>
#include <utility>
#include <vector>

namespace quill::testing {
namespace {

struct KeyFree {
    void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
struct CertificateFree {
    void operator()(X509* certificate) const { X509_free(certificate); }
};
struct ExtensionFree {
    void operator()(X509_EXTENSION* extension) const { X509_EXTENSION_free(extension); }
};
struct BioFree {
    void operator()(BIO* bio) const { BIO_free(bio); }
};
using Key = std::unique_ptr<EVP_PKEY, KeyFree>;
using Certificate = std::unique_ptr<X509, CertificateFree>;
using Extension = std::unique_ptr<X509_EXTENSION, ExtensionFree>;
using Bio = std::unique_ptr<BIO, BioFree>;
using Extensions = std::vector<std::pair<int, std::string>>;

constexpr long kValidBeforeSeconds = 3600;
constexpr long kValidForSeconds = 2 * 24 * 3600;

// The certificate's issuer; null for a self-signed one.
struct Issuer {
    X509* certificate = nullptr;
    EVP_PKEY* key = nullptr;
};

Key NewKey() {
    return Key(EVP_EC_gen("P-256"));
}

long NewSerial() {
    static std::atomic<long> next{1};
    return next++;
}

bool AddExtensions(X509* certificate, X509* issuer, const Extensions& extensions) {
    X509V3_CTX context;
    X509V3_set_ctx_nodb(&context);
    X509V3_set_ctx(&context, issuer, certificate, nullptr, nullptr, 0);
    for (const auto& [nid, value] : extensions) {
        const Extension extension(X509V3_EXT_conf_nid(nullptr, &context, nid, value.c_str()));
        if (!extension || X509_add_ext(certificate, extension.get(), -1) != 1) {
            return false;
        }
    }
    return true;
}

Certificate NewCertificate(EVP_PKEY* key, const char* commonName, Issuer issuer,
                           const Extensions& extensions) {
    Certificate certificate(X509_new());
    X509* made = certificate.get();
    X509_set_version(made, 2);
    ASN1_INTEGER_set(X509_get_serialNumber(made), NewSerial());
    X509_gmtime_adj(X509_getm_notBefore(made), -kValidBeforeSeconds);
    X509_gmtime_adj(X509_getm_notAfter(made), kValidForSeconds);
    X509_set_pubkey(made, key);
    X509_NAME* subject = X509_get_subject_name(made);
    X509_NAME_add_entry_by_txt(subject, "CN", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>(commonName), -1, -1, 0);
    const bool selfSigned = issuer.certificate == nullptr;
    X509_set_issuer_name(made, selfSigned ? subject : X509_get_subject_name(issuer.certificate));
    if (!AddExtensions(made, selfSigned ? made : issuer.certificate, extensions) ||
        X509_sign(made, selfSigned ? key : issuer.key, EVP_sha256()) == 0) {
        return nullptr;
    }
    return certificate;
}

bool WriteCertificate(const std::filesystem::path& file, X509* certificate) {
    const Bio bio(BIO_new_file(file.c_str(), "w"));
    return bio && PEM_write_bio_X509(bio.get(), certificate) == 1;
}

bool WriteKey(const std::filesystem::path& file, EVP_PKEY* key) {
    const Bio bio(BIO_new_file(file.c_str(), "w"));
    return bio &&
           PEM_write_bio_PrivateKey(bio.get(), key, nullptr, nullptr, 0, nullptr, nullptr) == 1;
}

} // namespace

TestCertificates MakeTestCertificates(const std::filesystem::path& directory,
                                      const std::string& subjectAltName) {
    const Key authorityKey = NewKey();
    const Key serverKey = NewKey();
    if (!authorityKey || !serverKey) {
        return {};
    }
    const Certificate authority = NewCertificate(authorityKey.get(), "Quillarch Test Authority", {},
                                                 {{NID_basic_constraints, "critical,CA:TRUE"},
                                                  {NID_key_usage, "critical,keyCertSign,cRLSign"},
                                                  {NID_subject_key_identifier, "hash"}});
    if (!authority) {
        return {};
    }
    const Certificate server = NewCertificate(serverKey.get(), "Quillarch Test Server",
                                              {authority.get(), authorityKey.get()},
                                              {{NID_basic_constraints, "CA:FALSE"},
                                               {NID_key_usage, "critical,digitalSignature"},
                                               {NID_ext_key_usage, "serverAuth"},
                                               {NID_subject_alt_name, subjectAltName},
                                               {NID_subject_key_identifier, "hash"},
                                               {NID_authority_key_identifier, "keyid"}});
    const auto authorityFile = directory / "authority.pem";
    const auto certificateFile = directory / "server.pem";
    const auto keyFile = directory / "server.key";
    if (!server || !WriteCertificate(authorityFile, authority.get()) ||
        !WriteCertificate(certificateFile, server.get()) || !WriteKey(keyFile, serverKey.get())) {
        return {};
    }
    return {authorityFile.string(), {certificateFile.string(), keyFile.string()}};
}

} // namespace quill::testing
