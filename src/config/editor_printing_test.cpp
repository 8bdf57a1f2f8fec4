#include "config/editor_printing.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "platform/settings.h"
#include "print/printout.h"
#include "queue/shared.h"

namespace sendwerk {
namespace {

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The page printer is a PDF file and the text printer a plain file, as in an office
// without printers.
class EditorPrintingTest : public ::testing::Test {
protected:
    static Settings printers(const QTemporaryDir& dir) {
        Settings s;
        s.pagePrinter = dir.filePath("seite.pdf");
        s.textPrinter = dir.filePath("lpt1");
        return s;
    }

    QTemporaryDir dir;
    Printing printing{printers(dir)};
    Shared shared;
    EditorPrinting print = editorPrintingFor(shared, printing);
};

TEST_F(EditorPrintingTest, PagePrintUsesThePagePrinterInTextModeAndLeavesTheModeAsItWas) {
    shared.cLPT = QStringLiteral("LPT1");
    print.pagePrint(QString::fromUtf8("Grüße aus dem Büro\r\nzweite Zeile"));
    EXPECT_EQ(shared.cLPT, "LPT1");
    EXPECT_FALSE(QFile::exists(dir.filePath("lpt1")));

    QProcess pdftotext;
    pdftotext.start("pdftotext", {dir.filePath("seite.pdf"), "-"});
    ASSERT_TRUE(pdftotext.waitForFinished(30000));
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    EXPECT_TRUE(text.contains(QString::fromUtf8("Grüße aus dem Büro"))) << text.toStdString();
    EXPECT_TRUE(text.contains("zweite Zeile")) << text.toStdString();
}

TEST_F(EditorPrintingTest, TextPrintGoesWhereThePrintingModeSays) {
    print.textPrint(QString::fromUtf8("Grüße"));
    EXPECT_TRUE(contentOf(dir.filePath("lpt1"))
                    .contains("Gr\x81\xE1"
                              "e"))
        << contentOf(dir.filePath("lpt1")).toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath("seite.pdf")));

    shared.cLPT = QStringLiteral("LPTA");
    print.textPrint(QStringLiteral("Seite"));
    EXPECT_TRUE(QFile::exists(dir.filePath("seite.pdf")));
}

}  // namespace
}  // namespace sendwerk
