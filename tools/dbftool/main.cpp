// dbftool: look into and maintain the office's tables from a shell.
//   dbftool info T | dump T [--csv] | create T NAME:TYPE:WIDTH[:DEC]... |
//           append T NAME=VALUE... | index T X.ntx EXPR | seek T X.ntx KEY
// Exit 0 on success, 1 when seek finds nothing, 2 on an error (one line on stderr).
#include "commands.h"

#include <QString>

#include <cstdio>
#include <exception>

#include "platform/program_info.h"

namespace {

constexpr const char* usage =
    "usage: dbftool info T | dump T [--csv] | create T NAME:TYPE:WIDTH[:DEC]... | append T NAME=VALUE... | "
    "index T X.ntx EXPR | seek T X.ntx KEY\n";

constexpr const char* help =
    "usage: dbftool info TABLE\n"
    "       dbftool dump TABLE [--csv]\n"
    "       dbftool create TABLE NAME:TYPE:WIDTH[:DEC]...   (types C N D L M)\n"
    "       dbftool append TABLE NAME=VALUE...\n"
    "       dbftool index TABLE INDEX.ntx EXPRESSION\n"
    "       dbftool seek TABLE INDEX.ntx KEY\n"
    "       dbftool --help | --version\n"
    "Looks into and maintains the office's dBASE tables (DBF, DBT memos, NTX indexes).\n"
    "Text in and out is UTF-8, stored as Windows-1252. append refuses a value its field\n"
    "cannot hold and names the indexes beside the table that need \"dbftool index\" again.\n"
    "Exit status: 0 done, 1 seek found nothing, 2 error (one line on stderr).\n";

int run(const QStringList& args) {
    using namespace sendwerk::dbftool;
    const Output out = [](const QByteArray& bytes) { std::fwrite(bytes.constData(), 1, bytes.size(), stdout); };
    const QString command = args.value(0);
    const QString table = args.value(1);
    const qsizetype count = args.size();
    if (command == "info" && count == 2) return info(table, out);
    if (command == "dump" && (count == 2 || (count == 3 && args[2] == "--csv"))) return dump(table, count == 3, out);
    if (command == "create" && count >= 3) return create(table, args.mid(2), out);
    if (command == "append" && count >= 3) {
        const Notice notice = [](const QString& line) { std::fprintf(stderr, "%s\n", line.toUtf8().constData()); };
        return append(table, args.mid(2), out, notice);
    }
    if (command == "index" && count == 4) return index(table, args[2], args[3], out);
    if (command == "seek" && count == 4) {
        const int code = seek(table, args[2], args[3], out);
        if (code == 1)
            std::fprintf(stderr, "dbftool: %s: key \"%s\" not found\n", args[2].toUtf8().constData(),
                         args[3].toUtf8().constData());
        return code;
    }
    std::fputs(usage, stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (sendwerk::answersHelpOrVersion(argc, argv, "dbftool", help)) return 0;
    QStringList args;
    for (int i = 1; i < argc; ++i) args.append(QString::fromUtf8(argv[i]));
    try {
        return run(args);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "dbftool: %s\n", error.what());
        return 2;
    }
}
