// Tables, memos and indexes exchanged with engines nobody here wrote: python3-dbf
// writes, python3-dbfread and Perl's dbf_dump and index_dump read. A missing
// peer fails the test with a message naming it: scripts/install-deps provides them.
#include "dbf/ntx_builder.h"
#include "dbf/table.h"
#include "support/temp_office.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <random>

#include <gtest/gtest.h>
#include "support/take.h"

using sendwerk::testing::take;

namespace sendwerk::dbf {
namespace {

const QString peerScripts = sendwerk::testing::sourceDir() + QStringLiteral("/tests/dbf");

// Runs a peer and returns its standard output; a missing peer or a failure is a test
// failure that says what went wrong.
QByteArray runPeer(const QString& program, const QStringList& arguments) {
    if (!QFileInfo(program).isExecutable()) {
        ADD_FAILURE() << program.toStdString() << " is missing: run scripts/install-deps";
        return {};
    }
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        ADD_FAILURE() << program.toStdString() << " " << arguments.join(' ').toStdString()
                      << " failed: " << process.readAllStandardError().toStdString();
        return {};
    }
    return process.readAllStandardOutput();
}

QByteArray python(const QString& script, const QStringList& arguments) {
    return runPeer(QStringLiteral("/usr/bin/python3"), QStringList{peerScripts + "/" + script} + arguments);
}

struct Row {
    QByteArray name;  // Windows-1252
    double betrag;
    QDate tag;
    std::optional<bool> ok;
    QByteArray notiz;
    bool deleted;
};

class InteropTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir.path() + "/" + name; }
    QTemporaryDir dir;
};

TEST_F(InteropTest, ReadsATableWrittenByPythonDbf) {
    python("python_dbf_write.py", {path("peer.dbf")});
    std::unique_ptr<Table> table;
    ASSERT_TRUE(take(table, Table::open(path("PEER"), ShareMode::Shared)));
    const Row rows[] = {
        {"M\xFCller", -3.5, QDate(2024, 7, 15), true, "Email: k@f\r\nZweite Zeile \xE4\xF6\xFC", false},
        {"Wei\xDF", 12345.67, QDate(), false, "", false},
        {"gel\xF6scht", 1, QDate(1999, 12, 31), std::nullopt, "weg", true},
    };
    ASSERT_EQ(table->recCount(), 3);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name.toStdString());
        EXPECT_EQ(table->text("NAME"), row.name);
        EXPECT_EQ(table->number("BETRAG"), row.betrag);
        EXPECT_EQ(table->date("TAG"), row.tag);
        EXPECT_EQ(table->logical("OK"), row.ok);
        EXPECT_EQ(table->memo("NOTIZ"), row.notiz);
        EXPECT_EQ(table->deleted(), row.deleted);
        table->skip();
    }
    EXPECT_TRUE(table->eof());
    EXPECT_EQ(table->fields()[1].decimals, 2);
}

// Our table in three steps: created and filled, a memo rewritten, records appended by
// a second open in shared mode.
class OurTableTest : public InteropTest {
protected:
    void SetUp() override {
        Table::create(path("OURS"), {{"NAME", 'C', 12, 0},
                                     {"BETRAG", 'N', 8, 2},
                                     {"TAG", 'D', 8, 0},
                                     {"OK", 'L', 1, 0},
                                     {"NOTIZ", 'M', 10, 0}});
        const auto write = [](Table& table, const Row& row) {
            table.appendBlank();
            table.put("NAME", row.name);
            table.putNumber("BETRAG", row.betrag);
            table.putDate("TAG", row.tag);
            if (row.ok) table.putLogical("OK", *row.ok);
            table.putMemo("NOTIZ", row.notiz);
            table.setDeleted(row.deleted);
        };
        std::unique_ptr<Table> table;
        ASSERT_TRUE(take(table, Table::open(path("OURS"), ShareMode::Exclusive)));
        write(*table, rows[0]);
        table->putMemo("NOTIZ", "erst dies");
        write(*table, rows[1]);
        table->goTo(1);
        table->putMemo("NOTIZ", rows[0].notiz);  // rewritten: goes to a new block
        table->commit();
        table.reset();
        ASSERT_TRUE(take(table, Table::open(path("OURS"), ShareMode::Shared)));
        for (int i = 2; i < 4; ++i) write(*table, rows[i]);
        table->commit();
    }

    const Row rows[4] = {
        {"M\xFCller", -3, QDate(2024, 7, 15), true, "Email: k@f\r\nZweite Zeile \xE4\xF6\xFC", false},
        {"gel\xF6scht", 0.5, QDate(1999, 12, 31), false, "weg", true},
        {"Wei\xDF", 12345.67, QDate(), std::nullopt, "", false},
        {"Stra\xDF"
         "e",
         -0.25, QDate(2026, 2, 28), false, QByteArray(700, 'x'), false},
    };
};

TEST_F(OurTableTest, IsReadValueForValueByDbfread) {
    const QJsonObject read = QJsonDocument::fromJson(python("dbfread_dump.py", {path("OURS.DBF")})).object();
    ASSERT_FALSE(read.isEmpty());
    const auto expected = [](const Row& row) {
        QJsonArray values{QString::fromLatin1(row.name), row.betrag};
        values.append(row.tag.isValid() ? QJsonValue(row.tag.toString(Qt::ISODate)) : QJsonValue());
        values.append(row.ok ? QJsonValue(*row.ok) : QJsonValue());
        // A memo field without a block is "no memo" to dbfread.
        values.append(row.notiz.isEmpty() ? QJsonValue() : QJsonValue(QString::fromLatin1(row.notiz)));
        return values;
    };
    // Latin-1 and 1252 agree on every byte the rows use.
    const auto text = [](const QJsonArray& array) { return QJsonDocument(array).toJson().toStdString(); };
    EXPECT_EQ(text(read["records"].toArray()), text({expected(rows[0]), expected(rows[2]), expected(rows[3])}));
    QJsonArray deleted;
    deleted.append(expected(rows[1]));
    EXPECT_EQ(text(read["deleted"].toArray()), text(deleted));
    EXPECT_EQ(read["fields"].toArray(), (QJsonArray{"NAME", "BETRAG", "TAG", "OK", "NOTIZ"}));
}

TEST_F(OurTableTest, IsReadValueForValueByPerlDbfDump) {
    const QByteArray dump = runPeer("/usr/bin/dbf_dump", {"--fs", "|", "--rs", "<END>\n", path("OURS.DBF")});
    // dbf_dump leaves deleted records out, shows numbers as numbers and logicals as 1/0.
    const QByteArray expected =
        "M\xFCller|-3|20240715|1|Email: k@f\r\nZweite Zeile \xE4\xF6\xFC<END>\n"
        "Wei\xDF|12345.67|||<END>\n"
        "Stra\xDF"
        "e|-0.25|20260228|0|" +
        QByteArray(700, 'x') + "<END>\n";
    EXPECT_EQ(dump, expected);
}

QByteArray nameOf(int number) { return "K" + QByteArray::number((number + 50000) * 7 % 100003).rightJustified(6, '0'); }

TEST_F(InteropTest, IndexesOfTenThousandRecordsAreListedInOrderByPerl) {
    constexpr int count = 10000;
    Table::create(path("BEST"), {{"AUFTRNR", 'N', 6, 0}, {"NAME", 'C', 10, 0}});
    std::unique_ptr<Table> table;
    ASSERT_TRUE(take(table, Table::open(path("BEST"), ShareMode::Exclusive)));
    std::vector<int> numbers(count);
    for (int i = 0; i < count; ++i) numbers[static_cast<std::size_t>(i)] = i * 37 - 50000;  // negatives too
    std::shuffle(numbers.begin(), numbers.end(), std::mt19937(1));
    for (int n : numbers) {
        table->appendBlank();
        table->putNumber("AUFTRNR", n);
        table->put("NAME", nameOf(n));
    }
    table->commit();
    buildIndex(*table, path("NAME.NTX"), "NAME");
    buildIndex(*table, path("NR.NTX"), "AUFTRNR");

    const struct {
        const char* file;
        const char* type;
        const char* field;
        bool numeric;
    } indexes[] = {{"NAME.NTX", "-type=char", "NAME", false}, {"NR.NTX", "-type=num", "AUFTRNR", true}};
    for (const auto& index : indexes) {
        SCOPED_TRACE(index.file);
        const QList<QByteArray> lines =
            runPeer("/usr/bin/index_dump", {index.type, path(index.file), "notag"}).split('\n');
        QList<QByteArray> keys;
        for (const QByteArray& line : lines) {
            if (line.isEmpty()) continue;
            const qsizetype blank = line.lastIndexOf(' ');
            const QByteArray key = line.left(blank);
            table->goTo(line.mid(blank + 1).toInt());
            if (index.numeric)
                EXPECT_EQ(key.toDouble(), *table->number(index.field)) << line.toStdString();
            else
                EXPECT_EQ(key, table->rawField(index.field)) << line.toStdString();
            keys.append(key);
        }
        ASSERT_EQ(keys.size(), count);
        if (index.numeric)
            EXPECT_TRUE(std::is_sorted(keys.begin(), keys.end(), [](const QByteArray& a, const QByteArray& b) {
                return a.toDouble() < b.toDouble();
            }));
        else
            EXPECT_TRUE(std::is_sorted(keys.begin(), keys.end()));

        table->setIndex(path(index.file));
        for (int n : numbers) {
            table->goTo(1);
            const bool hit = index.numeric ? table->seek(double(n)) : table->seek(nameOf(n));
            ASSERT_TRUE(hit) << n;
            if (index.numeric) {
                ASSERT_EQ(table->number("AUFTRNR"), n);
            }
        }
    }
}

}  // namespace
}  // namespace sendwerk::dbf
