#include "config/editor_printing.h"

#include "print/printout.h"
#include "queue/shared.h"

namespace sendwerk {
namespace {

void pagePrint(Shared& shared, Printing& printing, const QString& text) {
    const QString cLPT = shared.cLPT;
    shared.cLPT = QStringLiteral("LPTA");
    shared.nZei = 2;
    shared.nSpa = 10;
    Drucker_anW(shared, printing, 2);
    MemoDruck(shared, printing.oPrinterPS.get(), printing.oFont.get(), text, 1, {QStringLiteral("10.COURIER NEW")});
    Drucker_aus(shared, printing);
    shared.cLPT = cLPT;
}

void textPrint(Shared& shared, Printing& printing, const QString& text) {
    Drucker_anW(shared, printing, 2);
    Sage(shared, printing, 2, 10, text);
    Drucker_aus(shared, printing);
}

}  // namespace

EditorPrinting editorPrintingFor(Shared& shared, Printing& printing) {
    return {[&shared, &printing](const QString& text) { pagePrint(shared, printing, text); },
            [&shared, &printing](const QString& text) { textPrint(shared, printing, text); }};
}

}  // namespace sendwerk
