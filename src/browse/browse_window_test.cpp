// The grid and the browser window against real send log files: editing cells with the
// keys handed on through the application event queue, what reaches the file (read back
// by python3-dbfread and by a fresh open), record locks and writes of another process,
// records appended meanwhile, and the window's loop.
#include "browse/table_browser.h"

#include <QDialog>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "browse/browse_test_support.h"
#include "browse/browse_view.h"
#include "browse/browsed_table.h"
#include "browse/edit_column.h"
#include "browse/entry_settings.h"
#include "dbf/work_areas.h"
#include "queue/send_log.h"
#include "support/take.h"
#include "widgets/key_codes.h"

namespace sendwerk {
namespace {

using dbf::ShareMode;
using dbf::Table;

constexpr int kGridArea = 50;
const QString kPeer = QStringLiteral(SENDWERK_BROWSE_TESTDATA "/record_peer.py");

class BrowserTest : public ::testing::Test {
protected:
    BrowserTest() : settings(queue, [this](int hertz, double) { beeps << hertz; }), areas(PathResolver{}) {}
    ~BrowserTest() override {
        delete window;
        grid.reset();
        areas.closeAll();
    }

    QString file() const { return dir.path() + "/LOG_SENDWERK.DBF"; }

    // A send log of `records` records: AUFTRNR 1, 2, ..., ADRESSE "a1@x", "a2@x", ...
    void makeLog(int records, const QList<dbf::FieldDef>& fields = sendLogFields()) {
        Table::create(file(), fields);
        std::unique_ptr<Table> table;
        ASSERT_TRUE(testing::take(table, Table::open(file(), ShareMode::Exclusive)));
        for (int i = 1; i <= records; ++i) {
            table->appendBlank();
            if (table->hasField("AUFTRNR")) table->put("AUFTRNR", QByteArray::number(i));
            if (table->hasField("ADRESSE")) table->put("ADRESSE", "a" + QByteArray::number(i) + "@x");
        }
        table->commit();
    }

    // The grid as the window builds it, in a plain window and without the window's loop.
    BrowseView& openGrid(bool readOnly = false) {
        {
            dbf::ScopedSelection selection(areas, kGridArea);
            EXPECT_TRUE(areas.use(file(), ShareMode::Shared, "LOG").ok());
        }
        grid = std::make_unique<BrowsedTable>(areas, kGridArea, readOnly, [this] { settings.beep(); });
        window = new QWidget;
        window->resize(900, 300);
        browse = GuiBrowseDB(*window, *grid, queue, settings);
        addFieldColumns(*browse, *grid, readOnly);
        EXPECT_TRUE(testing::focusIn(*window, *browse));
        browse->showRecord(1);
        return *browse;
    }

    void press(int code) { testing::press(queue, code, nullptr); }
    void type(const QString& text) {
        for (QChar c : text) press(c.unicode());
    }
    // Enter on the current cell, its text emptied and `text` typed in.
    void retype(const QString& text) {
        press(key::Enter);
        press(key::CtrlY);
        type(text);
    }

    // Field `name` of record `number` as a fresh open of the file reads it.
    QByteArray stored(int number, const QString& name) const {
        std::unique_ptr<Table> table;
        if (!testing::take(table, Table::open(file(), ShareMode::Shared))) return "(cannot open)";
        table->goTo(number);
        return table->text(name);
    }
    QString shown(int row, int column) const { return browse->model()->index(row, column).data().toString(); }

    QTemporaryDir dir;
    EventQueue queue;
    QList<int> beeps;
    EntrySettings settings;
    dbf::WorkAreas areas;
    std::unique_ptr<BrowsedTable> grid;
    QWidget* window = nullptr;
    BrowseView* browse = nullptr;
};

// Another process on the table (tests/browse/record_peer.py).
class Peer {
public:
    explicit Peer(const QStringList& arguments) {
        process_.start("/usr/bin/python3", QStringList{kPeer} + arguments);
        process_.waitForStarted();
    }
    ~Peer() {
        process_.closeWriteChannel();
        process_.waitForFinished(30000);
    }
    bool saysLocked() { return process_.waitForReadyRead(30000) && process_.readLine().trimmed() == "locked"; }
    bool finishedWell() {
        return process_.waitForFinished(30000) && process_.exitStatus() == QProcess::NormalExit &&
               process_.exitCode() == 0;
    }

private:
    QProcess process_;
};

TEST_F(BrowserTest, ATypedValueLeftWithEnterIsInTheFileAndEditingGoesOnOneRowDown) {
    makeLog(3);
    BrowseView& b = openGrid();
    b.lastColumn();
    press(key::Enter);
    EditColumn* adresse = b.currentColumn();
    ASSERT_TRUE(adresse->active());
    EXPECT_EQ(adresse->activeGet()->geometry(), b.cellRect(0, 5)) << "the editor lies over its cell";
    press(key::CtrlY);
    type(QString::fromUtf8("jörg@kunde.example"));
    press(key::Enter);

    QProcess dbfread;
    dbfread.start("/usr/bin/python3", {QStringLiteral(SENDWERK_SOURCE_DIR "/tests/dbf/dbfread_dump.py"), file()});
    ASSERT_TRUE(dbfread.waitForFinished(60000)) << "python3-dbfread";
    const QJsonArray records = QJsonDocument::fromJson(dbfread.readAllStandardOutput()).object()["records"].toArray();
    ASSERT_EQ(records.size(), 3);
    EXPECT_EQ(records[0].toArray()[5].toString(), QString::fromUtf8("jörg@kunde.example"));
    EXPECT_EQ(records[0].toArray()[0].toString(), "1") << "the other fields as they were";
    EXPECT_EQ(records[1].toArray()[5].toString(), "a2@x");

    EXPECT_EQ(b.rowPos(), 1);
    EXPECT_TRUE(adresse->active());
    EXPECT_EQ(adresse->activeGet()->text().trimmed(), "a2@x") << "editing goes on in the next row";
    EXPECT_EQ(shown(0, 5).trimmed(), QString::fromUtf8("jörg@kunde.example"));
}

TEST_F(BrowserTest, EnterOnTheLastRowStoresTheValueAndKeepsEditingThere) {
    makeLog(2);
    BrowseView& b = openGrid();
    b.goBottom();
    retype("9");
    press(key::Enter);
    EXPECT_EQ(stored(2, "AUFTRNR"), "9");
    EXPECT_EQ(b.rowPos(), 1);
    EXPECT_TRUE(b.currentColumn()->active());
}

TEST_F(BrowserTest, TabAndShiftTabCarryTheEditFromCellToCellWrappingAtTheRowsEnds) {
    makeLog(2);
    BrowseView& b = openGrid();
    const struct {
        int key;
        int row;
        int column;
    } steps[] = {
        {key::Tab, 0, 1},      {key::ShiftTab, 0, 0},
        {key::ShiftTab, 0, 5},  // the first cell of all: no row above, so the row's last cell
        {key::Tab, 1, 0},       // the last cell of a row: the next row's first
        {key::ShiftTab, 0, 5},  // the first cell of a row: the last one of the row above
    };
    press(key::Enter);
    for (const auto& step : steps) {
        press(step.key);
        const std::string what = "after key " + std::to_string(step.key) + " to " + std::to_string(step.row) + "/" +
                                 std::to_string(step.column);
        EXPECT_EQ(b.rowPos(), step.row) << what;
        EXPECT_EQ(b.colPos(), step.column) << what;
        EXPECT_EQ(b.activeColumn, b.getColumn(step.column)) << what;
        ASSERT_NE(b.activeColumn, nullptr) << what;
        EXPECT_TRUE(b.activeColumn->activeGet()->hasFocus()) << what;
    }
}

TEST_F(BrowserTest, ACellLeftIsStoredUnlessTheWindowIsReadOnly) {
    const struct {
        bool readOnly;
        int leaveWith;
        const char* stored;
    } cases[] = {{false, key::Tab, "77"}, {false, key::Down, "77"}, {true, key::Enter, "1"}, {true, key::Tab, "1"}};
    for (const auto& c : cases) {
        makeLog(1);
        openGrid(c.readOnly);
        retype("77");
        press(c.leaveWith);
        EXPECT_EQ(stored(1, "AUFTRNR"), c.stored) << c.readOnly << " " << c.leaveWith;
        delete window;
        window = nullptr;
        grid.reset();
        areas.closeAll();
        QFile::remove(file());
    }
}

TEST_F(BrowserTest, KeysTypedAheadOfTheLoopGoToTheCellsTheKeysBeforeThemOpened) {
    makeLog(2);
    BrowseView& b = openGrid();
    // All held in the queue before the first is handed on, as while a send run is busy.
    QTest::keyClick(&b, Qt::Key_Return);
    QTest::keyClick(&b, Qt::Key_Tab);
    QTest::keyClicks(&b, "Z");
    QTest::keyClick(&b, Qt::Key_Return);
    testing::handAll(queue);
    EXPECT_EQ(stored(1, "ART"), "Z");
    EXPECT_EQ(stored(1, "AUFTRNR"), "1");
    EXPECT_EQ(b.rowPos(), 1);
}

TEST_F(BrowserTest, EscDropsTheEditAndLeavesEditMode) {
    makeLog(2);
    BrowseView& b = openGrid();
    press(key::Enter);
    type("X");
    press(key::Escape);  // inside the text: the field undoes
    EXPECT_EQ(b.activeColumn->activeGet()->text(), "1     ");
    type("X");
    press(key::Home);
    press(key::Escape);  // on the first position: the column restores and ends the edit
    EXPECT_EQ(b.activeColumn, nullptr);
    EXPECT_FALSE(b.currentColumn()->active());
    EXPECT_TRUE(b.hasFocus());
    press(key::Down);
    EXPECT_EQ(stored(1, "AUFTRNR"), "1");
    EXPECT_EQ(shown(0, 0).trimmed(), "1");
}

TEST_F(BrowserTest, AnUnchangedCellIsNeverWritten) {
    makeLog(3);
    BrowseView& b = openGrid();
    int writes = 0;
    DataLink counting = b.getColumn(0)->dataLink();
    counting.write = [&, write = counting.write](const QString& v) {
        ++writes;
        write(v);
    };
    auto* column = new EditColumn(b, "ZAEHLER", counting);
    b.addColumn(column);
    b.lastColumn();
    press(key::Enter);
    press(key::Down);
    press(key::Down);
    press(key::Up);
    EXPECT_EQ(writes, 0);
    type("5");
    press(key::Down);
    EXPECT_EQ(writes, 1);
}

TEST_F(BrowserTest, StartingToReadInAnotherColumnDropsTheFirstColumnsEdit) {
    makeLog(1);
    BrowseView& b = openGrid();
    press(key::Enter);
    type("8");
    b.getColumn(1)->read();
    EXPECT_FALSE(b.getColumn(0)->active());
    EXPECT_FALSE(b.getColumn(0)->activeGet()->isVisible());
    press(key::Down);
    EXPECT_EQ(stored(1, "AUFTRNR"), "1");
}

TEST_F(BrowserTest, ARecordLockedByAnotherProcessIsNotStoredAndTheRowShowsTheStoredValue) {
    makeLog(2);
    BrowseView& b = openGrid();
    Peer peer({"lock", file(), "1"});
    ASSERT_TRUE(peer.saysLocked());
    retype("55");
    press(key::Down);
    EXPECT_EQ(stored(1, "AUFTRNR"), "1");
    EXPECT_EQ(shown(0, 0).trimmed(), "1");
    EXPECT_EQ(b.rowPos(), 1);
}

TEST_F(BrowserTest, AValueAnotherProcessWroteIntoAnotherFieldMeanwhileSurvivesAnEdit) {
    makeLog(2);
    BrowseView& b = openGrid();
    b.lastColumn();
    retype("neu@x");
    {
        Peer writer({"put", file(), "1", "ZEIT", "11:11:11"});
        ASSERT_TRUE(writer.finishedWell());
    }
    press(key::Enter);
    EXPECT_EQ(stored(1, "ADRESSE"), "neu@x");
    EXPECT_EQ(stored(1, "ZEIT"), "11:11:11");
}

TEST_F(BrowserTest, AValueThatDoesNotFitIsRefusedWithABeepAndTheStoredValueShown) {
    makeLog(1, {{"TAG", 'D', 8, 0}, {"BETRAG", 'N', 6, 2}});
    BrowseView& b = openGrid();
    press(key::Enter);
    type("31022024");
    EXPECT_EQ(b.activeColumn->activeGet()->text(), "31.02.2024");
    press(key::Enter);
    EXPECT_EQ(beeps, QList<int>{1000});
    EXPECT_EQ(stored(1, "TAG"), "");
    EXPECT_EQ(shown(0, 0), "          ");

    b.goTop();
    press(key::Enter);
    type("15072024");
    press(key::Tab);
    EXPECT_EQ(stored(1, "TAG"), "20240715") << "a good date is stored";
    type("12,5");
    press(key::Enter);
    EXPECT_EQ(stored(1, "BETRAG"), "12.50");
}

TEST_F(BrowserTest, RecordsAppendedMeanwhileAppear) {
    makeLog(2);
    BrowseView& b = openGrid();
    {
        std::unique_ptr<Table> other;
        ASSERT_TRUE(testing::take(other, Table::open(file(), ShareMode::Shared)));
        other->appendBlank();
        other->put("AUFTRNR", "3");
        other->commit();
        other->unlockAll();
    }
    b.followAppends();
    EXPECT_EQ(b.model()->rowCount(), 3);
    press(key::CtrlPageDown);
    EXPECT_EQ(b.rowPos(), 2);
    EXPECT_EQ(shown(2, 0).trimmed(), "3");
}

TEST_F(BrowserTest, MemoFieldsGetNoColumnTheOthersOneEachWithTheFieldName) {
    makeLog(1,
            {{"NAME", 'C', 5, 0}, {"BETRAG", 'N', 6, 2}, {"TAG", 'D', 8, 0}, {"OK", 'L', 1, 0}, {"NOTIZ", 'M', 10, 0}});
    BrowseView& b = openGrid();
    QStringList headings;
    for (int i = 0; i < b.colCount(); ++i) headings << b.getColumn(i)->heading();
    EXPECT_EQ(headings, (QStringList{"NAME", "BETRAG", "TAG", "OK"}));
}

TEST_F(BrowserTest, TheEditorStaysOverItsCellWhenColumnsChangeSize) {
    makeLog(1);
    BrowseView& b = openGrid();
    b.right();
    press(key::Enter);
    b.setColumnWidth(0, b.columnWidth(0) + 40);
    EXPECT_EQ(b.activeColumn->activeGet()->geometry(), b.cellRect(0, 1));
    EXPECT_TRUE(b.activeColumn->activeGet()->hasFocus());
}

TEST_F(BrowserTest, AClickReadsTheCellOnceTheCursorStandsOnItAndWritesTheCellItLeaves) {
    makeLog(3);
    BrowseView& b = openGrid();
    const auto click = [&](int row, int column) {
        QTest::mouseClick(b.viewport(), Qt::LeftButton, {}, b.cellRect(row, column).center());
        testing::handAll(queue);
    };
    click(2, 5);
    EXPECT_EQ(b.rowPos(), 2);
    ASSERT_EQ(b.activeColumn, b.getColumn(5));
    EXPECT_EQ(b.activeColumn->activeGet()->text().trimmed(), "a3@x");
    press(key::CtrlY);
    type("neu@x");
    click(2, 0);
    EXPECT_EQ(stored(3, "ADRESSE"), "neu@x") << "the cell left in the same row is written first";
    ASSERT_EQ(b.activeColumn, b.getColumn(0));
    EXPECT_FALSE(b.getColumn(5)->active());
    click(0, 0);
    EXPECT_EQ(b.rowPos(), 0);
    EXPECT_EQ(b.activeColumn->activeGet()->text().trimmed(), "1") << "editing follows the cursor";
}

TEST_F(BrowserTest, SkipMovesNoFurtherThanTheTableGoesAndCountsWhatItMoved) {
    makeLog(5);
    openGrid();
    const struct {
        int from;
        int n;
        int moved;
    } cases[] = {{4, 5, 1}, {1, -1, 0}, {3, -2, -2}, {2, 0, 0}, {5, 1, 0}};
    for (const auto& c : cases) {
        grid->goTo(c.from);
        EXPECT_EQ(grid->skip(c.n), c.moved) << c.from << " + " << c.n;
        EXPECT_EQ(grid->recNo(), c.from + c.moved);
    }
}

// The window itself, with its loop: `inside` runs once the window is up and posts the
// events that the loop then takes.
class BrowserWindowTest : public BrowserTest {
protected:
    Result<void> run(const std::function<void(QDialog&, BrowseView&)>& inside) {
        BrowserContext context{queue, areas, settings, {}, false};
        QTimer::singleShot(0, [&] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* dialog = qobject_cast<QDialog*>(w);
                if (dialog == nullptr || !dialog->isVisible()) continue;
                auto* view = dialog->findChild<BrowseView*>();
                EXPECT_TRUE(testing::focusIn(*dialog, *view));
                title = dialog->windowTitle();
                geometry = dialog->geometry();
                startRecord = view->rowPos() + 1;
                inside(*dialog, *view);
                return;
            }
            ADD_FAILURE() << "no window";
            queue.postEvent(event::Quit, 0, 0, nullptr);
        });
        return EditBrowX(context, file());
    }
    void post(int code) { queue.postEvent(event::Keyboard, code, 0, nullptr); }

    QString title;
    QRect geometry;
    int startRecord = 0;
};

TEST_F(BrowserWindowTest, OpensNearTheEndOfTheTableCentredOnTheDesktop) {
    EXPECT_EQ(CenterPos({600, 400}, {1280, 1024}), QPoint(340, 312));
    for (const auto& [records, start] : {std::pair{10, 1}, std::pair{100, 85}}) {
        makeLog(records);
        const Result<void> result = run([&](QDialog&, BrowseView&) { post(key::Escape); });
        ASSERT_TRUE(result.ok()) << result.cause().toStdString();
        EXPECT_EQ(startRecord, start) << records << " records";
        EXPECT_EQ(title, QString::fromUtf8("Das Logbuch für Sendwerk"));
        EXPECT_EQ(geometry.size(), QSize(600, 400));
        const QSize desktop = QGuiApplication::primaryScreen()->geometry().size();
        EXPECT_EQ(geometry.topLeft(), QPoint((desktop.width() - 600) / 2, (desktop.height() - 400) / 2));
        EXPECT_FALSE(areas.isOpen(kSendLogArea + 1)) << "the table is closed with the window";
        QFile::remove(file());
    }
}

TEST_F(BrowserWindowTest, EnterStoresATypedValueEscClosesWithoutStoringTheRest) {
    makeLog(3);
    const Result<void> result = run([&](QDialog&, BrowseView&) {
        post(key::Enter);
        post(key::CtrlY);
        post('7');
        post(key::Enter);  // stored; editing goes on in record 2
        post('8');
        post(key::Escape);  // record 2's edit is dropped and the window closes
    });
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(stored(1, "AUFTRNR"), "7");
    EXPECT_EQ(stored(2, "AUFTRNR"), "2");
}

TEST_F(BrowserWindowTest, AltF4InACellAndTheCloseBoxCloseTheWindowWithoutStoring) {
    makeLog(1);
    const std::function<void(QDialog&, BrowseView&)> closers[] = {
        [&](QDialog&, BrowseView&) {
            post(key::Enter);
            post('5');
            post(key::AltF4);
        },
        [&](QDialog& dialog, BrowseView&) {
            post(key::Enter);
            post('6');
            dialog.close();  // waits its turn behind the keys
        },
    };
    for (const auto& closer : closers) {
        ASSERT_TRUE(run(closer).ok());
        EXPECT_EQ(stored(1, "AUFTRNR"), "1");
        EXPECT_FALSE(areas.isOpen(kSendLogArea + 1));
    }
}

TEST_F(BrowserWindowTest, ATableThatCannotBeOpenedIsNamedInTheMessage) {
    BrowserContext context{queue, areas, settings, {}, false};
    const Result<void> result = EditBrowX(context, dir.path() + "/FEHLT.DBF");
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.cause(), QString::fromUtf8("Datei kann nicht geöffnet werden\n\n") + dir.path() + "/FEHLT.DBF");
}

}  // namespace
}  // namespace sendwerk
