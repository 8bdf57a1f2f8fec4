#include "mailserver/mail_server_fixture.h"

#include "support/temp_office.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QJsonDocument>

#include <stdexcept>

namespace sendwerk::testing {

namespace {

const QString serverDir = sourceDir() + QStringLiteral("/tests/mailserver");

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString stem(const QString& spool, int n) { return spool + QStringLiteral("/%1").arg(n, 4, 10, QChar('0')); }

}  // namespace

Certificates makeCertificates(const QString& folder) {
    QProcess script;
    script.setProcessChannelMode(QProcess::MergedChannels);
    script.start(QStringLiteral("/bin/bash"), {serverDir + "/make_cert.sh", folder});
    if (!script.waitForFinished(60000) || script.exitStatus() != QProcess::NormalExit || script.exitCode() != 0)
        throw std::runtime_error("make_cert.sh failed for " + folder.toStdString() + ": " +
                                 script.readAll().toStdString());
    return Certificates{folder};
}

QStringList tlsOptions(const Certificates& certificates, bool otherHost) {
    return {QStringLiteral("--cert"), otherHost ? certificates.otherCert() : certificates.serverCert(),
            QStringLiteral("--key"), otherHost ? certificates.otherKey() : certificates.serverKey()};
}

MailServer::MailServer(const QStringList& options) {
    if (!spool_.isValid()) throw std::runtime_error("MailServer: no temporary folder for the spool");
    readyFile_ = spool_.path() + "/ready";
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(QStringLiteral("/usr/bin/python3"),
                   QStringList{serverDir + "/smtp_server.py", "--host", "127.0.0.1", "--port", "0", "--spool",
                               spool_.path() + "/mail", "--ready-file", readyFile_} +
                       options);
    if (!process_.waitForStarted(10000))
        throw std::runtime_error("MailServer: /usr/bin/python3 smtp_server.py did not start: " +
                                 process_.errorString().toStdString());

    const QDeadlineTimer deadline(15000);
    while (!QFile::exists(readyFile_)) {
        if (deadline.hasExpired() || process_.state() == QProcess::NotRunning)
            throw std::runtime_error(
                "MailServer: smtp_server.py did not get ready (options: " + options.join(' ').toStdString() + ")");
        // Wakes on output or exit of the server, or after a short while at the latest.
        process_.waitForFinished(50);
    }
    port_ = readFile(readyFile_).trimmed().toInt();
    if (port_ <= 0) throw std::runtime_error("MailServer: no port in " + readyFile_.toStdString());
}

MailServer::~MailServer() {
    if (process_.state() == QProcess::NotRunning) return;
    process_.terminate();
    if (!process_.waitForFinished(5000)) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

int MailServer::messageCount() const {
    return int(QDir(spool_.path() + "/mail").entryList({QStringLiteral("*.eml")}, QDir::Files).size());
}

QByteArray MailServer::message(int n) const { return readFile(stem(spool_.path() + "/mail", n) + ".eml"); }

QJsonObject MailServer::envelope(int n) const {
    return QJsonDocument::fromJson(readFile(stem(spool_.path() + "/mail", n) + ".json")).object();
}

std::vector<ReceivedCommand> MailServer::commands() const {
    std::vector<ReceivedCommand> seen;
    for (const QByteArray& line : readFile(spool_.path() + "/mail/commands.jsonl").split('\n')) {
        const QJsonObject entry = QJsonDocument::fromJson(line).object();
        if (!entry.isEmpty()) seen.push_back({entry.value("command").toString(), entry.value("tls").toBool()});
    }
    return seen;
}

QJsonObject MailServer::decoded(int n) const {
    QProcess decoder;
    decoder.start(QStringLiteral("/usr/bin/python3"),
                  {serverDir + "/decode_mail.py", stem(spool_.path() + "/mail", n) + ".eml"});
    if (!decoder.waitForFinished(20000) || decoder.exitCode() != 0)
        throw std::runtime_error("decode_mail.py failed on message " + std::to_string(n) + ": " +
                                 decoder.readAllStandardError().toStdString());
    return QJsonDocument::fromJson(decoder.readAllStandardOutput()).object();
}

bool MailServer::waitForMessages(int count, std::chrono::milliseconds deadline) {
    const QDeadlineTimer until(deadline);
    while (messageCount() < count) {
        if (until.hasExpired()) return false;
        process_.waitForFinished(50);
    }
    return true;
}

}  // namespace sendwerk::testing
