#include "config/text_editor.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <functional>
#include <vector>

#include "config/dialog_test_support.h"
#include "platform/dos_path.h"
#include "platform/file_system.h"
#include "support/temp_office.h"
#include "widgets/geometry.h"

namespace sendwerk {
namespace {

const QString kEditorTitle = QStringLiteral("E-Mail-Daten eingeben/ändern");
const QString kWhitelist = QStringLiteral("C:\\ZUMA\\CMail\\WhiteList.mad");

// The editor over a temporary office, with the operator's keys played from inside its loop.
class TextEditorTest : public ::testing::Test {
protected:
    TextEditorTest() {
        owner.resize(400, 300);
        owner.show();
    }

    // Opens the editor; `step` runs once the window is up and active.
    QString open(const QString& path, const QString& title, int width, int height, std::function<void(QWidget&)> step,
                 const QString& aText = {}, const QString& cNeu = {}) {
        testing::whenDialogIsUp(&owner, std::move(step));
        return Modaldialog_FM(env, path, title, &owner, width, height, aText, cNeu);
    }

    static QPlainTextEdit* paneOf(QWidget& dialog) { return dialog.findChild<QPlainTextEdit*>("editorText"); }
    static QPushButton* okOf(QWidget& dialog) { return dialog.findChild<QPushButton*>("okButton"); }

    testing::TempOffice office;
    FileSystem files{PathResolver(office.drives())};
    EventQueue events;
    VirtualClock clock;
    QStringList messages, pagePrints, textPrints;
    EditorEnvironment env{
        {events, clock},
        files,
        [this](const QString& m) { messages << m; },
        {[this](const QString& t) { pagePrints << t; }, [this](const QString& t) { textPrints << t; }}};
    QWidget owner;
    QLineEdit other{&owner};
};

TEST_F(TextEditorTest, OpensCentredAndModalOnTheFileAndGivesTheFocusBack) {
    office.write("ZUMA/CMail/WhiteList.mad", "kunde@example.org,\r\n");
    owner.activateWindow();
    other.setFocus();
    const QDeadlineTimer deadline(5000);
    while (QApplication::focusWidget() != &other && !deadline.hasExpired()) QCoreApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), &other);

    const QRect desktop = QGuiApplication::primaryScreen()->geometry();
    const DialogLayout l = dialogLayout(desktop.width(), owner.width(), 600, 600);
    const QString title = "Whitelist der Mail-Adressen eingeben/ändern";
    const QString result = open(kWhitelist, title, 600, 600, [&](QWidget& dialog) {
        EXPECT_EQ(dialog.windowTitle(), title + "  -  STRG-W zum Speichern dieser Adressen  -  Esc-Taste zum Beenden");
        EXPECT_EQ(dialog.size(), QSize(600, 600));
        EXPECT_EQ(dialog.pos(), desktop.topLeft() + QPoint((desktop.width() - 600) / 2, (desktop.height() - 600) / 2));
        EXPECT_EQ(dialog.windowModality(), Qt::ApplicationModal);
        EXPECT_FALSE(dialog.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        EXPECT_FALSE(dialog.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        EXPECT_EQ(paneOf(dialog)->geometry(), qtRectFromYUp(l.pane.topLeft(), l.pane.size(), 600));
        EXPECT_EQ(paneOf(dialog)->toPlainText(), "kunde@example.org,\n");
        EXPECT_EQ(okOf(dialog)->text(), "OK");
        EXPECT_EQ(QApplication::focusWidget(), paneOf(dialog));
        // A tick has no effect, typing elsewhere reaches nothing.
        events.postEvent(event::TimerTick, 0, 0, &owner);
        QTest::keyClicks(&other, "anderswo");
        testing::playKeys({"Esc"});
    });
    EXPECT_EQ(result, "kunde@example.org,\r\n");
    EXPECT_EQ(other.text(), "");
    const QDeadlineTimer back(5000);
    while (QApplication::focusWidget() != &other && !back.hasExpired()) QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), &other);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(TextEditorTest, KeyTable) {
    struct Case {
        const char* name;
        bool focusOnOk;
        QStringList keys;
        QByteArray file;  // the file afterwards; it held "  alt"
        QString result;
        QStringList pagePrints, textPrints;
    };
    // clang-format off
    const Case cases[] = {
        {"Ctrl+W saves and the window stays open", false, {"^End", " neu", "^W", " mehr", "Esc"},
         "  alt neu", "alt neu mehr", {}, {}},
        {"Alt+W saves", false, {"^End", " neu", "@W", "Esc"}, "  alt neu", "alt neu", {}, {}},
        {"Ctrl+S saves", false, {"^End", " neu", "^S", "F10"}, "  alt neu", "alt neu", {}, {}},
        {"a second save writes the text of that moment", false, {"^End", " neu", "^W", " mehr", "^W", "Esc"},
         "  alt neu mehr", "alt neu mehr", {}, {}},
        {"Esc after edits leaves the file", false, {"^End", " neu", "Esc"}, "  alt", "alt neu", {}, {}},
        {"F10 returns the text as loaded", false, {"^End", " neu", "F10"}, "  alt", "alt", {}, {}},
        {"F10 returns the text as last saved", false, {"^End", " neu", "^W", " mehr", "F10"},
         "  alt neu", "alt neu", {}, {}},
        {"Enter in the pane is a line break", false, {"^End", "Enter", "x", "Esc"}, "  alt", "alt\r\nx", {}, {}},
        {"Enter on OK closes like OK", true, {"Enter"}, "  alt", "alt", {}, {}},
        {"save and print keys on the button do nothing", true, {"^W", "@D", "^P", "F10"}, "  alt", "alt", {}, {}},
        {"Alt+D prints pages without trailing blanks", false, {"^End", " neu  ", "@D", "F10"},
         "  alt", "alt", {"  alt neu"}, {}},
        {"Ctrl+P prints the text and takes it over", false, {"^End", " neu", "^P", " mehr", "F10"},
         "  alt", "alt neu", {}, {"  alt neu"}},
    };
    // clang-format on
    for (const Case& c : cases) {
        office.write("ZUMA/CMail/F1.txt", "  alt");
        pagePrints.clear();
        textPrints.clear();
        const QString result = open("C:\\ZUMA\\CMail\\F1.txt", kEditorTitle, 800, 600, [&](QWidget& dialog) {
            EXPECT_EQ(dialog.windowTitle(), kEditorTitle) << c.name;
            if (c.focusOnOk) okOf(dialog)->setFocus();
            testing::playKeys(c.keys);
        });
        EXPECT_EQ(office.read("ZUMA/CMail/F1.txt"), c.file) << c.name;
        EXPECT_EQ(result, c.result) << c.name;
        EXPECT_EQ(pagePrints, c.pagePrints) << c.name;
        EXPECT_EQ(textPrints, c.textPrints) << c.name;
    }
    EXPECT_EQ(messages, QStringList());
}

TEST_F(TextEditorTest, TheCloseBoxClosesLikeEscWithoutSaving) {
    office.write("ZUMA/CMail/F1.txt", "alt");
    const QString result = open("C:\\ZUMA\\CMail\\F1.txt", kEditorTitle, 800, 600, [](QWidget& dialog) {
        testing::playKeys({"^End", " neu"});
        dialog.close();
        // The request waits behind the typing; the window stays up until it is taken.
        EXPECT_TRUE(dialog.isVisible());
    });
    EXPECT_EQ(result, "alt neu");
    EXPECT_EQ(office.read("ZUMA/CMail/F1.txt"), "alt");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(TextEditorTest, TheHelpTextKeepsItsUmlautsThroughASave) {
    const QByteArray help =
        "Bedienungsanleitung\r\n\xC4nderungen f\xFCr \xDC"
        "bersicht: \xE4\xF6\xFC\xDF \x80 \x81";
    office.write("ZUMA/CMail/F1.txt", help);
    open("C:\\ZUMA\\CMail\\F1.txt", kEditorTitle, 800, 600, [&](QWidget& dialog) {
        EXPECT_EQ(paneOf(dialog)->toPlainText(),
                  QString::fromUtf8("Bedienungsanleitung\nÄnderungen für Übersicht: äöüß € \u0081"));
        testing::playKeys({"^W", "Esc"});
    });
    EXPECT_EQ(office.read("ZUMA/CMail/F1.txt"), help);
}

TEST_F(TextEditorTest, AMissingOrderFileOpensEmptyAndTheSaveCreatesIt) {
    const QString path = "C:\\ZUMA\\CMail\\Ausgang\\failure\\Sterbefall_1_2024-07-15";
    office.makeFolder("ZUMA/CMail/Ausgang/failure");
    open(path, kEditorTitle, 800, 600, [&](QWidget& dialog) {
        EXPECT_EQ(paneOf(dialog)->toPlainText(), "");
        testing::playKeys({"neu", "^W", "Esc"});
    });
    EXPECT_EQ(office.read("ZUMA/CMail/Ausgang/failure/Sterbefall_1_2024-07-15"), "neu");
}

TEST_F(TextEditorTest, ASaveThatCannotBeDoneIsReportedAndWritesNothing) {
    struct Case {
        const char* name;
        QString path;
        QString aText;
        QString messageStart;
    };
    const Case cases[] = {
        {"missing folder", "C:\\ZUMA\\Fehlt\\WhiteList.mad", "a@x.de,", "Der Text wurde nicht gespeichert: "},
        {"character outside Windows-1252", kWhitelist, QString::fromUtf8("Grüße → a@x.de"),
         QString::fromUtf8("Der Text wurde nicht gespeichert. Diese Zeichen kann die Datei "
                           "C:\\ZUMA\\CMail\\WhiteList.mad nicht aufnehmen (Windows-1252): „→“ (U+2192)")},
    };
    for (const Case& c : cases) {
        office.write("ZUMA/CMail/WhiteList.mad", "alt,");
        messages.clear();
        const QString result = open(
            c.path, kEditorTitle, 600, 600,
            [&](QWidget&) {
                // After the refused save the window is still open with the text.
                testing::playKeys({"^End", "^W", "!", "Esc"});
            },
            c.aText);
        ASSERT_EQ(messages.size(), 1) << c.name;
        EXPECT_TRUE(messages[0].startsWith(c.messageStart)) << c.name << ": " << messages[0].toStdString();
        EXPECT_EQ(result, c.aText + "!") << c.name;
        EXPECT_EQ(office.read("ZUMA/CMail/WhiteList.mad"), "alt,") << c.name;
        EXPECT_FALSE(office.exists("ZUMA/Fehlt")) << c.name;
    }
}

}  // namespace
}  // namespace sendwerk
