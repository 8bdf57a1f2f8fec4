#include "platform/wildcard.h"

#include <gtest/gtest.h>

namespace sendwerk {
namespace {

TEST(Wildcard, MatchesAsDosDoes) {
    struct Case {
        const char* name;
        const char* pattern;
        bool matches;
    } cases[] = {
        {"Sterbefall_123_2024-07-15.ausg", "*.ausg", true},
        {"ORDER.AUSG", "*.ausg", true},
        {"order.ausg.bak", "*.ausg", false},
        {"order.ausgx", "*.ausg", false},
        {".ausg", "*.ausg", true},
        {"Grüße.AUSG", "grÜSSE.ausg", false},
        {"Grüße.AUSG", "GRÜßE.ausg", true},
        {"a.b", "?.b", true},
        {"ab.b", "?.b", false},
        {"README", "*.*", true},
        {"README", "*", true},
        {"", "*", true},
        {"x", "", false},
        {"aaaaaaaaaaaaaaaaaaaaaaaaaaaaab", "*a*a*a*a*a*a*a*c", false},
        {"a*b", "a*b", true},
        {"abc.result", "abc.*", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(matchesWildcard(QString::fromUtf8(c.name), QString::fromUtf8(c.pattern)), c.matches)
            << c.name << " ~ " << c.pattern;
}

}  // namespace
}  // namespace sendwerk
