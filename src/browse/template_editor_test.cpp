#include "browse/template_editor.h"

#include <gtest/gtest.h>

#include <functional>

namespace sendwerk {
namespace {

// An editor over a value held here, in editing, with the caret at `pos`.
struct Editing {
    Editing(dbf::FieldDef form, QString start, int pos)
        : value(std::move(start)),
          editor(
              form, [this] { return value; }, [this](const QString& v) { value = v; }) {
        editor.setFocus();
        editor.pos = pos;
    }
    QString value;
    TemplateEditor editor;
};

const dbf::FieldDef kText{"NAME", 'C', 6, 0};
const dbf::FieldDef kAmount{"BETRAG", 'N', 7, 2};
const dbf::FieldDef kDay{"TAG", 'D', 8, 0};
const dbf::FieldDef kDone{"OK", 'L', 1, 0};

TEST(TemplateEditorTest, EditsKeepTheWidthAndTheFixedCharacters) {
    using Step = std::function<void(TemplateEditor&)>;
    const struct {
        const char* what;
        dbf::FieldDef form;
        QString start;
        int pos;
        Step step;
        QString buffer;
        int posAfter;
    } cases[] = {
        {"insert shifts the rest right and drops the last", kText, "abcdef", 2,
         [](TemplateEditor& e) { e.Insert('X'); }, "aXbcde", 3},
        {"overstrike replaces", kText, "abcdef", 2, [](TemplateEditor& e) { e.Overstrike('X'); }, "aXcdef", 3},
        {"typing on the last position goes out", kText, "abcdef", 6, [](TemplateEditor& e) { e.Overstrike('X'); },
         "abcdeX", 6},
        {"backspace deletes left of the caret", kText, "abcdef", 3, [](TemplateEditor& e) { e.BackSpace(); }, "acdef ",
         2},
        {"backspace at the first position does nothing", kText, "abcdef", 1, [](TemplateEditor& e) { e.BackSpace(); },
         "abcdef", 1},
        {"delete takes the character at the caret", kText, "abcdef", 3, [](TemplateEditor& e) { e.Delete(); }, "abdef ",
         3},
        {"delete to the end", kText, "abcdef", 3, [](TemplateEditor& e) { e.DelEnd(); }, "ab    ", 3},
        {"delete the word right", kText, "ab cd ", 1, [](TemplateEditor& e) { e.DelWordRight(); }, "cd    ", 1},
        {"delete the word left", kText, "ab cd ", 6, [](TemplateEditor& e) { e.DelWordLeft(); }, "ab    ", 4},
        {"a date's dots are skipped", kDay, "15.07.2024", 2, [](TemplateEditor& e) { e.Overstrike('8'); }, "18.07.2024",
         4},
        {"a date's dots do not move when deleting", kDay, "15.07.2024", 1, [](TemplateEditor& e) { e.Delete(); },
         "5 .07.2024", 1},
        {"a letter is not a digit", kAmount, "  12.50", 1, [](TemplateEditor& e) { e.Overstrike('x'); }, "  12.50", 1},
        {"the point tidies the number", kAmount, "12  .50", 2, [](TemplateEditor& e) { e.ToDecPos(); }, "  12.50", 6},
        {"a logical takes J as true", kDone, "F", 1, [](TemplateEditor& e) { e.Overstrike('j'); }, "T", 1},
        {"a pending clearing empties first", kText, "abcdef", 4,
         [](TemplateEditor& e) {
             e.clear = true;
             e.Overstrike('Z');
         },
         "Z     ", 2},
    };
    for (const auto& c : cases) {
        Editing editing(c.form, c.start, c.pos);
        c.step(editing.editor);
        EXPECT_EQ(editing.editor.buffer, c.buffer) << c.what;
        EXPECT_EQ(editing.editor.pos, c.posAfter) << c.what;
    }
}

TEST(TemplateEditorTest, TheBufferBecomesTheValueInTheStoredForm) {
    const struct {
        dbf::FieldDef form;
        QString buffer;
        QString value;
    } cases[] = {
        {kText, "Anna  ", "Anna  "},
        {kAmount, "5 12.50", " 512.50"},  // blanks between digits do not split the number
        {kAmount, "    .  ", "       "},
        {kDay, "  .  .    ", "          "},
        {kDay, "31.02.2024", "31.02.2024"},  // kept as typed: the write refuses it
    };
    for (const auto& c : cases) {
        Editing editing(c.form, QString(), 1);
        editing.editor.buffer = c.buffer;
        editing.editor._assign();
        EXPECT_EQ(editing.value, c.value) << c.buffer.toStdString();
    }
}

TEST(TemplateEditorTest, ABadDateIsToldOnlyForADate) {
    const struct {
        dbf::FieldDef form;
        QString buffer;
        bool bad;
    } cases[] = {
        {kDay, "31.02.2024", true}, {kDay, "29.02.2024", false},  {kDay, "  .  .    ", false},
        {kDay, "1 .07.2024", true}, {kText, "31.02.2024", false},
    };
    for (const auto& c : cases) {
        Editing editing(c.form, c.buffer, 1);
        EXPECT_EQ(editing.editor.badDate(), c.bad) << c.buffer.toStdString();
    }
}

TEST(TemplateEditorTest, MovesStopAtTheEdgesAndTellWhenTheyWouldGoOut) {
    Editing editing(kDay, "15.07.2024", 1);
    TemplateEditor& e = editing.editor;
    e.Left();
    EXPECT_EQ(e.pos, 1);
    e.End();
    EXPECT_EQ(e.pos, 10);
    e.Right();
    EXPECT_TRUE(e.typeOut);
    EXPECT_EQ(e.pos, 10);
    e.Left();
    e.Left();
    EXPECT_EQ(e.pos, 8);
    e.pos = 4;
    e.Left();
    EXPECT_EQ(e.pos, 2) << "over the dot";
    Editing empty(kText, "      ", 3);
    empty.editor.End();
    EXPECT_EQ(empty.editor.pos, 1) << "no text: End stays on the first position";
}

}  // namespace
}  // namespace sendwerk
