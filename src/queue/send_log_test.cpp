#include "queue/send_log.h"

#include <gtest/gtest.h>

#include "dbf/table.h"
#include "queue/testing/queue_office.h"
#include "support/take.h"

using sendwerk::testing::take;

namespace sendwerk {
namespace {

using testing::QueueOffice;

TEST(SendLog, CreatedWithExactlySixCharacterFields) {
    QueueOffice o;
    std::unique_ptr<dbf::Table> log;
    ASSERT_TRUE(take(
        log, dbf::Table::open(o.office.native(QStringLiteral("ZUMA/CMail/LOG_SENDWERK.DBF")), dbf::ShareMode::Shared)));
    const struct {
        const char* name;
        int width;
    } expected[] = {{"AUFTRNR", 6}, {"ART", 1}, {"DATUM", 10}, {"ZEIT", 8}, {"FORMULAR", 50}, {"ADRESSE", 50}};
    ASSERT_EQ(log->fields().size(), 6);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(log->fields()[i].name, expected[i].name);
        EXPECT_EQ(log->fields()[i].type, 'C');
        EXPECT_EQ(log->fields()[i].width, expected[i].width);
    }
    EXPECT_EQ(o.areas.alias(kSendLogArea), "LOG_SENDWERK");
}

TEST(SendLog, AppendCutsPadsCommitsAndKeepsTheSelectedArea) {
    QueueOffice o;
    o.areas.select(3);
    const QString longForm = QString(60, 'f');
    appendSendLog(o.areas, o.clock, QStringLiteral("123456"), 'M', longForm, "M\xFCller@x.de");
    EXPECT_EQ(o.areas.selected(), 3);
    std::unique_ptr<dbf::Table> log;
    log = std::move(
        dbf::Table::open(o.office.native(QStringLiteral("ZUMA/CMail/LOG_SENDWERK.DBF")), dbf::ShareMode::Shared)
            .value());
    ASSERT_EQ(log->recCount(), 1);
    log->goTop();
    EXPECT_EQ(log->rawField(QStringLiteral("DATUM")), "15.07.24  ");
    EXPECT_EQ(log->rawField(QStringLiteral("ZEIT")), "09:00:00");
    EXPECT_EQ(log->text(QStringLiteral("FORMULAR")), QByteArray(50, 'f'));
    EXPECT_EQ(log->text(QStringLiteral("ADRESSE")), "M\xFCller@x.de");
}

}  // namespace
}  // namespace sendwerk
