// For the queue's tests and benchmarks only: an in-process stand-in for the mail
// client. Each order mail (a start whose "-results:" is not the report mail's bare
// name) takes the next planned answer: a result text written at a chosen virtual time
// after the start, or none at all. Report mails are only recorded. Every start is kept
// with its argument vector, so tests can compare what the client was given.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <deque>
#include <optional>

#include "platform/process_starter.h"

namespace sendwerk {

class VirtualClock;
class FileSystem;

namespace testing {

inline const QByteArray kAccepted = R"({"status": "accepted"})";
inline const QByteArray kFailure = R"({"status": "failure"})";

struct PlannedAnswer {
    std::optional<QByteArray> result;  // nothing: the client never answers
    double afterSeconds = 0;
    bool starts = true;  // false: as if the program were missing

    static PlannedAnswer accepted(double after = 0) { return {kAccepted, after}; }
    static PlannedAnswer failure(double after = 0) { return {kFailure, after}; }
    static PlannedAnswer text(QByteArray body, double after = 0) { return {std::move(body), after}; }
    static PlannedAnswer never() { return {std::nullopt, 0}; }
    static PlannedAnswer missingProgram() { return {std::nullopt, 0, false}; }
};

struct ClientStart {
    QString program;
    QList<QByteArray> arguments;
    // The value of the argument that starts with `option` ("-to:"); empty when absent.
    QByteArray value(const QByteArray& option) const;
};

class FakeMailClient final : public ProcessStarter {
public:
    FakeMailClient(VirtualClock& clock, const FileSystem& files) : clock_(clock), files_(files) {}

    // Answers for the coming order mails, in order; when none is planned, "accepted" at once.
    void plan(PlannedAnswer answer) { planned_.push_back(std::move(answer)); }
    void plan(std::initializer_list<PlannedAnswer> answers) {
        for (const PlannedAnswer& a : answers) planned_.push_back(a);
    }

    bool startDetached(const QString& dosProgram, const QList<QByteArray>& arguments) override;
    int runAndWait(const QString& dosProgram, const QList<QByteArray>& arguments,
                   const std::function<void()>& whileWaiting = {}) override;

    const QList<ClientStart>& orderMails() const { return orderMails_; }
    const QList<ClientStart>& reportMails() const { return reportMails_; }

private:
    VirtualClock& clock_;
    const FileSystem& files_;
    std::deque<PlannedAnswer> planned_;
    QList<ClientStart> orderMails_;
    QList<ClientStart> reportMails_;
};

}  // namespace testing
}  // namespace sendwerk
