#include "print/printout.h"

#include "queue/shared.h"
#include "support/temp_office.h"

#include <gtest/gtest.h>

namespace sendwerk {
namespace {

using testing::TempOffice;

// The editor's text print (Ctrl+P) in text mode on a printer port set up as `target`.
struct TextPrint {
    explicit TextPrint(const QString& target, const QString& codePage = QStringLiteral("850"))
        : printing(PrinterDeviceMaker(), TextPrinterPort{target, codePage}) {
        printing.report = [this](const QString& cause) { reports.append(cause); };
        printing.text.commandTimeLimit = std::chrono::milliseconds(2000);
    }
    void print(const QString& text) { printText(shared, printing, text); }
    Shared shared;
    Printing printing;
    QStringList reports;
};

TEST(TextPrinter, SendsThePositionedTextInItsCodePage) {
    const QString text = QStringLiteral("Grüße aus Köln\r\nZeile zwei");
    struct Case {
        const char* codePage;
        QByteArray bytes;
    } cases[] = {
        {"850", QByteArray("Gr\x81\xE1"
                           "e aus K\x94ln\r\nZeile zwei")},
        {"1252", QByteArray("Gr\xFC\xDF"
                            "e aus K\xF6ln\r\nZeile zwei")},
        {"UTF-8", text.toUtf8()},
        {"cp850", QByteArray("Gr\x81\xE1"
                             "e aus K\x94ln\r\nZeile zwei")},
    };
    for (const Case& c : cases) {
        TempOffice office;
        TextPrint p(office.native("lpt1"), QString::fromLatin1(c.codePage));
        p.print(text);
        // Two rows down by CR LF, ten blanks to column 10; no form feed at the end: the
        // text device's output does not mark the page as used.
        EXPECT_EQ(office.read("lpt1"), QByteArray("\r\n\r\n          ") + c.bytes) << c.codePage;
        EXPECT_TRUE(p.reports.isEmpty()) << c.codePage;
    }
}

TEST(TextPrinter, ReachesPositionsFromThePrintHead) {
    struct Case {
        const char* name;
        std::vector<std::tuple<int, int, const char*>> says;
        QByteArray bytes;
    } cases[] = {
        {"same row, further right", {{1, 2, "ab"}, {1, 6, "cd"}}, "\r\n  ab  cd"},
        {"same row, to the left", {{1, 5, "ab"}, {1, 1, "c"}}, "\r\n     ab\r c"},
        {"a row above ejects first", {{3, 0, "a"}, {1, 0, "b"}}, "\r\n\r\n\r\na\f\r\nb"},
        {"line breaks of a text move the head", {{0, 0, "a\r\nbc"}, {2, 0, "d"}}, "a\r\nbc\r\nd"},
    };
    for (const Case& c : cases) {
        TempOffice office;
        TextPrint p(office.native("lpt1"));
        Drucker_anW(p.shared, p.printing, 2);
        for (const auto& [row, col, text] : c.says) Sage(p.shared, p.printing, row, col, QString::fromLatin1(text));
        Drucker_aus(p.shared, p.printing);
        EXPECT_EQ(office.read("lpt1"), c.bytes) << c.name;
    }
}

TEST(TextPrinter, EjectSendsAFormFeedBeforeTheTargetCloses) {
    TempOffice office;
    TextPrint p(office.native("lpt1"));
    Drucker_anW(p.shared, p.printing, 2);
    Sage(p.shared, p.printing, 1, 0, QStringLiteral("Seite"));
    p.shared.lSeiteLeer = false;  // as after output on the page
    Drucker_aus(p.shared, p.printing);
    EXPECT_EQ(office.read("lpt1"), QByteArray("\r\nSeite\f"));
    EXPECT_EQ(p.printing.text.prow(), 0);
}

TEST(TextPrinter, EachPrintoutIsAppendedToTheDevice) {
    TempOffice office;
    TextPrint p(office.native("lpt1"));
    p.print(QStringLiteral("eins"));
    p.print(QStringLiteral("zwei"));
    EXPECT_EQ(office.read("lpt1"), QByteArray("\r\n\r\n          eins\r\n\r\n          zwei"));
}

TEST(TextPrinter, ACommandGetsTheBytesOnItsStandardInput) {
    TempOffice office;
    TextPrint p(QStringLiteral("|dd status=none of=") + office.native("piped"));
    p.print(QStringLiteral("über die Leitung"));
    EXPECT_EQ(office.read("piped"), QByteArray("\r\n\r\n          \x81"
                                               "ber die Leitung"));
    EXPECT_TRUE(p.reports.isEmpty()) << p.reports.join(u'|').toStdString();
}

TEST(TextPrinter, CharactersTheCodePageLacksArePrintedAsQuestionMarksAndReported) {
    TempOffice office;
    TextPrint p(office.native("lpt1"));
    p.print(QStringLiteral("5 €"));
    EXPECT_EQ(office.read("lpt1"), QByteArray("\r\n\r\n          5 ?"));
    ASSERT_EQ(p.reports.size(), 1);
    EXPECT_TRUE(p.reports[0].contains(QStringLiteral("€"))) << p.reports[0].toStdString();
}

TEST(TextPrinter, AFailingTargetIsReportedOnceWithItsCause) {
    TempOffice office;
    struct Case {
        const char* name;
        QString target;
        const char* cause;
    } cases[] = {
        {"none set up", QString(), "kein Textdrucker eingerichtet"},
        {"device cannot be opened", office.native("no/such/folder/lpt1"), "no/such/folder/lpt1 (nicht vorhanden)"},
        {"command not found", QStringLiteral("|no-such-printer-command"), "no-such-printer-command startet nicht"},
        {"command fails", QStringLiteral("|false"), "false endet mit 1"},
        {"command hangs", QStringLiteral("|tail -f /dev/null"), "nach 0,3 Sekunden nicht fertig"},
    };
    for (const Case& c : cases) {
        TextPrint p(c.target);
        p.printing.text.commandTimeLimit = std::chrono::milliseconds(300);
        p.print(QStringLiteral("Text"));
        ASSERT_EQ(p.reports.size(), 1) << c.name;
        EXPECT_TRUE(p.reports[0].contains(QString::fromUtf8(c.cause))) << c.name << ": " << p.reports[0].toStdString();
        EXPECT_EQ(p.printing.text.lastFailure(), p.reports[0]) << c.name;
        EXPECT_EQ(p.printing.text.device(), TextDevice::Device::Screen) << c.name;
    }
}

TEST(TextPrinter, NothingWrittenMeansNothingDelivered) {
    TempOffice office;
    TextPrint p(QStringLiteral("|false"));
    Drucker_anW(p.shared, p.printing, 2);
    Drucker_aus(p.shared, p.printing);
    EXPECT_TRUE(p.reports.isEmpty());
}

}  // namespace
}  // namespace sendwerk
