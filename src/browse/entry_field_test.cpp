// The entry field's key table, clipboard, menu and colours, with the keys posted to the
// application event queue and handed on as the window's loop does.
#include "browse/entry_field.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>

#include <gtest/gtest.h>

#include "browse/browse_test_support.h"
#include "browse/entry_settings.h"
#include "widgets/key_codes.h"

namespace sendwerk {
namespace {

using testing::focusIn;

}  // namespace

void PrintTo(const Mark& m, std::ostream* os) { *os << "{" << m.a << ", " << m.b << "}"; }

namespace {

class RecordingController final : public EntryController {
public:
    QList<int> keys;
    bool preValidate(EntryField&) override { return true; }
    bool postValidate(EntryField&) override { return true; }
    bool keyboard(int nKey) override {
        keys << nKey;
        return false;
    }
};

class EntryFieldTest : public ::testing::Test {
protected:
    EntryFieldTest() : settings(queue, [this](int hertz, double) { beeps << hertz; }) {
        window.resize(400, 40);
        QApplication::clipboard()->clear();
    }

    // A field over `start` in a character field of its width, editing, caret on 1.
    EntryField& edit(const QString& start, bool insertMode = false) {
        stored = start;
        settings.insertMode = insertMode;
        delete field;
        field = new EntryField(settings, &window);
        field->dataLink = {{"NAME", 'C', int(start.size()), 0},
                           [this] { return stored; },
                           [this](const QString& v) {
                               stored = v;
                               ++writes;
                           }};
        field->controller = &controller;
        field->create();
        field->setGeometry(0, 0, 400, 30);
        field->setData();
        EXPECT_TRUE(focusIn(window, *field));
        return *field;
    }

    void press(int code) { testing::press(queue, code, field); }
    void type(const QString& text) {
        for (QChar c : text) press(c.unicode());
    }
    // Puts the mark and the template editor's caret where a case starts.
    void startAt(Mark m, int pos) {
        field->setMarked(m);
        field->Get->pos = pos;
    }

    EventQueue queue;
    QList<int> beeps;
    EntrySettings settings;
    RecordingController controller;
    QWidget window;
    EntryField* field = nullptr;
    QString stored;
    int writes = 0;
};

TEST_F(EntryFieldTest, MarkingKeysStopAtTheEdgesInBothModes) {
    const struct {
        const char* what;
        bool insertMode;
        Mark start;
        int pos;
        int key;
        Mark mark;
        int posAfter;
    } cases[] = {
        {"overwrite caret grows right", false, {3, 4}, 3, key::ShiftRight, {3, 5}, 4},
        {"overwrite caret keeps its character and adds the left one", false, {3, 4}, 3, key::ShiftLeft, {4, 2}, 2},
        {"overwrite caret at the start", false, {1, 2}, 1, key::ShiftLeft, {2, 1}, 1},
        {"overwrite caret at the end", false, {10, 11}, 10, key::ShiftRight, {10, 11}, 10},
        {"insert mode at the end", true, {11, 11}, 11, key::ShiftRight, {11, 11}, 10},
        {"insert mode at the start", true, {1, 1}, 1, key::ShiftLeft, {1, 1}, 1},
        {"shift+end marks to the end", true, {4, 4}, 4, key::ShiftEnd, {4, 11}, 10},
        {"shift+home marks to the start", false, {5, 6}, 5, key::ShiftHome, {6, 1}, 1},
    };
    for (const auto& c : cases) {
        edit("abcdefghij", c.insertMode);
        startAt(c.start, c.pos);
        press(c.key);
        EXPECT_EQ(field->marked(), c.mark) << c.what;
        EXPECT_EQ(field->Get->pos, c.posAfter) << c.what;
        EXPECT_EQ(field->text(), "abcdefghij") << c.what;
    }
}

TEST_F(EntryFieldTest, TypingDeletingAndPastingOverMarks) {
    const struct {
        const char* what;
        bool insertMode;
        Mark start;
        int key;  // 0: paste the clipboard with Shift+Ins
        QString clipboard;
        QString text;
    } cases[] = {
        {"insert replaces a marked range", true, {3, 6}, 'X', {}, "abXfghij  "},
        {"overwrite replaces the caret's character", false, {3, 4}, 'X', {}, "abXdefghij"},
        {"overwrite over a wider range deletes it first", false, {3, 6}, 'X', {}, "abXfghij  "},
        {"del in insert mode takes the character at the caret", true, {3, 3}, key::Delete, {}, "abdefghij "},
        {"backspace takes the one before", true, {3, 3}, key::Backspace, {}, "acdefghij "},
        {"del in overwrite mode takes the caret's character", false, {3, 4}, key::Delete, {}, "abdefghij "},
        {"a wide selection takes as many pasted characters as it is wide",
         false,
         {3, 6},
         0,
         "0123456789",
         "ab012fghij"},
        {"a caret mark takes the whole pasted text as far as it fits", false, {3, 4}, 0, "0123456789", "ab01234567"},
    };
    for (const auto& c : cases) {
        edit("abcdefghij", c.insertMode);
        startAt(c.start, std::min(c.start.a, c.start.b));
        if (c.key == 0) {
            QApplication::clipboard()->setText(c.clipboard);
            press(key::ShiftInsert);
        } else {
            press(c.key);
        }
        EXPECT_EQ(field->text(), c.text) << c.what;
        EXPECT_EQ(field->value, c.text) << c.what;
        EXPECT_TRUE(field->changed) << c.what;
    }
}

TEST_F(EntryFieldTest, PasteFromAnEmptyClipboardBeepsAndChangesNothing) {
    edit("abcdefghij");
    EXPECT_FALSE(field->PasteMarked());
    EXPECT_EQ(beeps, QList<int>{1000});
    EXPECT_EQ(field->text(), "abcdefghij");
    EXPECT_FALSE(field->changed);
}

TEST_F(EntryFieldTest, EscOnTheFirstPositionGoesToTheControllerElsewhereItUndoes) {
    edit("abcdefghij");
    type("XY");
    press(key::Escape);
    EXPECT_EQ(field->text(), "abcdefghij") << "undone";
    EXPECT_EQ(field->Get->pos, 1);
    EXPECT_EQ(field->marked(), (Mark{1, 2})) << "the caret mark on the first position";
    EXPECT_TRUE(controller.keys.isEmpty());

    type("X");
    press(key::Home);
    press(key::Escape);
    EXPECT_EQ(controller.keys, QList<int>{key::Escape});
    EXPECT_EQ(field->text(), "Xbcdefghij") << "the field itself changes nothing";
    EXPECT_EQ(writes, 0);
}

TEST_F(EntryFieldTest, UndoAfterAWriteThatKeptTheOriginalGoesBackAndWritesNothing) {
    edit("abcdefghij");
    type("X");
    EXPECT_EQ(field->getData(false), "Xbcdefghij");
    EXPECT_EQ(writes, 1);
    EXPECT_EQ(field->original, "abcdefghij");
    EXPECT_TRUE(field->changed);
    field->undo();
    EXPECT_EQ(field->value, "abcdefghij");
    EXPECT_FALSE(field->changed);
    EXPECT_EQ(writes, 1);
    type("Z");
    field->getData();
    EXPECT_EQ(field->original, "Zbcdefghij") << "a committing write moves the original";
    EXPECT_FALSE(field->changed);
}

TEST_F(EntryFieldTest, TheMenuEnablesWhatTheFieldCanDo) {
    const auto enabled = [&] {
        QList<int> on;
        const QList<QAction*> items = field->contextMenu().actions();
        for (int i = 0; i < items.size(); ++i)
            if (items[i]->isEnabled() && !items[i]->isSeparator()) on << i + 1;
        return on;
    };
    edit("abcdefghij", true);
    field->enableMenuItems();
    EXPECT_EQ(enabled(), (QList<int>{9})) << "nothing marked, nothing changed, empty clipboard";
    ASSERT_EQ(field->contextMenu().actions().size(), 9);
    EXPECT_EQ(field->contextMenu().actions()[0]->text(), QString::fromUtf8("&Prüfen"));
    EXPECT_EQ(field->contextMenu().actions()[8]->text(), "Alles &markieren");

    type("X");
    field->setMarked({2, 5});
    QApplication::clipboard()->setText("q");
    field->enableMenuItems();
    EXPECT_EQ(enabled(), (QList<int>{2, 4, 5, 6, 7, 9}));
    field->setMarked({1, 11});
    field->enableMenuItems();
    EXPECT_EQ(enabled(), (QList<int>{2, 4, 5, 6, 7})) << "all marked";
}

TEST_F(EntryFieldTest, ALeadingAsteriskWithANumberColoursTheBackground) {
    const struct {
        const char* text;
        int background;
    } cases[] = {{"*-12", 3}, {"*-0.5", 3}, {"*7", 5}, {"*0", 0}, {"*abc", 0}, {"*", 0}, {"-12", 0}};
    edit("          ");
    for (const auto& c : cases) {
        field->setData(QString::fromLatin1(c.text));
        EXPECT_EQ(field->backgroundColour(), c.background) << c.text;
        EXPECT_EQ(field->original, field->value) << c.text;
        EXPECT_FALSE(field->changed) << c.text;
    }
}

TEST_F(EntryFieldTest, KeysTheFieldDoesNotTakeGoToTheController) {
    edit("abcdefghij");
    press(key::Enter);
    press(key::Down);
    EXPECT_EQ(controller.keys, (QList<int>{key::Enter, key::Down}));
    EXPECT_EQ(field->text(), "abcdefghij");
}

}  // namespace
}  // namespace sendwerk
