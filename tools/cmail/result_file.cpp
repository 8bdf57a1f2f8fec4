#include "result_file.h"

namespace sendwerk::cmail {

ResultFile::ResultFile(FileSystem fileSystem, QString dosPath, QString secret)
    : fileSystem_(std::move(fileSystem)), dosPath_(std::move(dosPath)), secret_(std::move(secret))
{
}

Result<> ResultFile::write(const SendReport& report)
{
    std::lock_guard lock(mutex_);
    if (!written_) {
        written_ = true;
        outcome_ = fileSystem_.writeWhole(dosPath_, toJson(report, secret_));
    }
    return outcome_;
}

}  // namespace sendwerk::cmail
