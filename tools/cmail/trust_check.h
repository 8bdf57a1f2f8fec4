// Decides whether the server's TLS certificate is good enough to send a password
// through: the chain must verify against the system trust store plus the office's own
// CA file (settings file, [mail] cafile), and the certificate must be issued for the
// host name (or IP address) cmail connected to. vmime trusts nothing by default, so
// this is the verifier it gets. Fails closed: any doubt is a rejection.
//
// After a rejection, problem() says why in German, for the result file.
#pragma once

#include <vmime/security/cert/certificateVerifier.hpp>

#include <QString>

#include <gnutls/x509.h>

#include <string>
#include <vector>

namespace sendwerk::cmail {

class TrustCheck : public vmime::security::cert::certificateVerifier {
public:
    // `caFile` may be empty (system store only).
    explicit TrustCheck(QString caFile);

    void verify(vmime::shared_ptr<vmime::security::cert::certificateChain> chain,
                const vmime::string& hostname) override;

    const QString& problem() const { return problem_; }

private:
    [[noreturn]] void reject(QString why, bool wrongHost);
    // The gnutls verification status of `peer` against the CA file, plus the system
    // store when `systemStore`; 0 means good.
    unsigned check(const std::vector<gnutls_x509_crt_t>& peer, const std::string& hostname, bool systemStore);

    QString caFile_;
    QString problem_;
};

}  // namespace sendwerk::cmail
