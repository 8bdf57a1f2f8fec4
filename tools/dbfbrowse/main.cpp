// dbfbrowse FILE [--read-only]: any dBASE table of the office in the table browser
// window, with the same editing rules as the send log's; --read-only refuses every
// write. Exit status 0 when the window was closed, 1 when the table cannot be opened,
// 2 for a wrong call or a runtime error (its message names the file and the cause).
#include <QApplication>
#include <QFileInfo>

#include <cstdio>
#include <exception>

#include "browse/entry_settings.h"
#include "browse/table_browser.h"
#include "dbf/work_areas.h"
#include "platform/dos_path.h"
#include "platform/program_info.h"
#include "widgets/event_queue.h"
#include "widgets/tone.h"

namespace {

const char* const kUsage =
    "usage: dbfbrowse TABLE [--read-only]\n"
    "Shows a dBASE table of the office (TABLE.DBF, with its DBT memo file) in the table\n"
    "browser window, where every cell can be corrected in place; --read-only refuses every\n"
    "write. Exit status: 0 window closed, 1 the table cannot be opened, 2 wrong call or\n"
    "runtime error.\n";

void say(const QString& text) { std::fprintf(stderr, "dbfbrowse: %s\n", text.toLocal8Bit().constData()); }

}  // namespace

int main(int argc, char** argv) {
    if (sendwerk::answersHelpOrVersion(argc, argv, "dbfbrowse", kUsage)) return 0;
    // A wrong call is refused before the window system is asked for, so it needs no display.
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments.append(QString::fromLocal8Bit(argv[i]));
    const bool readOnly = arguments.removeAll(QStringLiteral("--read-only")) > 0;
    if (arguments.size() != 1 || arguments[0].startsWith(QLatin1String("--"))) {
        say(QStringLiteral("Aufruf: dbfbrowse DATEI [--read-only] (--help erklärt mehr)"));
        return 2;
    }
    QApplication app(argc, argv);
    try {
        using namespace sendwerk;
        EventQueue events;
        DesktopTone tone;
        EntrySettings entry(events, std::ref(tone));
        dbf::WorkAreas areas{PathResolver()};
        BrowserContext context{events, areas, entry, {}, readOnly};
        const QString file = QFileInfo(arguments[0]).absoluteFilePath();
        const Result<void> shown = EditBrowX(context, file, QFileInfo(file).fileName());
        if (!shown) {
            say(QString(shown.cause()).replace(QLatin1String("\n\n"), QLatin1String(": ")));
            return 1;
        }
        return 0;
    } catch (const std::exception& error) {
        say(QString::fromLocal8Bit(error.what()));
        return 2;
    }
}
