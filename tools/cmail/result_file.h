// The result file that the dispatcher waits for. Written once per run, atomically
// (temporary file in the same folder, then rename, through FileSystem::writeWhole), so
// the dispatcher never reads half a file. Thread-safe: the first write wins, which lets
// the watchdog and the main thread race without ever writing twice.
#pragma once

#include "send_report.h"

#include "platform/file_system.h"

#include <mutex>

namespace sendwerk::cmail {

class ResultFile {
public:
    // `dosPath` may be a DOS path ("C:\ZUMA\CMail\Ausgang\x.result") or a bare name,
    // which is relative to the working folder. `secret` never reaches the file.
    ResultFile(FileSystem fileSystem, QString dosPath, QString secret);

    // Writes `report` unless a report was written already; returns the outcome of the
    // first write.
    Result<> write(const SendReport& report);

    const QString& dosPath() const { return dosPath_; }

private:
    FileSystem fileSystem_;
    QString dosPath_;
    QString secret_;
    std::mutex mutex_;
    bool written_ = false;
    Result<> outcome_;
};

}  // namespace sendwerk::cmail
