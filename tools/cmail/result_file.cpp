#include "result_file.h"

namespace sendwerk::cmail {

ResultFile::ResultFile(FileSystem fileSystem, QString dosPath, QString secret)
    : fileSystem_(std::move(fileSystem)), dosPath_(std::move(dosPath)), secret_(std::move(secret)) {}

namespace {

// Far more than a report needs (server texts included), little enough for any disk.
constexpr qint64 kReservedBytes = 64 * 1024;

}  // namespace

Result<> ResultFile::reserve() {
    std::lock_guard lock(mutex_);
    return reserveLocked();
}

Result<> ResultFile::reserveLocked() {
    const QString native = fileSystem_.native(dosPath_);
    if (native.isEmpty())
        return Failure{QStringLiteral("%1: das Laufwerk steht nicht in der Einstellungsdatei").arg(dosPath_)};
    Result<std::unique_ptr<ReservedFile>> reserved = ReservedFile::reserve(native, kReservedBytes);
    if (!reserved) return Failure{reserved.cause()};
    reserved_ = std::move(*reserved);
    return {};
}

Result<> ResultFile::write(const SendReport& report) {
    std::lock_guard lock(mutex_);
    if (!written_) {
        written_ = true;
        outcome_ = reserved_ ? Result<>() : reserveLocked();
        if (outcome_) outcome_ = reserved_->commit(toJson(report, secret_));
    }
    return outcome_;
}

}  // namespace sendwerk::cmail
