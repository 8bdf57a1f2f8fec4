// The result file that the dispatcher waits for. Written once per run, atomically
// (into space reserved beforehand under a temporary name in the same folder, then
// renamed: platform/reserved_file.h), so the dispatcher never reads half a file. Thread-safe: the first write wins,
// which lets the watchdog and the main thread race without ever writing twice.
#pragma once

#include "send_report.h"

#include "platform/file_system.h"
#include "platform/reserved_file.h"

#include <memory>
#include <mutex>

namespace sendwerk::cmail {

class ResultFile {
public:
    // `dosPath` may be a DOS path ("C:\ZUMA\CMail\Ausgang\x.result") or a bare name,
    // which is relative to the working folder. `secret` never reaches the file.
    ResultFile(FileSystem fileSystem, QString dosPath, QString secret);

    // Takes the file's space now, under its temporary name, before anything is sent:
    // once the server has the mail, a full disk must not keep the result from the
    // dispatcher (it would send the mail again in every run). The result's own name
    // still appears only with the final result.
    Result<> reserve();
    // Writes `report` into the reserved space (reserving it now if that was not done)
    // unless a report was written already; returns the outcome of the first write.
    Result<> write(const SendReport& report);

    const QString& dosPath() const { return dosPath_; }

private:
    FileSystem fileSystem_;
    QString dosPath_;
    QString secret_;
    std::mutex mutex_;
    std::unique_ptr<ReservedFile> reserved_;

    Result<> reserveLocked();
    bool written_ = false;
    Result<> outcome_;
};

}  // namespace sendwerk::cmail
