#include "browse/table_browser.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

#include "browse/browse_view.h"
#include "browse/browsed_table.h"
#include "browse/edit_column.h"
#include "browse/entry_settings.h"
#include "dbf/work_areas.h"
#include "queue/send_log.h"
#include "widgets/event_queue.h"
#include "widgets/geometry.h"
#include "widgets/key_codes.h"

namespace sendwerk {

namespace {

const QSize kDialogSize{600, 400};
// Field types the grid cannot edit.
const QString kNoColumnTypes = QStringLiteral("BOVTXYM");

// The close box waits its turn in the queue and then ends the window's loop.
class StdDialog final : public QDialog {
public:
    StdDialog(EventQueue& events, QWidget* owner) : QDialog(owner), events_(events) {}

protected:
    void closeEvent(QCloseEvent* e) override {
        e->ignore();
        events_.postEvent(event::Quit, 0, 0, nullptr);
    }
    void reject() override { /* Esc reaches the window's loop as a key, not as a rejection */
    }

private:
    EventQueue& events_;
};

// The program's fixed work areas (1, 9 and 28) lie at or below the send log's: the
// window takes one above them, so a send run running meanwhile never closes it.
int areaOfItsOwn(const dbf::WorkAreas& areas) {
    int area = kSendLogArea + 1;
    while (areas.isOpen(area)) ++area;
    return area;
}

bool openForBrowsing(dbf::WorkAreas& areas, int area, const QString& name) {
    dbf::ScopedSelection selection(areas, area);
    // A second attempt catches a table that another workstation held for a moment.
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            if (areas.use(name, dbf::ShareMode::Shared, QStringLiteral("LOG"))) {
                dbf::Table& table = areas.current();
                table.goTo(std::max(1, table.recCount() - 15));
                return true;
            }
        } catch (const std::exception&) {
            // A table that cannot be read counts as not opened.
        }
    }
    return false;
}

void runWindowLoop(BrowserContext& context) {
    for (;;) {
        const Event e = context.events.nextEvent();
        if (e.number == event::Quit) return;
        if (e.number == event::Keyboard && e.mp1 == key::Escape) context.events.postEvent(event::Quit, 0, 0, nullptr);
        context.events.handEvent(e);
        if (context.afterEvent) context.afterEvent();
    }
}

// Closes the window's table however the window ends.
class AreaCloser {
public:
    AreaCloser(dbf::WorkAreas& areas, int area) : areas_(areas), area_(area) {}
    ~AreaCloser() {
        dbf::ScopedSelection selection(areas_, area_);
        areas_.close();
    }
    AreaCloser(const AreaCloser&) = delete;
    AreaCloser& operator=(const AreaCloser&) = delete;

private:
    dbf::WorkAreas& areas_;
    int area_;
};

}  // namespace

QPoint CenterPos(QSize aSize, QSize aRefSize) {
    return {(aRefSize.width() - aSize.width()) / 2, (aRefSize.height() - aSize.height()) / 2};
}

std::unique_ptr<QDialog> GuiStdDialog(EventQueue& events, const QString& cTitle) {
    // The main window is application-modal, which would shut every other window out of
    // input; a window owned by the modal one takes input beside it.
    auto dialog = std::make_unique<StdDialog>(events, QApplication::activeModalWidget());
    const QSize desktop = QGuiApplication::primaryScreen()->geometry().size();
    dialog->setGeometry(qtRectFromYUp(CenterPos(kDialogSize, desktop), kDialogSize, desktop.height()));
    dialog->setWindowTitle(cTitle);
    dialog->setWindowFlag(Qt::Window);
    dialog->setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    return dialog;
}

BrowseView* GuiBrowseDB(QWidget& parent, BrowsedTable& table, EventQueue& events, EntrySettings& entry) {
    auto* layout = new QVBoxLayout(&parent);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* browse = new BrowseView(table, events, entry, &parent);
    layout->addWidget(browse);
    return browse;
}

void addFieldColumns(BrowseView& browse, BrowsedTable& table, bool readOnly) {
    for (const dbf::FieldDef& field : table.table().fields()) {
        if (kNoColumnTypes.contains(QLatin1Char(field.type))) continue;
        std::optional<DataLink> link = table.EditBlock(field.name);
        if (!link) continue;
        auto* column = new EditColumn(browse, field.name, std::move(*link));
        if (readOnly) column->editable = false;
        browse.addColumn(column);
    }
}

Result<void> EditBrowX(BrowserContext& context, const QString& name, const QString& title) {
    const int area = areaOfItsOwn(context.areas);
    if (!openForBrowsing(context.areas, area, name))
        return Failure{QStringLiteral("Datei kann nicht geöffnet werden\n\n") + name};
    AreaCloser closer(context.areas, area);
    BrowsedTable table(context.areas, area, context.readOnly, [&context] { context.entry.beep(); });
    const int start = table.recNo();
    std::unique_ptr<QDialog> dialog = GuiStdDialog(context.events, title);
    BrowseView* browse = GuiBrowseDB(*dialog, table, context.events, context.entry);
    addFieldColumns(*browse, table, context.readOnly);
    dialog->show();
    dialog->activateWindow();
    browse->showRecord(start);
    browse->setFocus(Qt::OtherFocusReason);
    runWindowLoop(context);
    return {};
}

}  // namespace sendwerk
