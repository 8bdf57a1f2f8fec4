// What one headless send run did, order by order: told of every recipient's outcome as
// the queue files it, it prints one line per order when the order is done (unless
// quiet), and at the end the summary line and the exit status the run earns.
//
// An order counts by its worst recipient: a failure before a quarantine before a
// recipient without address; it is "gesendet" only when every recipient was sent. An
// order of the run's outbox that no recipient outcome reached (a file that could not
// be read, a run that stopped early) stays in the outbox and is counted as such; so
// does a list order whose run stopped before its last recipient.
// Single-threaded.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdio>

#include "queue/filing.h"
#include "queue/send_run.h"

namespace sendwerk::senden {

class OrderReport {
public:
    // `lines` receives the order lines; nullptr prints none.
    OrderReport(QStringList runOrders, std::FILE* lines);

    // The order's line is printed with its last recipient.
    void recipientFiled(const OrderNames& names, ListPosition position, FilingOutcome outcome,
                        const Recipient& recipient);
    // Prints the lines of the orders left behind (and of one cut short).
    void finish();

    // "12 Aufträge: 9 gesendet, 1 Fehler, 2 Quarantäne, 0 ohne Adresse" (and how many
    // stay in the outbox, when any do).
    QString summary() const;
    // 0 everything sent, 4 completed with orders not sent, 5 no connection data, 3 no
    // answer or no client, 2 anything else.
    int exitStatus(RunEnd end) const;

private:
    // From best to worst, so an order takes the largest kind of its recipients.
    enum class Kind { Sent, Left, NoAddress, Quarantine, Failure };
    struct RecipientLine {
        QString shown;
        Kind kind;
    };
    struct Order {
        QString name;
        QList<RecipientLine> recipients;
        bool printed = false;
        Kind kind() const;
    };

    static QString word(Kind kind);
    void print(Order& order) const;

    QStringList runOrders_;
    std::FILE* lines_;
    QList<Order> done_;
};

}  // namespace sendwerk::senden
