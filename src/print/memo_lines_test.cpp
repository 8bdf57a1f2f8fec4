#include "print/memo_lines.h"

#include <gtest/gtest.h>

namespace sendwerk {
namespace {

TEST(MemoLines, BreaksAtHardBreaksAndWrapsAtTheWidth) {
    const QString eighty(80, QLatin1Char('x'));
    const QString words79 = QString(39, QLatin1Char('a')) + QLatin1Char(' ') + QString(39, QLatin1Char('b'));
    struct Case {
        const char* name;
        QString text;
        QStringList lines;
    } cases[] = {
        {"empty text", QString(), {}},
        {"one line", QStringLiteral("Guten Tag"), {QStringLiteral("Guten Tag")}},
        {"exactly 80 stays one line", eighty, {eighty}},
        {"81 without a blank is cut", eighty + QLatin1Char('y'), {eighty, QStringLiteral("y")}},
        {"wrap after the last blank that fits", words79 + QStringLiteral(" cc"), {words79, QStringLiteral("cc")}},
        {"a blank at column 81 is the break", eighty + QStringLiteral(" weiter"), {eighty, QStringLiteral("weiter")}},
        {"CR LF, LF and CR end lines",
         QStringLiteral("a\r\nb\nc\rd"),
         {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")}},
        {"soft break",
         QStringLiteral("weich\u008D\ngebrochen"),
         {QStringLiteral("weich"), QStringLiteral("gebrochen")}},
        {"empty lines in between count",
         QStringLiteral("a\r\n\r\nb"),
         {QStringLiteral("a"), QString(), QStringLiteral("b")}},
        {"a break at the end adds no line", QStringLiteral("a\r\nb\r\n"), {QStringLiteral("a"), QStringLiteral("b")}},
        {"leading blanks stay", QStringLiteral("   eingerückt"), {QStringLiteral("   eingerückt")}},
        {"tabs to the next multiple of 4", QStringLiteral("a\tb\t\tc"), {QStringLiteral("a   b       c")}},
    };
    for (const Case& c : cases) EXPECT_EQ(memoLines(c.text, 80), c.lines) << c.name;
}

}  // namespace
}  // namespace sendwerk
