// The real printer devices behind page mode: what `[programs] pageprinter=` names.
//
//   (empty)        the desktop's default printer (CUPS; $CUPS_SERVER is honoured)
//   NAME           the CUPS printer NAME
//   |command args  the job as PDF on the command's standard input ("|lp -d office"),
//                  started without a shell, within Printing::commandTimeLimit
//   /path/x.pdf    the job as a PDF file (replaced by each printout)
//
// Every job is a PDF. CUPS printers lend it their paper and printable area (from the
// printer's page layout) and get it through `lp -d NAME`, so a refusing queue is a
// failure like any other printer command's. PDF targets are A4 with the whole sheet
// printable (margins 0). GUI thread only; needs a QGuiApplication.
#pragma once

#include <QString>

#include <chrono>
#include <functional>
#include <memory>

#include "platform/result.h"
#include "print/page_device.h"

namespace sendwerk {

// The device for `pagePrinter` (the setting) or, when `cPrinterObjectName` is not empty,
// for that CUPS printer. A failure names the printer: no default printer, no such
// printer.
Result<std::unique_ptr<PrinterDevice>> makePrinterDevice(const QString& pagePrinter, const QString& cPrinterObjectName,
                                                         std::chrono::milliseconds commandTimeLimit,
                                                         std::function<void()> whileWaiting = {});

}  // namespace sendwerk
