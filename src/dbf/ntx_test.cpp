#include "dbf/index_key.h"
#include "dbf/ntx_builder.h"
#include "dbf/table.h"

#include "raw_tables.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <algorithm>
#include <random>

#include <gtest/gtest.h>

namespace sendwerk::dbf {
namespace {

using testing::littleEndianAt;
using testing::readFile;
using testing::writeFile;

class NtxTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir.path() + "/" + name; }

    // A table NR N(6) / NAME C(8) / BETRAG N(7,2) with the given rows.
    std::unique_ptr<Table> tableOf(const QList<std::tuple<int, QByteArray, double>>& rows) {
        // Each call starts from a fresh table (create never replaces one).
        QFile::remove(path("T.DBF"));
        Table::create(path("T"), {{"NR", 'N', 6, 0}, {"NAME", 'C', 8, 0}, {"BETRAG", 'N', 7, 2}});
        std::unique_ptr<Table> table;
        table = std::move(Table::open(path("T"), ShareMode::Exclusive).value());
        for (const auto& [nr, name, betrag] : rows) {
            table->appendBlank();
            table->putNumber("NR", nr);
            table->put("NAME", name);
            table->putNumber("BETRAG", betrag);
        }
        table->commit();
        return table;
    }

    std::unique_ptr<Table> numbered(int count) {
        QList<std::tuple<int, QByteArray, double>> rows;
        std::vector<int> numbers(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i) numbers[static_cast<std::size_t>(i)] = (i * 7919) % 1000003;
        std::shuffle(numbers.begin(), numbers.end(), std::mt19937(42));
        for (int n : numbers) rows.append({n, QByteArray::number(n), 0.0});
        return tableOf(rows);
    }

    QTemporaryDir dir;
};

TEST_F(NtxTest, HeaderFollowsTheLayout) {
    auto table = numbered(10);
    buildIndex(*table, path("X.NTX"), "str(nr,6)");
    const QByteArray ntx = readFile(path("X.NTX"));
    ASSERT_EQ(ntx.size(), 2 * 1024);
    const auto u16 = [&ntx](int at) { return littleEndianAt<quint16>(ntx, at); };
    EXPECT_EQ(u16(0), 6);
    EXPECT_EQ(littleEndianAt<quint32>(ntx, 4), 1024u);  // root
    EXPECT_EQ(u16(12), 14);                             // item size
    EXPECT_EQ(u16(14), 6);                              // key size
    EXPECT_EQ(u16(18), 62);                             // m
    EXPECT_EQ(u16(20), 31);                             // half page
    EXPECT_EQ(ntx.mid(22, 11), QByteArray("STR(NR,6)\0\0", 11));
    EXPECT_EQ(u16(1024), 10);                // items on the root
    EXPECT_EQ(u16(1024 + 2), 2 * (62 + 2));  // first slot
    EXPECT_EQ(ntx.mid(1024 + 128 + 8, 6), "     0");
}

TEST_F(NtxTest, ItemsPerPageFollowTheKeySize) {
    const struct { int keySize, m; } cases[] = {{6, 62}, {8, 54}, {10, 50}, {1, 90}, {100, 8}, {250, 2}};
    for (const auto& c : cases) {
        const QString name = "K" + QString::number(c.keySize);
        Table::create(path(name), {{"K", 'C', c.keySize, 0}});
        std::unique_ptr<Table> table;
        table = std::move(Table::open(path(name), ShareMode::Exclusive).value());
        buildIndex(*table, path(name + ".NTX"), "K");
        const QByteArray ntx = readFile(path(name + ".NTX"));
        EXPECT_EQ(littleEndianAt<quint16>(ntx, 18), c.m) << c.keySize;
        EXPECT_EQ(littleEndianAt<quint16>(ntx, 20), c.m / 2) << c.keySize;
    }
}

TEST_F(NtxTest, EveryKeyIsFoundAndTheOrderHoldsAtEverySize) {
    for (int count : {0, 1, 62, 63, 64, 125, 126, 3000, 10000}) {
        auto table = numbered(count);
        buildIndex(*table, path("X.NTX"), "STR(NR,6)");
        table->setIndex(path("X.NTX"));
        std::vector<int> expected;
        for (int i = 0; i < count; ++i) expected.push_back((i * 7919) % 1000003);
        std::sort(expected.begin(), expected.end());

        std::vector<int> forward;
        for (table->goTop(); !table->eof(); table->skip()) forward.push_back(int(*table->number("NR")));
        EXPECT_EQ(forward, expected) << count;
        std::vector<int> backward;
        for (table->goBottom(); !table->bof() && !table->eof(); table->skip(-1))
            backward.push_back(int(*table->number("NR")));
        std::reverse(backward.begin(), backward.end());
        EXPECT_EQ(backward, expected) << count;

        for (int n : expected) {
            ASSERT_TRUE(table->seek(QByteArray::number(n).rightJustified(6, ' '))) << count << " " << n;
            ASSERT_EQ(table->number("NR"), n);
        }
        EXPECT_FALSE(table->seek(QByteArray("999999")));
        EXPECT_TRUE(table->eof());
    }
}

TEST_F(NtxTest, SoftAndPrefixSeeks) {
    auto table =
        tableOf({{10, "Meier", 0}, {20, "M\xFCller", 0}, {30, "Abel", 0}, {40, "M\xFCller", 0}, {50, "Zander", 0}});
    buildIndex(*table, path("N.NTX"), "NAME");
    table->setIndex(path("N.NTX"));
    const struct {
        QByteArray key;
        bool soft;
        bool found;
        int nr;  // 0: end of file
    } cases[] = {
        {"Abel", false, true, 30},     {"M\xFCller", false, true, 20}, {"M\xFC", false, true, 20},
        {"M", false, true, 10},        {"Mo", false, false, 0},        {"Mo", true, false, 20},
        {"Zz", true, false, 0},        {"", false, true, 30},          {"Zander  und mehr", false, true, 50},
        {"Meier   ", false, true, 10},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(table->seek(c.key, c.soft), c.found) << c.key.toStdString();
        EXPECT_EQ(table->found(), c.found) << c.key.toStdString();
        if (c.nr == 0) {
            EXPECT_TRUE(table->eof()) << c.key.toStdString();
        } else {
            EXPECT_EQ(table->number("NR"), c.nr) << c.key.toStdString();
        }
    }
    // From a seek the walk goes on in key order, duplicates by record number.
    table->seek(QByteArray("M\xFCller"));
    table->skip();
    EXPECT_EQ(table->number("NR"), 40.0);
    table->skip();
    EXPECT_EQ(table->number("NR"), 50.0);
    // A physical goTo() is followed by key order too.
    table->goTo(1);
    table->skip();
    EXPECT_EQ(table->number("NR"), 20.0);
}

TEST_F(NtxTest, NumericKeysEncodeNegativesBelowPositives) {
    const struct {
        double value;
        int width, decimals;
        QByteArray key;
    } cases[] = {
        {42, 6, 0, "000042"},   {0, 6, 0, "000000"},
        {-3, 6, 2, ",,).,,"},  // " -3.00" -> "003.00" -> each digit d as 0x5C - d
        {-10, 4, 0, ",,+,"},    {123456, 6, 0, "123456"},
        {1.5, 7, 2, "0001.50"},
    };
    for (const auto& c : cases) EXPECT_EQ(numericKey(c.value, c.width, c.decimals), c.key) << c.value;

    QList<std::tuple<int, QByteArray, double>> rows;
    std::vector<double> values;
    std::mt19937 random(7);
    for (int i = 0; i < 500; ++i) {
        const double v = std::round((static_cast<int>(random() % 200000) - 100000) / 1.0) / 100.0;
        values.push_back(v);
        rows.append({i, "", v});
    }
    auto table = tableOf(rows);
    buildIndex(*table, path("B.NTX"), "BETRAG");
    table->setIndex(path("B.NTX"));
    EXPECT_TRUE(table->indexIsNumeric());
    std::vector<double> seen;
    for (table->goTop(); !table->eof(); table->skip()) seen.push_back(*table->number("BETRAG"));
    std::sort(values.begin(), values.end());
    EXPECT_EQ(seen, values);
    for (double v : values) {
        ASSERT_TRUE(table->seek(v)) << v;
        EXPECT_EQ(table->number("BETRAG"), v);
    }
    // Text on a numeric key is taken as a number.
    ASSERT_TRUE(table->seek(QByteArray::number(values.front(), 'f', 2)));
    EXPECT_EQ(table->number("BETRAG"), values.front());
    EXPECT_FALSE(table->seek(-12345.67));
}

TEST_F(NtxTest, SeekOfANumberOnAStrKeyAndNumericFieldKeys) {
    auto table = tableOf({{42, "a", 0}, {7, "b", 0}, {-1, "c", 0}});
    buildIndex(*table, path("S.NTX"), "STR(NR,6)");
    buildIndex(*table, path("R.NTX"), "NR");
    table->setIndex(path("S.NTX"));
    EXPECT_FALSE(table->indexIsNumeric());
    EXPECT_TRUE(table->seek(42.0));
    EXPECT_EQ(table->text("NAME"), "a");
    table->setIndex(path("R.NTX"));  // replaces the first one
    EXPECT_EQ(table->indexExpression(), "NR");
    table->goTop();
    EXPECT_EQ(table->number("NR"), -1.0);
    EXPECT_TRUE(table->seek(QByteArray("7")));
    EXPECT_EQ(table->text("NAME"), "b");
    table->clearIndexes();
    EXPECT_FALSE(table->hasIndex());
    EXPECT_THROW(table->seek(QByteArray("7")), DbfError);
}

TEST_F(NtxTest, UnsupportedExpressionsAreRefused) {
    Table::create(path("T"), {{"NAME", 'C', 8, 0}, {"M", 'M', 10, 0}, {"NR", 'N', 4, 0}});
    std::unique_ptr<Table> table;
    table = std::move(Table::open(path("T"), ShareMode::Exclusive).value());
    for (const char* expression : {"UPPER(NAME)", "NOPE", "M", "STR(NAME,5)", "NAME+NAME", "STR(NR,40)", ""})
        EXPECT_THROW(buildIndex(*table, path("X.NTX"), expression), DbfError) << expression;
}

TEST_F(NtxTest, DamagedIndexesAreRefusedWithoutLooping) {
    auto table = numbered(200);  // three pages below a root
    buildIndex(*table, path("GOOD.NTX"), "STR(NR,6)");
    const QByteArray good = readFile(path("GOOD.NTX"));
    const quint32 root = littleEndianAt<quint32>(good, 4);
    const int firstSlot = littleEndianAt<quint16>(good, root + 2);
    const auto patched = [&good](int at, quint32 value, int size = 4) {
        QByteArray bytes = good;
        if (size == 4)
            qToLittleEndian<quint32>(value, bytes.data() + at);
        else
            qToLittleEndian<quint16>(static_cast<quint16>(value), bytes.data() + at);
        return bytes;
    };
    const struct {
        const char* what;
        QByteArray bytes;
        const char* message;
    } cases[] = {
        {"bad signature", patched(0, 0x1234, 2), "not an NTX index"},
        {"truncated header", good.left(100), "truncated index header"},
        {"root outside the file", patched(4, 1 << 20), "root page pointer"},
        {"key size against expression", patched(14, 7, 2), "do not agree"},
        {"child outside the file", patched(int(root) + firstSlot, 99 * 1024), "outside the file"},
        {"child points back at the root", patched(int(root) + firstSlot, root), "cycle"},
        {"too many items", patched(int(root), 500, 2), "more than a page holds"},
        {"slot outside the page", patched(int(root) + 2, 1020, 2), "slot outside the page"},
        {"descending", patched(280, 1, 2), "descending indexes are not supported"},
    };
    for (const auto& c : cases) {
        writeFile(path("BAD.NTX"), c.bytes);
        try {
            table->setIndex(path("BAD.NTX"));
            table->goTop();
            for (int i = 0; i < 1000 && !table->eof(); ++i) table->skip();
            table->seek(QByteArray("     0"));
            ADD_FAILURE() << c.what << ": no error";
        } catch (const DbfError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << c.what << ": " << e.what();
            EXPECT_NE(std::string(e.what()).find("BAD.NTX"), std::string::npos) << c.what << ": " << e.what();
        }
    }
}

}  // namespace
}  // namespace sendwerk::dbf
