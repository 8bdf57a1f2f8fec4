#include "queue/recipient_check.h"

#include <gtest/gtest.h>

#include "queue/testing/queue_office.h"
#include "queue/whitelist.h"

namespace sendwerk {
namespace {

using testing::QueueOffice;

TEST(RecipientCheck, WhitelistPlaceholdersAndAddressTest) {
    QueueOffice o(false);
    o.writeOrderTable({
        {4711, "  kontakt@kunde.de  ", "Rueckruf erbeten\r\nEmail: k@f\r\nDanke"},
        {4712, "", "Bitte an\r\nE-Mail:  liste@kunde.de \r\n"},
        {4713, "x@y", "keine Adresse hier"},
        {4714, "x@y", "Email: ohne@zeilenende"},
        {12, "zwoelf@kunde.de", ""},
    });
    const Whitelist whitelist("email\r\nnotiz\r\nok@firma.de\r\nherr meier\r\n");
    const struct {
        const char* recipient;
        const char* auftrag;
        bool list;
        Verdict verdict;
        const char* address;
    } cases[] = {
        {"OK@Firma.de", "004711", false, Verdict::Send, "OK@Firma.de"},
        {"fremd@x.de", "004711", false, Verdict::Quarantine, "fremd@x.de"},
        {" ok@firma.de", "004711", true, Verdict::Quarantine, " ok@firma.de"},
        {"Herr Meier", "004711", false, Verdict::NoAddress, "Herr Meier"},
        {"Email", "004711", false, Verdict::Send, "kontakt@kunde.de"},
        {"Email", "000012", false, Verdict::Send, "zwoelf@kunde.de"},
        {"Email", "999999", false, Verdict::NoAddress, ""},  // not in the table
        {"Notiz", "004711", false, Verdict::Send, "k@f"},
        {"Notiz", "004711", true, Verdict::Send, "k@f"},
        {"Notiz", "004712", false, Verdict::NoAddress, "Notiz"},  // "E-Mail:" only counts in a list
        {"Notiz", "004712", true, Verdict::Send, "liste@kunde.de"},
        {"Notiz", "004713", false, Verdict::NoAddress, "Notiz"},
        {"Notiz", "004714", false, Verdict::NoAddress, ""},       // no line end after the address
        {"email", "004711", false, Verdict::NoAddress, "email"},  // placeholders are case-sensitive
        {"", "004711", true, Verdict::NoAddress, ""},
    };
    for (const auto& c : cases) {
        const RecipientResult r = checkRecipient(c.recipient, QString::fromLatin1(c.auftrag), c.list, whitelist,
                                                 o.areas, o.context.orderTableFolder);
        EXPECT_EQ(r.verdict, c.verdict) << c.recipient << " " << c.auftrag;
        EXPECT_EQ(r.address, c.address) << c.recipient << " " << c.auftrag;
    }
    EXPECT_FALSE(o.areas.isOpen(1));  // closed after each lookup
}

TEST(RecipientCheck, PlaceholderNotOnTheWhitelistIsQuarantinedBeforeAnyLookup) {
    QueueOffice o(false);  // no order table at all: a lookup would throw
    const RecipientResult r = checkRecipient("Email", QStringLiteral("004711"), false, Whitelist("ok@firma.de"),
                                             o.areas, o.context.orderTableFolder);
    EXPECT_EQ(r.verdict, Verdict::Quarantine);
}

TEST(RecipientCheck, LookupKeepsTheSelectedWorkArea) {
    QueueOffice o(false);
    o.writeOrderTable({{1, "a@b", ""}});
    o.areas.select(28);
    lookUpOrder(o.areas, o.context.orderTableFolder, QStringLiteral("000001"));
    EXPECT_EQ(o.areas.selected(), 28);
}

}  // namespace
}  // namespace sendwerk
