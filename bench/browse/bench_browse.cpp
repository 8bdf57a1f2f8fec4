// The table browser over a send log of 1,000,000 records (written once into a temporary
// folder), on Qt's offscreen platform. Prints three figures:
// - opening: from the call of EditBrowX until the window has painted its last records;
// - the memory the open window adds to the process (resident set);
// - Ctrl+PgDn and Ctrl+PgUp: moving the cursor to the last or first record and painting,
//   the median of 20 of each.
// Goals: under 300 ms, under 30 MB, under 50 ms. Figures only; nothing is asserted.
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "browse/browse_view.h"
#include "browse/entry_settings.h"
#include "browse/table_browser.h"
#include "dbf/work_areas.h"
#include "queue/send_log.h"
#include "widgets/event_queue.h"

namespace {

using namespace sendwerk;

constexpr int kRecords = 1000000;

// Writes the records straight into the file: the engine's appends are built for one
// record at a time, with a lock and a sync each.
void makeSendLog(const QString& path) {
    dbf::Table::create(path, sendLogFields());
    QFile file(path);
    file.open(QIODevice::ReadWrite);
    QByteArray header = file.read(32);
    const int headerLength = quint8(header[8]) | quint8(header[9]) << 8;
    file.resize(headerLength);
    file.seek(headerLength);
    QByteArray chunk;
    for (int i = 1; i <= kRecords; ++i) {
        chunk += ' ' + QByteArray::number(100000 + i % 900000).leftJustified(6, ' ') + 'M' + "15.07.2024" + "12:00:00" +
                 QByteArray("Sterbefall").leftJustified(50, ' ') +
                 ("empfaenger" + QByteArray::number(i) + "@kunde.example").leftJustified(50, ' ');
        if (chunk.size() > (1 << 20)) {
            file.write(chunk);
            chunk.clear();
        }
    }
    file.write(chunk + '\x1A');
    const quint32 count = kRecords;
    file.seek(4);
    file.write(reinterpret_cast<const char*>(&count), 4);  // little-endian on this machine
}

double residentMegabytes() {
    QFile statm("/proc/self/statm");
    statm.open(QIODevice::ReadOnly);
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.value(1).toDouble() * 4096 / (1024 * 1024);
}

// Paints what the window shows now (rendered into a picture, as the offscreen platform
// may skip a repaint of a window that nobody sees).
void paintNow(BrowseView& view) {
    view.window()->repaint();
    (void)view.window()->grab();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.path() + "/LOG_SENDWERK.DBF";
    makeSendLog(path);

    EventQueue events;
    EntrySettings entry(events, {});
    dbf::WorkAreas areas{PathResolver()};
    BrowserContext context{events, areas, entry, {}, false};

    // One window first, so that what Qt sets up once per program is not counted.
    QTimer::singleShot(0, [&] { events.postEvent(event::Quit, 0, 0, nullptr); });
    EditBrowX(context, path);

    double openMs = 0, addedMb = 0;
    int firstShown = 0, lastShown = 0;
    std::vector<double> bottom, top;
    const double before = residentMegabytes();
    QElapsedTimer clock;
    QTimer::singleShot(0, [&] {
        BrowseView* view = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && (view = w->findChild<BrowseView*>()) != nullptr) break;
        paintNow(*view);
        openMs = clock.nsecsElapsed() / 1e6;
        firstShown = view->rowPos() + 1;
        addedMb = residentMegabytes() - before;
        for (int i = 0; i < 20; ++i) {
            QElapsedTimer move;
            move.start();
            view->goBottom();
            view->forceStable();
            paintNow(*view);
            bottom.push_back(move.nsecsElapsed() / 1e6);
            lastShown = view->rowPos() + 1;
            move.restart();
            view->goTop();
            view->forceStable();
            paintNow(*view);
            top.push_back(move.nsecsElapsed() / 1e6);
        }
        events.postEvent(event::Quit, 0, 0, nullptr);
    });
    clock.start();
    EditBrowX(context, path);

    std::printf("send log of %d records; opened on record %d, Ctrl+PgDn reached record %d\n", kRecords, firstShown,
                lastShown);
    std::printf("open until the last records are shown: %.1f ms (goal < 300 ms)\n", openMs);
    std::printf("memory the window adds: %.1f MB (goal < 30 MB)\n", addedMb);
    std::printf("Ctrl+PgDn (last record): %.2f ms median of 20 (goal < 50 ms)\n", median(bottom));
    std::printf("Ctrl+PgUp (first record): %.2f ms median of 20 (goal < 50 ms)\n", median(top));
    return 0;
}
