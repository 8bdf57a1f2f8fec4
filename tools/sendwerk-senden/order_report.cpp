#include "order_report.h"

#include <algorithm>
#include <map>

#include "platform/code_page.h"

namespace sendwerk::senden {

namespace {

QString shownRecipient(const Recipient& recipient) {
    const QString written = decode1252(recipient.written);
    const QString resolved = decode1252(recipient.resolved);
    if (resolved.isEmpty() || resolved == written) return written;
    return written + QStringLiteral(" → ") + resolved;
}

}  // namespace

OrderReport::OrderReport(QStringList runOrders, std::FILE* lines) : runOrders_(std::move(runOrders)), lines_(lines) {}

OrderReport::Kind OrderReport::Order::kind() const {
    Kind worst = Kind::Sent;
    for (const RecipientLine& r : recipients) worst = std::max(worst, r.kind);
    return worst;
}

QString OrderReport::word(Kind kind) {
    switch (kind) {
    case Kind::Sent: return QStringLiteral("gesendet");
    case Kind::Failure: return QStringLiteral("Fehler");
    case Kind::Quarantine: return QStringLiteral("Quarantäne");
    case Kind::NoAddress: return QStringLiteral("ohne Adresse");
    case Kind::Left: return QStringLiteral("bleibt im Ausgang");
    }
    return {};
}

void OrderReport::recipientFiled(const OrderNames& names, ListPosition position, FilingOutcome outcome,
                                 const Recipient& recipient) {
    Kind kind = Kind::Left;  // no clear result: the order stays where it is
    switch (outcome) {
    case FilingOutcome::Accepted: kind = Kind::Sent; break;
    case FilingOutcome::Failure: kind = Kind::Failure; break;
    case FilingOutcome::Quarantine: kind = Kind::Quarantine; break;
    case FilingOutcome::NoAddress: kind = Kind::NoAddress; break;
    case FilingOutcome::Neither: break;
    }
    if (done_.isEmpty() || done_.last().name != names.F) done_.append({names.F, {}});
    done_.last().recipients.append({shownRecipient(recipient), kind});
    if (!position.isList() || position.n == position.N) print(done_.last());
}

void OrderReport::finish() {
    // A list whose run stopped at one of its recipients did not leave the outbox.
    if (!done_.isEmpty() && !done_.last().printed) {
        done_.last().recipients.append({QString(), Kind::Left});
        print(done_.last());
    }
    for (const QString& name : runOrders_) {
        const bool reached = std::any_of(done_.cbegin(), done_.cend(), [&](const Order& o) { return o.name == name; });
        if (reached) continue;
        done_.append({name, {{QString(), Kind::Left}}});
        print(done_.last());
    }
}

void OrderReport::print(Order& order) const {
    order.printed = true;
    if (!lines_) return;
    QString line = order.name + QStringLiteral(": ") + word(order.kind());
    QStringList recipients;
    for (const RecipientLine& r : order.recipients) {
        if (r.shown.isEmpty()) continue;
        recipients << (order.recipients.size() > 1 ? r.shown + QLatin1Char(' ') + word(r.kind) : r.shown);
    }
    if (!recipients.isEmpty()) line += QStringLiteral(" (") + recipients.join(QStringLiteral(", ")) + QLatin1Char(')');
    std::fprintf(lines_, "%s\n", line.toUtf8().constData());
    std::fflush(lines_);
}

QString OrderReport::summary() const {
    std::map<Kind, int> count;
    for (const Order& order : done_) ++count[order.kind()];
    QString text = QStringLiteral("%1 Aufträge: %2 gesendet, %3 Fehler, %4 Quarantäne, %5 ohne Adresse")
                       .arg(done_.size())
                       .arg(count[Kind::Sent])
                       .arg(count[Kind::Failure])
                       .arg(count[Kind::Quarantine])
                       .arg(count[Kind::NoAddress]);
    if (count[Kind::Left] > 0) text += QStringLiteral(", %1 bleiben im Ausgang").arg(count[Kind::Left]);
    return text;
}

int OrderReport::exitStatus(RunEnd end) const {
    switch (end) {
    case RunEnd::EmptyOutbox: return 0;
    case RunEnd::Completed: {
        const bool allSent =
            std::all_of(done_.cbegin(), done_.cend(), [](const Order& o) { return o.kind() == Kind::Sent; });
        return allSent ? 0 : 4;
    }
    case RunEnd::NoConnectionData: return 5;
    case RunEnd::NoAnswer:
    case RunEnd::NoClient: return 3;
    case RunEnd::Busy: break;
    }
    return 2;
}

}  // namespace sendwerk::senden
