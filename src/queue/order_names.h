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

// The names of one order "…\CMail\Ausgang\Brief_123456_2024-07-15.ausg" (all DOS paths
// below the data root, except F and the three parts taken from the name).
struct OrderNames {
    QString F;                 // the file name as the listing gave it
    QString cMailAusName;      // the order in the outbox
    QString cMailResName;      // the mail client's result file in the outbox (".result")
    QString cMailFailName;     // the order filed in the failure folder
    QString cMailFailure;      // its result file in the failure folder (".result")
    QString cMailQuarantine;   // the order filed in the quarantine folder
    QString cAuftrag;          // the order number: the six characters before the last "_"
    QString cMailFormular;     // the name up to 18 characters after its first "_": in the usual form
                               // "Brief_123456_2024-07-15.ausg", the name without ".ausg"
    QString cMailForm;         // the form name: the name up to its first "_" ("Brief")
    QString cMailGesendet;     // the order in the archive, "…\CMail\gesendet\<cAuftrag>\<cMailForm>\"
    QString cMailResGesendet;  // its result file in the archive (".result")
    QString cMailAnhGesendet;  // the archive copy of its attachment (".pdf")
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
