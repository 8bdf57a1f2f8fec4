#include "dbf/table.h"

#include "raw_tables.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>
#include "support/take.h"

using sendwerk::testing::take;

namespace sendwerk::dbf {
namespace {

using testing::readFile;

class TableTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir.path() + "/" + name; }

    std::unique_ptr<Table> openTable(const QString& name, ShareMode mode = ShareMode::Shared) {
        std::unique_ptr<Table> table;
        EXPECT_TRUE(take(table, Table::open(path(name), mode)));
        return table;
    }

    QList<FieldDef> allTypes() const {
        return {
            {"NAME", 'C', 10, 0}, {"BETRAG", 'N', 8, 2}, {"TAG", 'D', 8, 0}, {"OK", 'L', 1, 0}, {"NOTIZ", 'M', 10, 0}};
    }

    QTemporaryDir dir;
};

TEST_F(TableTest, CreateWritesDbaseThreeHeaderAndAddsExtension) {
    Table::create(path("log"), {{"auftrnr", 'C', 6, 0}, {"ART", 'C', 1, 0}});
    const QByteArray bytes = readFile(path("log.DBF"));
    ASSERT_EQ(bytes.size(), 32 + 64 + 1 + 1);
    EXPECT_EQ(bytes.at(0), 0x03);
    EXPECT_EQ(bytes.at(8), 97);  // header length, lone 0x0D terminator
    EXPECT_EQ(bytes.at(10), 8);  // 1 + 6 + 1
    EXPECT_EQ(bytes.mid(32, 8), QByteArray("AUFTRNR\0", 8));
    EXPECT_EQ(bytes.at(96), 0x0D);
    EXPECT_EQ(bytes.at(97), 0x1A);
    auto table = openTable("LOG");  // matched case-insensitively, extension added
    EXPECT_EQ(table->alias(), "LOG");
    EXPECT_EQ(table->recCount(), 0);
    EXPECT_TRUE(table->eof());
    EXPECT_TRUE(table->bof());
}

TEST_F(TableTest, CreateWithMemoMakesVersion83AndEmptyDbt) {
    Table::create(path("T"), allTypes());
    EXPECT_EQ(readFile(path("T.DBF")).at(0), char(0x83));
    const QByteArray dbt = readFile(path("T.DBT"));
    ASSERT_EQ(dbt.size(), 512);
    EXPECT_EQ(dbt.at(0), 1);  // next free block
}

TEST_F(TableTest, RefusesBadFieldLists) {
    const struct {
        const char* what;
        QList<FieldDef> fields;
        const char* message;
    } cases[] = {
        {"no fields", {}, "at least one field"},
        {"name of 11", {{"ABCDEFGHIJK", 'C', 5, 0}}, "1 to 10 characters"},
        {"empty name", {{"", 'C', 5, 0}}, "1 to 10 characters"},
        {"umlaut in name", {{QString::fromUtf8("GRÖSSE"), 'C', 5, 0}}, "ASCII"},
        {"blank in name", {{"A B", 'C', 5, 0}}, "ASCII"},
        {"twice", {{"A", 'C', 5, 0}, {"a", 'N', 5, 0}}, "twice"},
        {"unknown type", {{"A", 'X', 5, 0}}, "unknown type"},
        {"C too wide", {{"A", 'C', 300, 0}}, "1 to 254"},
        {"C width 0", {{"A", 'C', 0, 0}}, "1 to 254"},
        {"N decimals", {{"A", 'N', 4, 3}}, "decimals"},
    };
    for (const auto& c : cases) {
        try {
            Table::create(path("bad"), c.fields);
            ADD_FAILURE() << c.what << ": no error";
        } catch (const DbfError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << c.what << ": " << e.what();
            EXPECT_NE(std::string(e.what()).find("bad.DBF"), std::string::npos) << c.what << ": " << e.what();
        }
    }
}

TEST_F(TableTest, ValuesRoundTripThroughTheFile) {
    Table::create(path("T"), allTypes());
    {
        auto table = openTable("T");
        table->appendBlank();
        table->put("name", "M\xFCller");  // 1252 bytes are stored as they are
        table->putNumber("BETRAG", -3);
        table->putDate("TAG", QDate(2024, 7, 15));
        table->putLogical("OK", true);
        table->putMemo("NOTIZ", "Email: k@f\r\nzweite Zeile");
        table->appendBlank();
        table->commit();
    }
    auto table = openTable("T");
    ASSERT_EQ(table->recCount(), 2);
    table->goTo(1);
    EXPECT_EQ(table->rawField("NAME"), "M\xFCller    ");
    EXPECT_EQ(table->text("NAME"), "M\xFCller");
    EXPECT_EQ(table->rawField("BETRAG"), "   -3.00");
    EXPECT_EQ(table->number("BETRAG"), -3.0);
    EXPECT_EQ(table->date("TAG"), QDate(2024, 7, 15));
    EXPECT_EQ(table->logical("OK"), true);
    EXPECT_EQ(table->memo("NOTIZ"), "Email: k@f\r\nzweite Zeile");
    EXPECT_EQ(table->text("notiz"), "Email: k@f\r\nzweite Zeile");
    table->skip();
    EXPECT_EQ(table->recNo(), 2);
    EXPECT_EQ(table->text("NAME"), "");
    EXPECT_EQ(table->number("BETRAG"), std::nullopt);
    EXPECT_FALSE(table->date("TAG").isValid());
    EXPECT_EQ(table->logical("OK"), std::nullopt);
    EXPECT_EQ(table->memo("NOTIZ"), "");
}

TEST_F(TableTest, TextIsPaddedAndCutAtTheWidth) {
    Table::create(path("T"), {{"F", 'C', 5, 0}});
    auto table = openTable("T");
    const struct {
        QByteArray given, stored;
    } cases[] = {{"", "     "},
                 {"ab", "ab   "},
                 {"abcde", "abcde"},
                 {"abcdefgh", "abcde"},
                 {"\xE4\xF6\xFC\xDF\x80", "\xE4\xF6\xFC\xDF\x80"}};
    for (const auto& c : cases) {
        table->appendBlank();
        table->put("F", c.given);
        EXPECT_EQ(table->rawField("F"), c.stored) << c.given.toStdString();
    }
}

TEST_F(TableTest, NumbersAreRightAlignedWithExactDecimals) {
    Table::create(path("T"), {{"N", 'N', 8, 2}, {"I", 'N', 3, 0}});
    auto table = openTable("T");
    table->appendBlank();
    const struct {
        const char* field;
        double value;
        QByteArray stored;
    } cases[] = {{"N", 0, "    0.00"},      {"N", -3, "   -3.00"}, {"N", 12345.678, "12345.68"},
                 {"N", -0.001, "    0.00"}, {"I", 999, "999"},     {"I", -99, "-99"},
                 {"I", 2.5, "  3"},         {"I", -2.5, " -3"}};
    for (const auto& c : cases) {
        table->putNumber(c.field, c.value);
        EXPECT_EQ(table->rawField(c.field), c.stored) << c.value;
    }
}

TEST_F(TableTest, ANumberThatDoesNotFitIsRefusedAndTheFieldKept) {
    Table::create(path("T"), {{"I", 'N', 3, 0}, {"N", 'N', 6, 2}});
    auto table = openTable("T");
    table->appendBlank();
    table->putNumber("I", 7);
    EXPECT_THROW(table->putNumber("I", 1000), DbfError);
    EXPECT_THROW(table->putNumber("I", -100), DbfError);
    EXPECT_THROW(table->putNumber("N", 1000), DbfError);  // "1000.00" is 7 wide
    EXPECT_THROW(table->put("I", "1234"), DbfError);
    EXPECT_EQ(table->rawField("I"), "  7");
}

TEST_F(TableTest, WrongUseOfFieldsIsAnError) {
    Table::create(path("T"), {{"C", 'C', 3, 0}, {"N", 'N', 3, 0}});
    auto table = openTable("T");
    EXPECT_THROW(table->put("C", "x"), DbfError);  // empty table: end of file
    table->appendBlank();
    EXPECT_THROW(table->rawField("NOPE"), DbfError);
    EXPECT_THROW(table->putNumber("C", 1), DbfError);
    EXPECT_THROW(table->putDate("N", QDate(2024, 1, 1)), DbfError);
    EXPECT_THROW(table->memo("C"), DbfError);
    EXPECT_EQ(table->fieldIndex("n"), 1);
    EXPECT_EQ(table->fieldIndex("NOPE"), -1);
}

TEST_F(TableTest, NavigationFollowsRecordNumbers) {
    Table::create(path("T"), {{"N", 'N', 3, 0}});
    auto table = openTable("T");
    for (int i = 1; i <= 3; ++i) {
        table->appendBlank();
        table->putNumber("N", i);
    }
    table->goTop();
    EXPECT_EQ(table->recNo(), 1);
    EXPECT_FALSE(table->bof());
    table->skip(-1);
    EXPECT_TRUE(table->bof());
    EXPECT_EQ(table->recNo(), 1);
    table->goBottom();
    EXPECT_EQ(table->number("N"), 3.0);
    table->skip();
    EXPECT_TRUE(table->eof());
    EXPECT_EQ(table->recNo(), 4);
    EXPECT_EQ(table->rawField("N"), "   ");  // blank at end of file
    table->skip(-1);
    EXPECT_EQ(table->recNo(), 3);
    table->goTo(0);
    EXPECT_TRUE(table->eof());
    table->goTo(2);
    EXPECT_EQ(table->number("N"), 2.0);
}

TEST_F(TableTest, ReadsByNumberNeitherMoveTheCursorNorWriteThePendingEdit) {
    Table::create(path("T"), {{"NAME", 'C', 4, 0}, {"N", 'N', 2, 0}});
    auto table = openTable("T");
    for (const char* name : {"eins", "zwei"}) {
        table->appendBlank();
        table->put("NAME", name);
    }
    table->commit();
    table->goTo(1);
    table->put("NAME", "halb");  // an edit not yet written
    EXPECT_EQ(table->fieldAt(2, 0), "zwei");
    EXPECT_EQ(table->fieldAt(1, 0), "eins") << "the disk, not the pending edit";
    EXPECT_EQ(table->recordAt(2), " zwei  ");
    EXPECT_EQ(table->fieldIn(table->recordAt(2), 1), "  ");
    EXPECT_EQ(table->recNo(), 1);
    EXPECT_EQ(table->text("NAME"), "halb");
    EXPECT_EQ(table->fieldAt(1, 0), "eins") << "nothing was flushed by the reads";
    for (const int outside : {0, 3, -1}) EXPECT_TRUE(table->recordAt(outside).isEmpty()) << outside;
    EXPECT_TRUE(table->fieldAt(1, 7).isEmpty());
}

TEST_F(TableTest, DeletedRecordsStayReadableAndFlagged) {
    Table::create(path("T"), {{"C", 'C', 3, 0}});
    {
        auto table = openTable("T");
        table->appendBlank();
        table->put("C", "a");
        table->setDeleted(true);
        table->appendBlank();
        table->put("C", "b");
        table->commit();
    }
    const QByteArray bytes = readFile(path("T.DBF"));
    EXPECT_EQ(bytes.mid(bytes.size() - 9), "*a   b  \x1A");
    auto table = openTable("T");
    EXPECT_TRUE(table->deleted());
    EXPECT_EQ(table->text("C"), "a");
    table->skip();
    EXPECT_FALSE(table->deleted());
    table->setDeleted(true);
    table->setDeleted(false);
    EXPECT_FALSE(table->deleted());
}

TEST_F(TableTest, AChangedMemoGoesToTheNextFreeBlock) {
    Table::create(path("T"), {{"M", 'M', 10, 0}});
    auto table = openTable("T");
    table->appendBlank();
    table->putMemo("M", QByteArray(600, 'x'));  // blocks 1 and 2
    EXPECT_EQ(table->rawField("M"), "         1");
    table->putMemo("M", "kurz");
    EXPECT_EQ(table->rawField("M"), "         3");
    EXPECT_EQ(table->memo("M"), "kurz");
    table->putMemo("M", "");
    EXPECT_EQ(table->rawField("M"), "          ");
    EXPECT_THROW(table->putMemo("M",
                                "a\x1A"
                                "b"),
                 DbfError);
    table->commit();
    const QByteArray dbt = readFile(path("T.DBT"));
    EXPECT_EQ(dbt.at(0), 4);                      // next free block
    EXPECT_EQ(dbt.mid(3 * 512), "kurz\x1A\x1A");  // the last block is not padded
}

TEST_F(TableTest, AnAppendedRecordOverwritesTheEndOfFileByte) {
    Table::create(path("T"), {{"C", 'C', 2, 0}});
    auto table = openTable("T", ShareMode::Exclusive);
    table->appendBlank();
    table->put("C", "ab");
    table->appendBlank();
    table->commit();
    const QByteArray bytes = readFile(path("T.DBF"));
    EXPECT_EQ(bytes.mid(bytes.size() - 7), " ab   \x1A");
    EXPECT_EQ(bytes.at(4), 2);  // record count in the header
}

}  // namespace
}  // namespace sendwerk::dbf
