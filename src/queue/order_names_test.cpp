#include "queue/order_names.h"

#include <gtest/gtest.h>

namespace sendwerk {
namespace {

TEST(OrderNames, DerivesEveryNameOfTheStandardExample) {
    const auto n = deriveOrderNames(QStringLiteral("C:\\ZUMA\\"), QStringLiteral("Sterbefall_123456_2024-07-15.ausg"));
    ASSERT_TRUE(n);
    EXPECT_EQ(n->cMailAusName, "C:\\ZUMA\\CMail\\Ausgang\\Sterbefall_123456_2024-07-15.ausg");
    EXPECT_EQ(n->cMailResName, "C:\\ZUMA\\CMail\\Ausgang\\Sterbefall_123456_2024-07-15.result");
    EXPECT_EQ(n->cMailFailName, "C:\\ZUMA\\CMail\\Ausgang\\failure\\Sterbefall_123456_2024-07-15.ausg");
    EXPECT_EQ(n->cMailFailure, "C:\\ZUMA\\CMail\\Ausgang\\failure\\Sterbefall_123456_2024-07-15.result");
    EXPECT_EQ(n->cMailQuarantine, "C:\\ZUMA\\CMail\\Ausgang\\quarantine\\Sterbefall_123456_2024-07-15.ausg");
    EXPECT_EQ(n->cAuftrag, "123456");
    EXPECT_EQ(n->cMailFormular, "Sterbefall_123456_2024-07-15");
    EXPECT_EQ(n->cMailForm, "Sterbefall");
    EXPECT_EQ(n->cMailGesendet, "C:\\ZUMA\\CMail\\gesendet\\123456\\Sterbefall\\Sterbefall_123456_2024-07-15.ausg");
    EXPECT_EQ(n->cMailResGesendet,
              "C:\\ZUMA\\CMail\\gesendet\\123456\\Sterbefall\\Sterbefall_123456_2024-07-15.result");
    EXPECT_EQ(n->cMailAnhGesendet, "C:\\ZUMA\\CMail\\gesendet\\123456\\Sterbefall\\Sterbefall_123456_2024-07-15.pdf");
}

struct PositionCase {
    const char* root;
    const char* F;
    const char* auftrag;
    const char* formular;
    const char* form;
};

// Positions are searched in the whole path: an underscore in the data root moves the
// start of the form name.
TEST(OrderNames, PositionRulesApplyToTheWholePath) {
    const PositionCase cases[] = {
        {"C:\\ZUMA\\", "Sterbefall_123456_2024-07-15.ausg", "123456", "Sterbefall_123456_2024-07-15", "Sterbefall"},
        {"C:\\ZUMA\\", "Brief_000042_x.ausg", "000042", "Brief_000042_x.ausg", "Brief"},
        {"C:\\ZUMA\\", "Rechnung_AB_654321_2024.ausg", "654321", "Rechnung_AB_654321_2024.au", "Rechnung"},
        {"C:\\Z_\\", "Sterbefall_123456_2024-07-15.ausg", "123456", "St", "St"},
        {"C:\\Z_A\\", "Sterbefall_123456_2024-07-15.ausg", "123456", "S", "S"},
    };
    for (const PositionCase& c : cases) {
        const auto n = deriveOrderNames(QString::fromLatin1(c.root), QString::fromLatin1(c.F));
        ASSERT_TRUE(n) << c.root << c.F;
        EXPECT_EQ(n->cAuftrag, c.auftrag) << c.root << c.F;
        EXPECT_EQ(n->cMailFormular, c.formular) << c.root << c.F;
        EXPECT_EQ(n->cMailForm, c.form) << c.root << c.F;
        EXPECT_TRUE(
            n->cMailGesendet.endsWith(QStringLiteral("CMail\\gesendet\\") + c.auftrag + '\\' + c.form + '\\' + c.F))
            << n->cMailGesendet.toStdString();
    }
}

TEST(OrderNames, NamesWithoutOrderNumberOrFormAreUnusable) {
    const struct {
        const char* root;
        const char* F;
    } cases[] = {
        {"C:\\ZUMA\\", "ohneunterstrich.ausg"},
        {"C:\\ZUMA\\", "kurz_x.ausg"},                             // five characters before the last underscore
        {"C:\\ZUMA\\", "_123456.ausg"},                            // nothing before it at all
        {"C:\\ZU_MA_DATEN\\", "Sterbefall_123456_x.ausg"},         // the root's underscores leave no form name
        {"C:\\ZUMA\\", "Sterbefall_123456_\u20ACuro\u4E2D.ausg"},  // not writable in Windows-1252
    };
    for (const auto& c : cases)
        EXPECT_FALSE(deriveOrderNames(QString::fromLatin1(c.root), QString::fromUtf8(c.F))) << c.F;
}

TEST(OrderNames, UpperCaseExtensionStillGivesADistinctResultName) {
    const auto n = deriveOrderNames(QStringLiteral("C:\\ZUMA\\"), QStringLiteral("Brief_123456_x.AUSG"));
    ASSERT_TRUE(n);
    EXPECT_EQ(n->cMailResName, "C:\\ZUMA\\CMail\\Ausgang\\Brief_123456_x.result");
    EXPECT_NE(n->cMailResName, n->cMailAusName);
}

TEST(OrderNames, RecipientSuffixGoesIntoFailureQuarantineAndArchiveNamesOnly) {
    const auto n = deriveOrderNames(QStringLiteral("C:\\ZUMA\\"), QStringLiteral("Brief_123456_x.ausg"));
    ASSERT_TRUE(n);
    const OrderNames s = withRecipientSuffix(*n, 3);
    EXPECT_EQ(s.cMailAusName, n->cMailAusName);
    EXPECT_EQ(s.cMailResName, n->cMailResName);
    EXPECT_EQ(s.cMailFailName, "C:\\ZUMA\\CMail\\Ausgang\\failure\\Brief_123456_x-3.ausg");
    EXPECT_EQ(s.cMailFailure, "C:\\ZUMA\\CMail\\Ausgang\\failure\\Brief_123456_x-3.result");
    EXPECT_EQ(s.cMailQuarantine, "C:\\ZUMA\\CMail\\Ausgang\\quarantine\\Brief_123456_x-3.ausg");
    EXPECT_EQ(s.cMailGesendet, "C:\\ZUMA\\CMail\\gesendet\\123456\\Brief\\Brief_123456_x-3.ausg");
    EXPECT_EQ(s.cMailResGesendet, "C:\\ZUMA\\CMail\\gesendet\\123456\\Brief\\Brief_123456_x-3.result");
    EXPECT_EQ(s.cMailAnhGesendet, "C:\\ZUMA\\CMail\\gesendet\\123456\\Brief\\Brief_123456_x-3.pdf");
}

}  // namespace
}  // namespace sendwerk
