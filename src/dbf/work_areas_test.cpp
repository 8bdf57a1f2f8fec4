#include "dbf/work_areas.h"

#include "dbf/ntx_builder.h"
#include "support/temp_office.h"

#include <gtest/gtest.h>

namespace sendwerk::dbf {
namespace {

using sendwerk::testing::TempOffice;

const QList<FieldDef> logFields = {{"AUFTRNR", 'C', 6, 0}, {"ART", 'C', 1, 0}};

class WorkAreasTest : public ::testing::Test {
protected:
    WorkAreasTest() : areas(PathResolver(office.drives())) {
        office.makeFolder("CMail");
        areas.create("C:\\CMAIL\\LOG_SENDWERK", logFields);
    }
    TempOffice office;
    WorkAreas areas;
};

TEST_F(WorkAreasTest, OpensThroughTheDriveMapWithTheBaseNameAsAlias) {
    EXPECT_TRUE(office.exists("CMail/LOG_SENDWERK.DBF"));
    areas.select(28);
    ASSERT_TRUE(areas.use("C:\\cmail\\log_sendwerk", ShareMode::Shared));
    EXPECT_EQ(areas.alias(28), "LOG_SENDWERK");
    EXPECT_TRUE(areas.isOpen(28));
    EXPECT_EQ(areas.newArea(), 1);
    areas.select(1);
    ASSERT_TRUE(areas.use("C:\\CMail\\LOG_SENDWERK.DBF", ShareMode::Shared, "log"));
    EXPECT_EQ(areas.alias(1), "LOG");
    EXPECT_EQ(areas.newArea(), 2);
    EXPECT_TRUE(areas.selectAlias("log_sendwerk"));
    EXPECT_EQ(areas.selected(), 28);
    EXPECT_FALSE(areas.selectAlias("NOPE"));
    EXPECT_EQ(areas.selected(), 28);
}

TEST_F(WorkAreasTest, AppendInOneAreaIsSeenInAnother) {
    areas.select(28);
    areas.use("C:\\CMAIL\\LOG_SENDWERK", ShareMode::Shared);
    areas.select(1);
    areas.use("C:\\CMAIL\\LOG_SENDWERK", ShareMode::Shared, "LOG");
    areas.select(28);
    areas.current().appendBlank();
    areas.current().put("AUFTRNR", "123456");
    areas.current().commit();
    Table* other = areas.area(1);
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(other->recCount(), 1);
    other->goTop();
    EXPECT_EQ(other->text("AUFTRNR"), "123456");
}

TEST_F(WorkAreasTest, ExclusiveUseMeetsTheNetworkError) {
    areas.select(28);
    areas.use("C:\\CMAIL\\LOG_SENDWERK", ShareMode::Shared);
    areas.select(2);
    EXPECT_FALSE(areas.use("C:\\CMAIL\\LOG_SENDWERK", ShareMode::Exclusive));
    EXPECT_FALSE(areas.isOpen(2));
    EXPECT_THROW(areas.current(), DbfError);
    areas.select(28);
    areas.close();
    areas.select(2);
    EXPECT_TRUE(areas.use("C:\\CMAIL\\LOG_SENDWERK", ShareMode::Exclusive));
    areas.select(3);
    EXPECT_FALSE(areas.use("C:\\CMAIL\\LOG_SENDWERK", ShareMode::Shared));
}

TEST_F(WorkAreasTest, HardErrorsAreExceptions) {
    areas.select(1);
    EXPECT_THROW(areas.use("C:\\CMAIL\\FEHLT", ShareMode::Shared), DbfError);
    EXPECT_THROW(areas.use("Q:\\X", ShareMode::Shared), DbfError);  // unmapped drive
    EXPECT_THROW(areas.setIndex("C:\\CMAIL\\X"), DbfError);         // nothing open
    areas.use("C:\\CMAIL\\LOG_SENDWERK", ShareMode::Shared);
    EXPECT_THROW(areas.setIndex("C:\\CMAIL\\XAUFTRNR"), DbfError);  // missing index
}

TEST_F(WorkAreasTest, CommitAllAndCloseAll) {
    areas.select(28);
    areas.use("C:\\CMAIL\\LOG_SENDWERK", ShareMode::Shared);
    areas.current().appendBlank();
    areas.current().put("ART", "M");
    areas.commitAll();
    areas.closeAll();
    EXPECT_FALSE(areas.isOpen(28));
    areas.select(1);
    EXPECT_TRUE(areas.use("C:\\CMAIL\\LOG_SENDWERK", ShareMode::Exclusive));
    areas.current().goTop();
    EXPECT_EQ(areas.current().text("ART"), "M");
}

TEST_F(WorkAreasTest, OrderLookupThroughAnIndexOnTheDosPath) {
    office.makeFolder("ZUMA");
    areas.create("C:\\ZUMA\\best", {{"AUFTRNR", 'N', 6, 0}, {"ANSP_KTOI", 'C', 40, 0}, {"NOTIZ", 'M', 10, 0}});
    areas.select(1);
    ASSERT_TRUE(areas.use("C:\\ZUMA\\BEST", ShareMode::Exclusive));
    for (int nr : {123456, 42, 7}) {
        areas.current().appendBlank();
        areas.current().putNumber("AUFTRNR", nr);
        areas.current().put("ANSP_KTOI", " kunde" + QByteArray::number(nr) + "@example.org ");
        areas.current().putMemo("NOTIZ", "Email: n" + QByteArray::number(nr) + "@example.org\r\n");
    }
    buildIndex(areas.current(), office.native("ZUMA/xauftrnr.ntx"), "STR(AUFTRNR,6)");
    areas.close();

    ASSERT_TRUE(areas.use("C:\\ZUMA\\best", ShareMode::Shared));
    areas.setIndex("C:\\ZUMA\\XAUFTRNR");  // extension added, letter case matched
    Table& best = areas.current();
    EXPECT_EQ(best.indexExpression(), "STR(AUFTRNR,6)");
    ASSERT_TRUE(best.seek(QByteArray("    42")));
    EXPECT_EQ(best.text("ansp_ktoi"), " kunde42@example.org");
    EXPECT_EQ(best.memo("notiz"), "Email: n42@example.org\r\n");
    EXPECT_FALSE(best.seek(QByteArray("    43")));
    EXPECT_TRUE(best.eof());
    EXPECT_EQ(best.text("ANSP_KTOI"), "") << "a missing order reads as empty fields";
}

}  // namespace
}  // namespace sendwerk::dbf
