#include "print/printout.h"

#include "print/compound_font.h"
#include "queue/shared.h"

#include <QDate>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace sendwerk {
namespace {

// What a recording printer device saw; it outlives the device, which the printout owns.
struct Job {
    struct Drawn {
        int page;
        QPoint at;
        QString text;
        QFont font;
    };
    int devicesMade = 0;
    int orientation = 0;
    int started = 0;
    int ended = 0;
    int page = 0;  // 1-based once started
    bool released = false;
    std::vector<Drawn> drawn;
    QStringList failures;
};

// A4 with margins; every character 25 units wide, a line 42 high.
constexpr PaperSize kPaper{2100, 2970, 50, 40, 2050, 2930};
constexpr int kPrintableHeight = kPaper.top - kPaper.bottom;

class RecordingDevice final : public PrinterDevice {
public:
    RecordingDevice(Job& job, bool failStart, bool failEnd) : job_(job), failStart_(failStart), failEnd_(failEnd) {}
    ~RecordingDevice() override { job_.released = true; }

    QString name() const override { return QStringLiteral("Testdrucker"); }
    void setOrientation(int orientation) override { job_.orientation = orientation; }
    int orientation() const override { return job_.orientation; }
    PaperSize paperSize() const override { return kPaper; }
    Result<> startDoc() override {
        if (failStart_) return Failure{QStringLiteral("startet nicht")};
        ++job_.started;
        job_.page = 1;
        return {};
    }
    void newPage() override { ++job_.page; }
    Result<> endDoc() override {
        ++job_.ended;
        if (failEnd_) return Failure{QStringLiteral("nicht angenommen")};
        return {};
    }
    void drawString(QPoint start, const QString& text, const QFont& font) override {
        job_.drawn.push_back({job_.page, start, text, font});
    }
    QPoint concatenationPoint(const QString& text, const QFont&) const override { return {int(text.size()) * 25, 0}; }
    QSize characterCell(const QFont&) const override { return {25, 42}; }

private:
    Job& job_;
    bool failStart_;
    bool failEnd_;
};

struct Office {
    explicit Office(bool noDevice = false, bool failStart = false, bool failEnd = false)
        : printing(
              [this, noDevice, failStart, failEnd](const QString&) -> Result<std::unique_ptr<PrinterDevice>> {
                  if (noDevice) return Failure{QStringLiteral("Seitendruck nicht möglich: kein Standarddrucker.")};
                  ++job.devicesMade;
                  return std::unique_ptr<PrinterDevice>(std::make_unique<RecordingDevice>(job, failStart, failEnd));
              },
              TextPrinterPort{}) {
        printing.report = [this](const QString& cause) { job.failures.append(cause); };
        printing.text.screen = [this](int row, int col, const QString& text) {
            screen.append(QStringLiteral("%1,%2:%3").arg(row).arg(col).arg(text));
        };
    }
    // A page printout, open.
    void openPage() {
        shared.cLPT = QStringLiteral("LPTA");
        Drucker_anW(shared, printing, 2);
    }
    QString memoDruck(const QString& text) {
        return MemoDruck(shared, printing.oPrinterPS.get(), printing.oFont.get(), text, 1,
                         {QStringLiteral("10.COURIER NEW")});
    }
    Shared shared;
    Job job;
    QStringList screen;
    Printing printing;
};

// Where FdrG puts row/column on the page with the start values of the grid.
QPoint gridPoint(int row, int col) { return {kPaper.left + col * 25, kPrintableHeight - row * 42}; }

TEST(Printout, ClosingWithoutAPrintoutResetsTheTextDevice) {
    Office o;
    o.printing.text.setPrinterEcho(true);
    o.printing.text.setConsoleEcho(false);
    o.printing.text.setDevice(TextDevice::Device::Printer);
    EXPECT_TRUE(Drucker_aus(o.shared, o.printing));
    EXPECT_EQ(o.printing.text.printer(), "");
    EXPECT_FALSE(o.printing.text.printerEcho());
    EXPECT_TRUE(o.printing.text.consoleEcho());
    EXPECT_EQ(o.printing.text.device(), TextDevice::Device::Screen);
    EXPECT_TRUE(o.shared.lSeiteLeer);
    EXPECT_TRUE(o.job.failures.isEmpty()) << o.job.failures.join(u'|').toStdString();
}

TEST(Printout, PagePrintoutIsPortraitAndLeavesScreenStateBehind) {
    Office o;
    o.shared.cLPT = QStringLiteral("LPTA");
    o.shared.cLPTSCR = QStringLiteral("S");
    EXPECT_TRUE(Drucker_anW(o.shared, o.printing, 2));
    EXPECT_EQ(o.shared.cLPTSCR, "P");
    ASSERT_NE(o.printing.oPrinterPS, nullptr);
    ASSERT_NE(o.printing.oFont, nullptr);
    EXPECT_EQ(o.job.orientation, 1);
    EXPECT_EQ(o.job.started, 1);
    const PageFont* font = o.printing.oFont.get();

    EXPECT_TRUE(Drucker_aus(o.shared, o.printing));
    EXPECT_EQ(o.job.ended, 1);
    EXPECT_TRUE(o.job.released);
    EXPECT_EQ(o.printing.oPrinterPS, nullptr);
    EXPECT_EQ(o.printing.oFont.get(), font);
    EXPECT_EQ(o.shared.cLPTSCR, "S");
    EXPECT_EQ(o.printing.text.device(), TextDevice::Device::Screen);
}

TEST(Printout, TextPrintoutAlwaysTargetsLpt1) {
    Office o;
    o.shared.cLPT = QStringLiteral("LPT2");
    o.printing.text.setPrinterPosition(7, 9);
    Drucker_anW(o.shared, o.printing, 2);
    EXPECT_EQ(o.printing.text.printer(), "LPT1");
    EXPECT_EQ(o.printing.text.device(), TextDevice::Device::Printer);
    EXPECT_EQ(o.printing.text.prow(), 0);
    EXPECT_EQ(o.printing.text.pcol(), 0);
    EXPECT_EQ(o.job.devicesMade, 0);
}

TEST(Printout, EjectOnlyWhenThePageIsUsedAndCltIsExactlyLpt1) {
    struct Case {
        const char* cLPT;
        bool pageUsed;
        bool formFeed;
    } cases[] = {{"LPT1", true, true}, {"LPT1", false, false}, {"LPT2", true, false}, {"LPT1 ", true, false}};
    for (const Case& c : cases) {
        Office o;
        o.shared.cLPT = QString::fromLatin1(c.cLPT);
        Drucker_anW(o.shared, o.printing, 2);
        o.shared.lSeiteLeer = !c.pageUsed;
        NeueSeite(o.shared, o.printing);
        EXPECT_EQ(o.printing.text.pending().contains('\f'), c.formFeed) << c.cLPT << " used " << c.pageUsed;
        EXPECT_TRUE(o.shared.lSeiteLeer);
    }
}

TEST(Printout, EchoPrintoutInPageModeMakesNoPresentationSpace) {
    Office o;
    o.shared.cLPT = QStringLiteral("LPTA");
    Drucker_anW(o.shared, o.printing, 1);
    EXPECT_EQ(o.printing.oPrinterPS, nullptr);
    EXPECT_EQ(o.job.devicesMade, 0);
    EXPECT_TRUE(o.printing.text.printerEcho());
    EXPECT_FALSE(o.printing.text.consoleEcho());
    Drucker_aus(o.shared, o.printing);
    EXPECT_FALSE(o.printing.text.printerEcho());
    EXPECT_TRUE(o.printing.text.consoleEcho());
}

TEST(Printout, SageOnTheTextDeviceLeavesThePageFlag) {
    Office o;
    o.shared.cLPTSCR = QStringLiteral("P");  // not asked in text mode
    Drucker_anW(o.shared, o.printing, 2);
    Sage(o.shared, o.printing, 2, 10, QStringLiteral("Hallo"));
    EXPECT_EQ(o.printing.text.pending(), QByteArray("\r\n\r\n          Hallo"));
    EXPECT_EQ(o.shared.nZei, 2);
    EXPECT_EQ(o.shared.nSpa, 10);
    EXPECT_TRUE(o.shared.lSeiteLeer);
}

TEST(Printout, SageAfterAPagePrintoutWritesToTheScreen) {
    Office o;
    o.openPage();
    Drucker_aus(o.shared, o.printing);
    Sage(o.shared, o.printing, 4, 5, QStringLiteral("Bildschirm"));
    Sage(o.shared, o.printing, 5, 5, 42);
    Sage(o.shared, o.printing, 6, 5, QDate(2024, 7, 15));
    Sage(o.shared, o.printing, 7, 5, true);
    EXPECT_EQ(o.screen, (QStringList{"4,5:Bildschirm", "5,5:42", "6,5:15.07.24", "7,5:.T."}));
    EXPECT_TRUE(o.job.drawn.empty());
}

TEST(Printout, SageOnThePageDrawsOneLineOrGoesThroughMemoDruck) {
    Office o;
    o.openPage();
    Sage(o.shared, o.printing, 5, 10, QStringLiteral("Eine Zeile"));
    ASSERT_EQ(o.job.drawn.size(), 1u);
    EXPECT_EQ(o.job.drawn[0].at, gridPoint(5, 10));
    EXPECT_EQ(o.job.drawn[0].font.family(), fontFromCompoundName(QStringLiteral("10.COURIER NEW")).family());
    EXPECT_EQ(o.job.drawn[0].font.pointSize(), 10);
    EXPECT_FALSE(o.shared.lSeiteLeer);

    o.shared.lSeiteLeer = true;
    Sage(o.shared, o.printing, 20, 10, QStringLiteral("erste\r\nzweite"));
    ASSERT_EQ(o.job.drawn.size(), 3u);
    EXPECT_EQ(o.job.drawn[1].at, gridPoint(21, 10));
    EXPECT_EQ(o.job.drawn[2].at, gridPoint(22, 10));
    EXPECT_EQ(o.job.drawn[1].font.family(), fontFromCompoundName(QStringLiteral("11.CONSOLAS")).family());
    EXPECT_EQ(o.job.drawn[1].font.pointSize(), 11);
    EXPECT_TRUE(o.shared.lSeiteLeer);  // MemoDruck leaves the flag alone
}

TEST(Printout, MemoDruckWithAnEmptyTextDrawsNothing) {
    Office o;
    o.openPage();
    o.shared.nZei = 7;
    o.shared.nSpa = 12;
    EXPECT_EQ(o.memoDruck(QString()), ".");
    EXPECT_TRUE(o.job.drawn.empty());
    EXPECT_EQ(o.shared.nZei, 7);
    EXPECT_EQ(o.shared.nSpa, 12);
}

// The editor's page print of 64 lines: rows 3 to 65 on the first page, then row 2.
TEST(Printout, MemoDruckBreaksThePageAfterRow65) {
    Office o;
    QStringList text;
    for (int i = 1; i <= 64; ++i) text.append(QStringLiteral("Zeile %1   ").arg(i));
    printPages(o.shared, o.printing, text.join(QStringLiteral("\r\n")));
    ASSERT_EQ(o.job.drawn.size(), 64u);
    for (int i = 0; i < 63; ++i) {
        EXPECT_EQ(o.job.drawn[i].page, 1) << i;
        EXPECT_EQ(o.job.drawn[i].at, gridPoint(i + 3, 10)) << i;
    }
    EXPECT_EQ(o.job.drawn[63].page, 2);
    EXPECT_EQ(o.job.drawn[63].at, gridPoint(2, 10));
    EXPECT_EQ(o.job.drawn[0].text, "Zeile 1");  // trailing blanks are not drawn
    EXPECT_EQ(o.shared.nZei, 2);
}

TEST(Printout, PagePrintWorksInTextModeAndPutsTheModeBack) {
    Office o;
    ASSERT_EQ(o.shared.cLPT, "LPT1");
    printPages(o.shared, o.printing, QStringLiteral("Seite   \r\n   "));
    EXPECT_EQ(o.shared.cLPT, "LPT1");
    EXPECT_EQ(o.job.started, 1);
    EXPECT_EQ(o.job.ended, 1);
    ASSERT_EQ(o.job.drawn.size(), 1u);  // the blanks after the last line are no line
    EXPECT_EQ(o.job.drawn[0].at, gridPoint(3, 10));
    EXPECT_TRUE(o.printing.text.pending().isEmpty());
}

TEST(Printout, LeadingBlanksShiftTheTextOnTheGrid) {
    Office o;
    o.openPage();
    o.shared.nZei = 2;
    o.shared.nSpa = 10;
    o.memoDruck(QStringLiteral("  zwei"));
    ASSERT_EQ(o.job.drawn.size(), 1u);
    EXPECT_EQ(o.job.drawn[0].text, "  zwei");
    EXPECT_EQ(o.shared.nSpa, 10 + 6);
}

TEST(Printout, FdrgMovesThePenPastTheText) {
    struct Case {
        const char* name;
        int nPPS, nPPZ, nPoffX, nPoffY;
        QPoint at;
        int nZei, nSpa;
    } cases[] = {
        // 20 characters of 25 units: 500 wide.
        {"start values", 25, 42, 0, 0, {kPaper.left + 250, kPrintableHeight - 126}, 3, 30},
        {"offsets", 25, 42, 30, 14, {30 + kPaper.left + 250, kPrintableHeight - 14 - 126}, 3, 30},
        {"font cell when 0", 0, 0, 0, 0, {kPaper.left + 250, kPrintableHeight - 126}, 3, 30},
        {"wider grid", 50, 84, 0, 0, {kPaper.left + 500, kPrintableHeight - 252}, 3, 20},
    };
    for (const Case& c : cases) {
        Office o;
        o.openPage();
        o.shared.nPPS = c.nPPS;
        o.shared.nPPZ = c.nPPZ;
        o.shared.nPoffX = c.nPoffX;
        o.shared.nPoffY = c.nPoffY;
        o.shared.nZei = 3;
        o.shared.nSpa = 10;
        const PenPosition pen = FdrG(o.shared, o.printing.oPrinterPS.get(), o.printing.oFont.get(),
                                     QString(20, QLatin1Char('x')), 1, {QStringLiteral("10.COURIER NEW")});
        EXPECT_EQ(pen, QPoint(500, 0)) << c.name;
        ASSERT_EQ(o.job.drawn.size(), 1u) << c.name;
        EXPECT_EQ(o.job.drawn[0].at, c.at) << c.name;
        EXPECT_EQ(o.shared.nZei, c.nZei) << c.name;
        EXPECT_EQ(o.shared.nSpa, c.nSpa) << c.name;
        EXPECT_FALSE(o.printing.oFont->created()) << c.name;  // released after each line
    }
}

TEST(Printout, FdrgWithAnEmptyFontListUsesTheBuiltInOne) {
    Office o;
    o.openPage();
    FdrG(o.shared, o.printing.oPrinterPS.get(), o.printing.oFont.get(), QStringLiteral("fett"), 4, {});
    ASSERT_EQ(o.job.drawn.size(), 1u);
    EXPECT_EQ(o.job.drawn[0].font.pointSize(), 12);
    EXPECT_TRUE(o.job.drawn[0].font.bold());
    EXPECT_EQ(builtInPrintFonts().size(), 8);
}

// A printer that is missing or fails: told once, no output, and the program goes on.
TEST(Printout, AFailingPrinterIsReportedOnceAndTheRestIsHarmless) {
    struct Case {
        const char* name;
        bool noDevice, failStart, failEnd;
        const char* cause;
    } cases[] = {
        {"no printer", true, false, false, "kein Standarddrucker"},
        {"job does not start", false, true, false, "startet nicht"},
        {"job not taken", false, false, true, "nicht angenommen"},
    };
    for (const Case& c : cases) {
        Office o(c.noDevice, c.failStart, c.failEnd);
        printPages(o.shared, o.printing, QStringLiteral("Text"));
        ASSERT_EQ(o.job.failures.size(), 1) << c.name;
        EXPECT_TRUE(o.job.failures[0].contains(QLatin1String(c.cause))) << c.name;
        EXPECT_EQ(o.printing.oPrinterPS, nullptr) << c.name;
        if (!c.failEnd) {
            EXPECT_TRUE(o.job.drawn.empty()) << c.name;
        }
    }
}

}  // namespace
}  // namespace sendwerk
