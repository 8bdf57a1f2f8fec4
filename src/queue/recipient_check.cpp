#include "queue/recipient_check.h"

#include "dbf/work_areas.h"
#include "platform/office_text.h"
#include "queue/whitelist.h"

namespace sendwerk {

namespace {

constexpr int kOrderTableArea = 1;

// The numeric value of the order number's leading digits, as the office's programs
// read it ("012345" is 12345, "12a456" is 12).
long orderNumberValue(const QString& cAuftrag) {
    const QString text = cAuftrag.trimmed();
    long value = 0;
    for (const QChar c : text) {
        if (c < '0' || c > '9') break;
        value = value * 10 + (c.unicode() - '0');
    }
    return value;
}

}  // namespace

OrderRecord lookUpOrder(dbf::WorkAreas& areas, const QString& orderTableFolder, const QString& cAuftrag) {
    const dbf::ScopedSelection selection(areas, kOrderTableArea);
    // The order table is open only for this look-up, also when an exception passes.
    struct CloseOnExit {
        dbf::WorkAreas& areas;
        ~CloseOnExit() {
            if (areas.isOpen(kOrderTableArea)) areas.close();
        }
    } closeOnExit{areas};
    areas.use(orderTableFolder + QStringLiteral("best"), dbf::ShareMode::Shared);
    areas.setIndex(orderTableFolder + QStringLiteral("xauftrnr.ntx"));
    dbf::Table& table = areas.current();
    const long value = orderNumberValue(cAuftrag);
    const bool found = table.indexIsNumeric() ? table.seek(double(value))
                                              : table.seek(QByteArray::number(qlonglong(value)).rightJustified(6, ' '));
    OrderRecord record;
    if (found) {
        record.ansp_ktoi = table.text(QStringLiteral("ansp_ktoi"));
        record.notiz = table.memo(QStringLiteral("notiz"));
    }
    return record;
}

QByteArray addressAfterMarker(const QByteArray& note, bool listElement, bool& found) {
    qsizetype at = -1;
    qsizetype markerSize = 0;
    if (listElement) {
        const QByteArray lower = lower1252(note);
        at = lower.indexOf("email:");
        markerSize = 6;
        if (at < 0) {
            at = lower.indexOf("e-mail:");
            markerSize = 7;
        }
    } else {
        at = note.indexOf("Email:");
        markerSize = 6;
    }
    found = at >= 0;
    if (!found) return {};
    const qsizetype start = at + markerSize;
    const qsizetype cr = note.indexOf('\r', start);
    if (cr < 0) return {};
    return withoutBlanks(note.mid(start, cr - start));
}

RecipientResult checkRecipient(const QByteArray& recipient, const QString& cAuftrag, bool listElement,
                               const Whitelist& whitelist, dbf::WorkAreas& areas, const QString& orderTableFolder) {
    if (!whitelist.passes(recipient)) return {Verdict::Quarantine, recipient};

    QByteArray address = recipient;
    if (recipient == "Email" || recipient == "Notiz") {
        const OrderRecord record = lookUpOrder(areas, orderTableFolder, cAuftrag);
        if (recipient == "Email") {
            address = withoutBlanks(record.ansp_ktoi);
        } else {
            bool found = false;
            const QByteArray fromNote = addressAfterMarker(record.notiz, listElement, found);
            if (found) address = fromNote;
        }
    }
    if (!address.contains('@')) return {Verdict::NoAddress, address};
    return {Verdict::Send, address};
}

}  // namespace sendwerk
