// Page printouts rendered to a PDF file and read back with poppler's pdftotext and
// pdffonts: where the words really land on the paper, on which page, in which font.
#include "print/printout.h"

#include "platform/settings.h"
#include "print/compound_font.h"
#include "queue/shared.h"
#include "support/temp_office.h"

#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <vector>

namespace sendwerk {
namespace {

using testing::TempOffice;

// A PDF page is in points; page units are 0.1 mm.
constexpr double kPointsPerUnit = 72.0 / 254.0;
constexpr double kColumn = 25 * kPointsPerUnit;  // 2.5 mm
constexpr double kRow = 42 * kPointsPerUnit;     // 4.2 mm
// One character of 10-point Courier New (and its stand-in): 0.6 em.
constexpr double kCourierAdvance = 6.0;

struct Word {
    int page;
    double xMin, yMin, xMax, yMax;  // points, y down from the top of the page
    QString text;
};

QByteArray run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        ADD_FAILURE() << program.toStdString() << " failed: " << process.readAllStandardError().toStdString();
        return {};
    }
    return process.readAllStandardOutput();
}

std::vector<Word> wordsOf(const QString& pdf) {
    const QString html = QString::fromUtf8(run(QStringLiteral("pdftotext"), {"-bbox", pdf, "-"}));
    static const QRegularExpression tag(QString::fromLatin1(
        R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    std::vector<Word> words;
    int page = 0;
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.captured(0) == QLatin1String("<page ")) {
            ++page;
            continue;
        }
        words.push_back({page, m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
                         m.captured(4).toDouble(), m.captured(5)});
    }
    return words;
}

const Word* find(const std::vector<Word>& words, const QString& text) {
    for (const Word& w : words)
        if (w.text == text) return &w;
    ADD_FAILURE() << "no word " << text.toStdString();
    return nullptr;
}

// The word's start and base line are where row and column put them (the PDF's whole
// sheet is printable, so the margins are 0), plus `shift` points for blanks before it.
void expectOnGrid(const Word* word, int page, int row, int column, double shift = 0) {
    ASSERT_NE(word, nullptr);
    const std::string name = word->text.toStdString();
    EXPECT_EQ(word->page, page) << name;
    EXPECT_NEAR(word->xMin, column * kColumn + shift, 0.2) << name;
    const double baseLine = row * kRow;
    EXPECT_LT(word->yMin, baseLine) << name;
    EXPECT_GT(word->yMax, baseLine) << name;
    EXPECT_LT(word->yMax - baseLine, 0.35 * (word->yMax - word->yMin)) << name;  // only the descent below it
}

// The face as pdffonts shows it: the installed family without blanks.
QString embeddedName(const QString& compoundName) {
    return installedFamilyFor(parseCompoundFontName(compoundName).face).remove(QLatin1Char(' '));
}

class PdfGrid : public ::testing::Test {
protected:
    PdfGrid() : printing(settingsFor(office.native("seiten.pdf"))) {
        printing.report = [this](const QString& cause) { reports.append(cause); };
    }
    static Settings settingsFor(const QString& pdf) {
        Settings settings;
        settings.pagePrinter = pdf;
        return settings;
    }
    void pagePrint(const QString& text) { printPages(shared, printing, text); }
    QString pdf() const { return office.native("seiten.pdf"); }

    TempOffice office;
    Shared shared;
    Printing printing;
    QStringList reports;
};

TEST_F(PdfGrid, LinesSitOnTheGridAndRow66StartsTheNextPage) {
    QStringList lines;
    for (int i = 1; i <= 64; ++i) lines.append(QStringLiteral("Zeile%1").arg(i, 2, 10, QLatin1Char('0')));
    lines[4] = QStringLiteral("    Zeile05");  // leading blanks are drawn: four blanks of the font
    pagePrint(lines.join(QStringLiteral("\r\n")));
    ASSERT_TRUE(reports.isEmpty()) << reports.join(u'|').toStdString();

    const std::vector<Word> words = wordsOf(pdf());
    ASSERT_EQ(words.size(), 64u);
    expectOnGrid(find(words, "Zeile01"), 1, 3, 10);
    expectOnGrid(find(words, "Zeile02"), 1, 4, 10);
    expectOnGrid(find(words, "Zeile05"), 1, 7, 10, 4 * kCourierAdvance);
    expectOnGrid(find(words, "Zeile63"), 1, 65, 10);
    expectOnGrid(find(words, "Zeile64"), 2, 2, 10);
    // Rows are exactly 4.2 mm apart.
    const Word* first = find(words, "Zeile01");
    const Word* last = find(words, "Zeile63");
    ASSERT_TRUE(first && last);
    EXPECT_NEAR(last->yMin - first->yMin, 62 * kRow, 0.05);
    // 10-point Courier New: seven characters.
    EXPECT_NEAR(first->xMax - first->xMin, 7 * kCourierAdvance, 0.3);

    const QString fonts = QString::fromUtf8(run(QStringLiteral("pdffonts"), {pdf()}));
    EXPECT_TRUE(fonts.contains(embeddedName(QStringLiteral("10.COURIER NEW")))) << fonts.toStdString();
}

TEST_F(PdfGrid, LongParagraphsWrapAtEightyCharacters) {
    // Eleven words of seven characters and their blanks: 87 characters, so the eleventh
    // word goes to the next line; the line of exactly 80 characters after it stays whole.
    QStringList words11;
    for (int i = 1; i <= 11; ++i) words11.append(QStringLiteral("wort%1xy").arg(i, 2, 10, QLatin1Char('0')).left(7));
    const QString exactly80 = QStringLiteral("Anfang") + QString(67, QLatin1Char('-')) + QStringLiteral("Schluss");
    pagePrint(words11.join(QLatin1Char(' ')) + QStringLiteral("\r\n") + exactly80);
    ASSERT_EQ(exactly80.size(), 80);

    const std::vector<Word> words = wordsOf(pdf());
    const Word* firstWord = find(words, "wort01x");
    const Word* tenth = find(words, "wort10x");
    expectOnGrid(firstWord, 1, 3, 10);
    ASSERT_TRUE(firstWord && tenth);
    EXPECT_DOUBLE_EQ(tenth->yMin, firstWord->yMin);  // the tenth word still fits on the first line
    expectOnGrid(find(words, "wort11x"), 1, 4, 10);
    const Word* whole = find(words, exactly80);
    expectOnGrid(whole, 1, 5, 10);
}

// The editor's text print while start-up chose page printing: Sage on the page.
TEST_F(PdfGrid, SageOnThePagePrintsOneLineInCourierAndLongerTextsInConsolas) {
    shared.cLPT = QStringLiteral("LPTA");
    Drucker_anW(shared, printing, 2);
    Sage(shared, printing, 2, 10, QStringLiteral("Einzeln"));
    Sage(shared, printing, 10, 20, QStringLiteral("Oben\r\nUnten"));
    Drucker_aus(shared, printing);
    ASSERT_TRUE(reports.isEmpty()) << reports.join(u'|').toStdString();

    const std::vector<Word> words = wordsOf(pdf());
    expectOnGrid(find(words, "Einzeln"), 1, 2, 10);
    expectOnGrid(find(words, "Oben"), 1, 11, 20);
    expectOnGrid(find(words, "Unten"), 1, 12, 20);
    const QString fonts = QString::fromUtf8(run(QStringLiteral("pdffonts"), {pdf()}));
    EXPECT_TRUE(fonts.contains(embeddedName(QStringLiteral("10.COURIER NEW")))) << fonts.toStdString();
    EXPECT_TRUE(fonts.contains(embeddedName(QStringLiteral("11.CONSOLAS")))) << fonts.toStdString();
}

TEST_F(PdfGrid, UmlautsReachThePage) {
    pagePrint(QStringLiteral("Größe Übermaß äöü"));
    const std::vector<Word> words = wordsOf(pdf());
    ASSERT_EQ(words.size(), 3u);
    EXPECT_EQ(words[0].text, "Größe");
    EXPECT_EQ(words[1].text, "Übermaß");
    EXPECT_EQ(words[2].text, "äöü");
}

TEST_F(PdfGrid, AFolderThatIsMissingIsReportedAndNothingIsWritten) {
    Settings settings;
    settings.pagePrinter = office.native("fehlt/seiten.pdf");
    Printing elsewhere(settings);
    QStringList told;
    elsewhere.report = [&told](const QString& cause) { told.append(cause); };
    shared.cLPT = QStringLiteral("LPTA");
    Drucker_anW(shared, elsewhere, 2);
    Sage(shared, elsewhere, 2, 10, QStringLiteral("weg"));
    Drucker_aus(shared, elsewhere);
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0].contains(QStringLiteral("fehlt/seiten.pdf"))) << told[0].toStdString();
    EXPECT_FALSE(office.exists("fehlt/seiten.pdf"));
}

}  // namespace
}  // namespace sendwerk
