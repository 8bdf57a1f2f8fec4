#include "config/editor_printing.h"

#include "print/printout.h"
#include "queue/shared.h"

namespace sendwerk {

EditorPrinting editorPrintingFor(Shared& shared, Printing& printing) {
    return {[&shared, &printing](const QString& text) { printPages(shared, printing, text); },
            [&shared, &printing](const QString& text) { printText(shared, printing, text); }};
}

}  // namespace sendwerk
