#include "dbf/field_text.h"

#include <gtest/gtest.h>

namespace sendwerk::dbf {
namespace {

const FieldDef kName{"NAME", 'C', 5, 0};
const FieldDef kAmount{"BETRAG", 'N', 7, 2};
const FieldDef kDay{"TAG", 'D', 8, 0};
const FieldDef kDone{"OK", 'L', 1, 0};

TEST(FieldTextTest, TypedTextBecomesTheStoredBytesOrIsRefused) {
    const struct {
        FieldDef field;
        QString text;
        const char* stored;  // nullptr: refused
    } cases[] = {
        {kName, "Anna", "Anna "},
        {kName, "Anna      ", "Anna "},  // trailing blanks do not count towards the width
        {kName, QString::fromUtf8("Weiß"), "Wei\xDF "},
        {kName, "Annabell", nullptr},  // too long: never stored cut
        {kName, QString::fromUtf8("ĉ"), nullptr},
        {kAmount, "12,5", "  12.50"},
        {kAmount, " -3 ", "  -3.00"},
        {kAmount, "", "       "},
        {kAmount, "123456", nullptr},  // would need 9 places: never asterisks
        {kAmount, "zwei", nullptr},
        {kDay, "15.07.2024", "20240715"},
        {kDay, "20240715", "20240715"},
        {kDay, "          ", "        "},
        {kDay, "31.02.2024", nullptr},
        {kDone, "j", "T"},
        {kDone, "N", "F"},
        {kDone, "x", nullptr},
    };
    for (const auto& c : cases) {
        const Result<QByteArray> bytes = storedBytes(c.field, c.text);
        const std::string what = c.field.name.toStdString() + " <- \"" + c.text.toStdString() + "\"";
        if (c.stored == nullptr) {
            EXPECT_FALSE(bytes.ok()) << what;
            EXPECT_TRUE(bytes.cause().contains(c.field.name)) << what << ": " << bytes.cause().toStdString();
        } else {
            ASSERT_TRUE(bytes.ok()) << what << ": " << bytes.cause().toStdString();
            EXPECT_EQ(*bytes, QByteArray(c.stored)) << what;
        }
    }
}

TEST(FieldTextTest, StoredBytesAreShownInTheFormTheOfficeTypes) {
    const struct {
        FieldDef field;
        QByteArray stored;
        QString text;
    } cases[] = {
        {kName, "Wei\xDF ", QString::fromUtf8("Weiß ")},
        {kAmount, "12.5   ", "  12.50"},  // another writer's left-aligned number
        {kAmount, "       ", "       "},
        {kDay, "20240715", "15.07.2024"},
        {kDay, "        ", "          "},
        {kDone, "y", "T"},
        {kDone, "?", " "},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fieldText(c.field, c.stored), c.text) << c.field.name.toStdString();
        EXPECT_EQ(fieldText(c.field, c.stored).size(), textWidth(c.field)) << c.field.name.toStdString();
        // What is shown goes back unchanged (the grid never rewrites a value it did not change).
        const QByteArray back = storedBytes(c.field, c.text).value();
        EXPECT_EQ(fieldText(c.field, back), c.text) << c.field.name.toStdString();
    }
}

}  // namespace
}  // namespace sendwerk::dbf
