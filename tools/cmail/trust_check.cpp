#include "trust_check.h"

#include <vmime/security/cert/certificateChain.hpp>
#include <vmime/security/cert/certificateNotTrustedException.hpp>
#include <vmime/security/cert/serverIdentityException.hpp>

#include <gnutls/gnutls.h>
#include <gnutls/x509.h>

#include <memory>
#include <vector>

namespace sendwerk::cmail {

namespace {

struct TrustList {
    gnutls_x509_trust_list_t list = nullptr;
    TrustList() { gnutls_x509_trust_list_init(&list, 0); }
    ~TrustList() { gnutls_x509_trust_list_deinit(list, 1); }
};

struct Chain {
    std::vector<gnutls_x509_crt_t> certificates;
    ~Chain() {
        for (auto c : certificates) gnutls_x509_crt_deinit(c);
    }
};

QString statusText(unsigned status) {
    gnutls_datum_t out{};
    if (gnutls_certificate_verification_status_print(status, GNUTLS_CRT_X509, &out, 0) < 0)
        return QStringLiteral("status %1").arg(status);
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(out.data), int(out.size));
    gnutls_free(out.data);
    return text;
}

}  // namespace

TrustCheck::TrustCheck(QString caFile) : caFile_(std::move(caFile)) {}

void TrustCheck::reject(QString why, bool wrongHost) {
    problem_ = std::move(why);
    if (wrongHost) throw vmime::security::cert::serverIdentityException();
    throw vmime::security::cert::certificateNotTrustedException();
}

unsigned TrustCheck::check(const std::vector<gnutls_x509_crt_t>& peer, const std::string& hostname, bool systemStore) {
    TrustList trust;
    if (systemStore && gnutls_x509_trust_list_add_system_trust(trust.list, 0, 0) < 0 && caFile_.isEmpty())
        reject(QStringLiteral("Der Zertifikatsspeicher des Systems ist nicht lesbar"), false);
    if (!caFile_.isEmpty()) {
        const QByteArray path = caFile_.toLocal8Bit();
        if (gnutls_x509_trust_list_add_trust_file(trust.list, path.constData(), nullptr, GNUTLS_X509_FMT_PEM, 0, 0) <=
            0)
            reject(QStringLiteral("CA-Datei %1 enthält kein lesbares Zertifikat").arg(caFile_), false);
    }
    gnutls_typed_vdata_st checks[2] = {
        {GNUTLS_DT_DNS_HOSTNAME, reinterpret_cast<unsigned char*>(const_cast<char*>(hostname.c_str())), 0},
        {GNUTLS_DT_KEY_PURPOSE_OID, reinterpret_cast<unsigned char*>(const_cast<char*>(GNUTLS_KP_TLS_WWW_SERVER)), 0},
    };
    unsigned status = 0;
    const int rc = gnutls_x509_trust_list_verify_crt2(trust.list, const_cast<gnutls_x509_crt_t*>(peer.data()),
                                                      unsigned(peer.size()), checks, 2, 0, &status, nullptr);
    if (rc < 0)
        reject(QStringLiteral("Zertifikatsprüfung nicht möglich: %1").arg(QString::fromUtf8(gnutls_strerror(rc))),
               false);
    return status;
}

void TrustCheck::verify(vmime::shared_ptr<vmime::security::cert::certificateChain> chain,
                        const vmime::string& hostname) {
    problem_.clear();
    Chain peer;
    for (size_t i = 0; chain && i < chain->getCount(); ++i) {
        const vmime::byteArray der = chain->getAt(i)->getEncoded();
        gnutls_x509_crt_t certificate = nullptr;
        gnutls_x509_crt_init(&certificate);
        peer.certificates.push_back(certificate);
        const gnutls_datum_t datum{const_cast<unsigned char*>(der.data()), unsigned(der.size())};
        if (gnutls_x509_crt_import(certificate, &datum, GNUTLS_X509_FMT_DER) < 0)
            reject(QStringLiteral("Das Serverzertifikat ist nicht lesbar"), false);
    }
    if (peer.certificates.empty()) reject(QStringLiteral("Der Server hat kein Zertifikat gezeigt"), false);

    // The office's own CA alone first: loading the whole system store costs more than
    // the rest of a local send. What verifies against part of the trust verifies
    // against all of it, so the outcome is the same.
    unsigned status = GNUTLS_CERT_INVALID;
    if (!caFile_.isEmpty()) status = check(peer.certificates, hostname, false);
    if (status != 0 && (status & GNUTLS_CERT_UNEXPECTED_OWNER) == 0) status = check(peer.certificates, hostname, true);
    if (status != 0) {
        const bool wrongHost = (status & GNUTLS_CERT_UNEXPECTED_OWNER) != 0;
        reject(QStringLiteral("Serverzertifikat abgelehnt (%1): %2")
                   .arg(wrongHost ? QStringLiteral("ausgestellt für einen anderen Host als %1")
                                        .arg(QString::fromStdString(hostname))
                                  : QStringLiteral("nicht vertrauenswürdig"),
                        statusText(status).trimmed()),
               wrongHost);
    }
}

}  // namespace sendwerk::cmail
