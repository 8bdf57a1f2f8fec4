#include "queue/whitelist.h"

#include <gtest/gtest.h>

namespace sendwerk {
namespace {

TEST(Whitelist, SubstringTestOnTheLowerCaseText) {
    const Whitelist list("max@b,\r\nxa@b\nM\xDCLLER@Example.org,\r\n");
    const struct {
        QByteArray recipient;
        bool passes;
    } cases[] = {
        {"Max@B", true},                  // both sides lower-cased
        {"a@b", true},                    // part of the longer entry xa@b
        {" max@b", false},                // a blank in front is not in the list
        {"m\xFCller@example.org", true},  // the umlaut is lowered too
        {"M\xDCLLER@EXAMPLE.ORG", true},
        {"b,\r\nxa", true},  // the test knows no lines
        {"fremd@x", false},
        {"Email", false},
        {"", true},  // empty: left to the address test
    };
    for (const auto& c : cases) EXPECT_EQ(list.passes(c.recipient), c.passes) << c.recipient.toStdString();
}

TEST(Whitelist, PlaceholdersPassOnlyWhenTheirWordsOccur) {
    EXPECT_TRUE(Whitelist("emailversand@firma.de\r\n").passes("Email"));
    EXPECT_FALSE(Whitelist("emailversand@firma.de\r\n").passes("Notiz"));
    EXPECT_TRUE(Whitelist("notiz\r\n").passes("Notiz"));
}

TEST(Whitelist, EmptyTextPassesNobody) { EXPECT_FALSE(Whitelist(QByteArray()).passes("a@b")); }

TEST(Whitelist, LowerCaseOfWindows1252Letters) {
    EXPECT_EQ(lower1252("AZ\xC0\xD6\xD7\xD8\xDE\xDF\x8A\x8C\x8E\x9F"
                        "az"),
              "az\xE0\xF6\xD7\xF8\xFE\xDF\x9A\x9C\x9E\xFF"
              "az");
}

}  // namespace
}  // namespace sendwerk
