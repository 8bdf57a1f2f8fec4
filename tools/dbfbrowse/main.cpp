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
#include "widgets/event_queue.h"
#include "widgets/tone.h"

namespace {

void say(const QString& text) { std::fprintf(stderr, "dbfbrowse: %s\n", text.toLocal8Bit().constData()); }

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QStringList arguments = app.arguments().mid(1);
    const bool readOnly = arguments.removeAll(QStringLiteral("--read-only")) > 0;
    if (arguments.size() != 1 || arguments[0].startsWith(QLatin1String("--"))) {
        say(QStringLiteral("Aufruf: dbfbrowse DATEI [--read-only]"));
        return 2;
    }
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
