#include "queue/testing/fake_mail_client.h"

#include "platform/clock.h"
#include "platform/code_page.h"
#include "platform/file_system.h"

namespace sendwerk::testing {

QByteArray ClientStart::value(const QByteArray& option) const {
    for (const QByteArray& argument : arguments)
        if (argument.startsWith(option)) return argument.mid(option.size());
    return {};
}

bool FakeMailClient::startDetached(const QString& dosProgram, const QList<QByteArray>& arguments) {
    const ClientStart start{dosProgram, arguments};
    const QByteArray results = start.value("-results:");
    if (results == "Fehlermail.result") {
        reportMails_.append(start);
        return true;
    }
    orderMails_.append(start);
    PlannedAnswer answer = PlannedAnswer::accepted();
    if (!planned_.empty()) {
        answer = planned_.front();
        planned_.pop_front();
    }
    if (!answer.starts) return false;
    if (!answer.result) return true;
    const QString path = decode1252(results);
    const QByteArray body = *answer.result;
    const FileSystem& files = files_;
    clock_.after(answer.afterSeconds, [&files, path, body] { files.writeWhole(path, body); });
    return true;
}

int FakeMailClient::runAndWait(const QString&, const QList<QByteArray>&, const std::function<void()>&) { return -1; }

}  // namespace sendwerk::testing
