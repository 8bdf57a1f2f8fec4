// Every file and folder name of one order, derived from its outbox file name F with the
// office's position rules. Positions are searched in the whole DOS path, data root
// included, exactly as the office's other programs expect the archive to be laid out.
//
// A name that gives no order number or form name (no underscore, fewer than six
// characters before the last one, an empty form name) or that cannot be written in
// Windows-1252 (the mail client gets its result path in that code page) is unusable:
// deriveOrderNames() returns nothing and the order must stay where it is.
#pragma once

#include <QString>

#include <optional>

namespace sendwerk {

struct OrderNames {
    QString F;  // the file name as the listing gave it
    QString cMailAusName;
    QString cMailResName;
    QString cMailFailName;
    QString cMailFailure;
    QString cMailQuarantine;
    QString cAuftrag;
    QString cMailFormular;
    QString cMailForm;
    QString cMailGesendet;
    QString cMailResGesendet;
    QString cMailAnhGesendet;
};

std::optional<OrderNames> deriveOrderNames(const QString& cDatver, const QString& F);

// The names of recipient n of a list: "-n" before the ".ausg" of the failure,
// quarantine and archive names (and so in their ".result" and ".pdf" forms). The outbox
// names stay as they are.
OrderNames withRecipientSuffix(const OrderNames& names, int n);

// `path` with its first ".ausg" (any letter case: the listing matches the extension
// that way) replaced by `replacement`.
QString replaceFirstExtension(const QString& path, const QString& replacement);

}  // namespace sendwerk
