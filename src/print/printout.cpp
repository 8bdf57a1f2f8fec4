#include "print/printout.h"

#include "platform/office_text.h"
#include "platform/settings.h"
#include "print/memo_lines.h"
#include "print/print_targets.h"
#include "queue/shared.h"

#include <QDate>

#include <cstdio>

namespace sendwerk {

namespace {

const QString kPageMode = QStringLiteral("LPTA");
constexpr int kLineWidth = 80;
constexpr int kLastRow = 65;
constexpr int kFirstRowOfNextPage = 2;

void toStandardError(const QString& cause) { std::fprintf(stderr, "sendwerk: %s\n", cause.toLocal8Bit().constData()); }

bool pagePrintout(const Shared& shared, const Printing& printing) {
    return shared.cLPT == kPageMode && printing.oPrinterPS != nullptr;
}

// The standard text form of a value written by Sage.
QString textForm(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::QString: return value.toString();
    case QMetaType::QDate: {
        const QDate date = value.toDate();
        return date.isValid() ? date.toString(QStringLiteral("dd.MM.yy")) : QStringLiteral("  .  .  ");
    }
    case QMetaType::Bool: return value.toBool() ? QStringLiteral(".T.") : QStringLiteral(".F.");
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong: return QString::number(value.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float: return QString::number(value.toDouble(), 'g', 15);
    default: return value.toString();
    }
}

bool hasLineBreak(const QString& text) { return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r')); }

}  // namespace

Printing::Printing(const Settings& settings)
    : Printing(PrinterDeviceMaker(), TextPrinterPort{settings.textPrinter, settings.textCodePage}) {
    makeDevice = [this, pagePrinter = settings.pagePrinter](const QString& name) {
        return makePrinterDevice(pagePrinter, name, commandTimeLimit, [this] {
            if (whileWaiting) whileWaiting();
        });
    };
}

Printing::Printing(PrinterDeviceMaker maker, TextPrinterPort textPrinter)
    : text(std::move(textPrinter)), makeDevice(std::move(maker)), report(toStandardError) {
    // The text device tells and waits through the printout's own hooks, which the
    // program may set after construction.
    text.report = [this](const QString& cause) {
        if (report) report(cause);
    };
    text.whileWaiting = [this] {
        if (whileWaiting) whileWaiting();
    };
    text.commandTimeLimit = commandTimeLimit;
}

bool Drucker_anW(Shared& shared, Printing& printing, int nP) {
    const std::optional<int> orientation = printing.nOrientierung;
    if (shared.cLPT == kPageMode) {
        if (nP == 1) {
            printing.text.setPrinterEcho(true);
            printing.text.setConsoleEcho(false);
        } else {
            shared.cLPTSCR = QStringLiteral("P");
            printing.oPrinterPS = PrinterPS(printing, QString(), orientation);
            printing.oFont = std::make_unique<PageFont>();
            if (printing.oPrinterPS) {
                const Result<> started = printing.oPrinterPS->device()->startDoc();
                if (!started) {
                    if (printing.report) printing.report(started.cause());
                    printing.oPrinterPS.reset();
                }
            }
        }
    } else {
        printing.text.setPrinterPosition(0, 0);
        if (nP == 1) {
            printing.text.setPrinterEcho(true);
            printing.text.setConsoleEcho(false);
        } else {
            printing.text.setDevice(TextDevice::Device::Printer);
            printing.text.setPrinter(QStringLiteral("LPT1"));
        }
    }
    shared.lSeiteLeer = true;
    return true;
}

bool Drucker_aus(Shared& shared, Printing& printing) {
    if (pagePrintout(shared, printing)) {
        const Result<> ended = printing.oPrinterPS->device()->endDoc();
        if (!ended && printing.report) printing.report(ended.cause());
        DestroyDevice(printing.oPrinterPS.get());
        printing.text.setDevice(TextDevice::Device::Screen);
        shared.cLPTSCR = QStringLiteral("S");
        printing.oPrinterPS.reset();
    } else {
        if (!shared.lSeiteLeer) NeueSeite(shared, printing);
        printing.text.setPrinter(QString());
        printing.text.setPrinterEcho(false);
        printing.text.setConsoleEcho(true);
        printing.text.setDevice(TextDevice::Device::Screen);
    }
    shared.lSeiteLeer = true;
    return true;
}

bool NeueSeite(Shared& shared, Printing& printing) {
    if (!shared.lSeiteLeer) {
        if (pagePrintout(shared, printing))
            printing.oPrinterPS->device()->newPage();
        else if (shared.cLPT == QLatin1String("LPT1"))
            printing.text.eject();
    }
    shared.lSeiteLeer = true;
    return true;
}

std::unique_ptr<PresentationSpace> PrinterPS(Printing& printing, const QString& cPrinterObjectName,
                                             std::optional<int> nOrientierung) {
    if (!printing.makeDevice) return nullptr;
    Result<std::unique_ptr<PrinterDevice>> device = printing.makeDevice(cPrinterObjectName);
    if (!device) {
        if (printing.report) printing.report(device.cause());
        return nullptr;
    }
    (*device)->setOrientation(nOrientierung.value_or(1));
    return std::make_unique<PresentationSpace>(std::move(*device));
}

void DestroyDevice(PresentationSpace* oPS) {
    if (!oPS || !oPS->device()) return;
    std::unique_ptr<PrinterDevice> released = oPS->detachDevice();
    released.reset();
}

bool Sage(Shared& shared, Printing& printing, int nRow, int nCol, const QVariant& cSay) {
    shared.nZei = nRow;
    shared.nSpa = nCol;
    if (shared.cLPTSCR == QLatin1String("S") || shared.cLPT != kPageMode) {
        printing.text.sayAt(nRow, nCol, textForm(cSay));
    } else {
        const QString text = textForm(cSay);
        if (!hasLineBreak(text)) {
            FdrG(shared, printing.oPrinterPS.get(), printing.oFont.get(), text, 1, shared.aFonts);
            shared.lSeiteLeer = false;
        } else {
            MemoDruck(shared, printing.oPrinterPS.get(), printing.oFont.get(), text, 1,
                      {QStringLiteral("11.CONSOLAS")});
        }
    }
    return true;
}

QString MemoDruck(Shared& shared, PresentationSpace* oPrinterPS, PageFont* oFont, const QString& cString, int nTFont,
                  const QStringList& aSchrift) {
    if (!oPrinterPS || !oPrinterPS->device()) return QStringLiteral(".");
    const int startColumn = shared.nSpa;
    int row = shared.nZei;
    const QStringList lines = memoLines(cString, kLineWidth);
    for (const QString& line : lines) {
        ++row;
        shared.nZei = row;
        shared.nSpa = startColumn;
        if (shared.nZei > kLastRow) {
            oPrinterPS->device()->newPage();
            row = kFirstRowOfNextPage;
            shared.nZei = row;
        }
        FdrG(shared, oPrinterPS, oFont, withoutTrailingBlanks(line), nTFont, aSchrift);
    }
    return QStringLiteral(".");
}

const QStringList& builtInPrintFonts() {
    static const QStringList fonts = {
        QStringLiteral("12.Courier New"),     QStringLiteral("12.Arial"),
        QStringLiteral("12.Times New Roman"), QStringLiteral("12.Courier New Fett"),
        QStringLiteral("12.Arial Fett"),      QStringLiteral("12.Times New Roman Fett"),
        QStringLiteral("12.Arial Kursiv"),    QStringLiteral("12.Times New Roman Kursiv"),
    };
    return fonts;
}

PenPosition FdrG(Shared& shared, PresentationSpace* oPrinterPS, PageFont* oFont, const QString& cText, int nFont,
                 const QStringList& aSettings) {
    if (!oPrinterPS || !oPrinterPS->device()) return {};
    const PaperSize paper = oPrinterPS->device()->paperSize();
    const QStringList& fonts = aSettings.isEmpty() ? builtInPrintFonts() : aSettings;
    PageFont scratch;
    PageFont& font = oFont ? *oFont : scratch;
    font.create(fonts.value(nFont - 1, fonts.value(0)));
    oPrinterPS->setFont(&font);

    const QSize cell = oPrinterPS->characterCell();
    const int columnWidth = shared.nPPS != 0 ? shared.nPPS : std::max(1, cell.width());
    const int rowHeight = shared.nPPZ != 0 ? shared.nPPZ : std::max(1, cell.height());
    const int printableHeight = paper.top - paper.bottom;
    const int y = printableHeight - shared.nPoffY - int(double(shared.nZei) * rowHeight);
    const int x = shared.nPoffX + paper.left + int(double(shared.nSpa) * columnWidth);

    oPrinterPS->drawString(QPoint(x, y), cText);
    const PenPosition pen = oPrinterPS->concatenationPoint(cText);
    oPrinterPS->setFont(nullptr);
    font.release();

    shared.nZei = (printableHeight - shared.nPoffY - y - pen.y()) / rowHeight;
    shared.nSpa = (x + pen.x() - shared.nPoffX - paper.left) / columnWidth;
    return pen;
}

void printPages(Shared& shared, Printing& printing, const QString& text) {
    const QString saved = shared.cLPT;
    shared.cLPT = kPageMode;
    shared.nZei = 2;
    shared.nSpa = 10;
    Drucker_anW(shared, printing, 2);
    MemoDruck(shared, printing.oPrinterPS.get(), printing.oFont.get(), withoutTrailingBlanks(text), 1,
              {QStringLiteral("10.COURIER NEW")});
    Drucker_aus(shared, printing);
    shared.cLPT = saved;
}

void printText(Shared& shared, Printing& printing, const QString& text) {
    Drucker_anW(shared, printing, 2);
    Sage(shared, printing, 2, 10, text);
    Drucker_aus(shared, printing);
}

}  // namespace sendwerk
