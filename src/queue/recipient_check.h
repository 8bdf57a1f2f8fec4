// The recipient check of one order recipient: the whitelist test on the recipient as
// written, then the placeholders "Email" and "Notiz" resolved from the order table
// `best` (index `xauftrnr`, work area 1, opened and closed for each lookup), then the
// address test ("@" required). The resolved address itself is not tested against the
// whitelist. A missing order table or index throws dbf::DbfError naming the file.
// GUI thread (it uses the work areas).
#pragma once

#include <QByteArray>
#include <QString>

namespace sendwerk {

class Whitelist;
namespace dbf {
class WorkAreas;
}

enum class Verdict { Quarantine, NoAddress, Send };

struct RecipientResult {
    Verdict verdict = Verdict::Quarantine;
    QByteArray address;  // the resolved recipient (as written when nothing was resolved)
};

struct OrderRecord {
    QByteArray ansp_ktoi;
    QByteArray notiz;
};

// The record of order `cAuftrag` (its numeric value, right-aligned in 6 characters, as
// the key); empty fields when the order is not in the table. The selected work area is
// left as it was.
OrderRecord lookUpOrder(dbf::WorkAreas& areas, const QString& orderTableFolder, const QString& cAuftrag);

// The address after `marker` in the note, up to the next CR, blanks trimmed; empty when
// no CR follows. `found` tells whether the marker was there.
QByteArray addressAfterMarker(const QByteArray& note, bool listElement, bool& found);

RecipientResult checkRecipient(const QByteArray& recipient, const QString& cAuftrag, bool listElement,
                               const Whitelist& whitelist, dbf::WorkAreas& areas, const QString& orderTableFolder);

}  // namespace sendwerk
