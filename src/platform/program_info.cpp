#include "platform/program_info.h"

#include <cstdio>
#include <cstring>

namespace sendwerk {

QString versionLine(const char* program) {
    return QStringLiteral("%1 (Sendwerk) %2").arg(QString::fromUtf8(program), QStringLiteral(SENDWERK_VERSION));
}

bool answersHelpOrVersion(int argc, char** argv, const char* program, const char* usage) {
    if (argc != 2) return false;
    if (std::strcmp(argv[1], "--help") == 0) {
        std::fputs(usage, stdout);
    } else if (std::strcmp(argv[1], "--version") == 0) {
        std::printf("%s\n", versionLine(program).toUtf8().constData());
    } else {
        return false;
    }
    std::fflush(stdout);
    return true;
}

}  // namespace sendwerk
