// Printouts of edited texts: the office's printing routines under their own names.
// Every printout is bracketed by `Drucker_anW` and `Drucker_aus`; in between, `Sage`,
// `MemoDruck` and `FdrG` put text at rows and columns. The mode is chosen by
// `shared.cLPT` at the moment the printout opens:
//
//   page mode, cLPT == "LPTA": drawn pages on the page printer of the settings file
//     (`[programs] pageprinter=`: empty = the desktop's default printer, a printer name,
//     "|command" that gets the pages as PDF on its standard input, or a .pdf file);
//     a grid of 2.5 mm columns and 4.2 mm rows, page units of 0.1 mm.
//   text mode, any other cLPT: characters on the text printer that stands for "LPT1"
//     (`[programs] textprinter=`: a device file or "|command"), encoded in
//     `[programs] textcodepage=` (850, the default, 1252 or UTF-8), rows reached by
//     line breaks and columns by blanks.
//
// The scalars of the printout state (cLPT, cLPTSCR, nZei, nSpa, nPPS, nPPZ, nPoffX,
// nPoffY, aFonts, lSeiteLeer) stay in `Shared`; the objects (oPrinterPS, oFont, the text
// device) live in one `Printing` that `Main` owns next to `Shared` for the whole run.
//
// How the text editor prints, `shared` and `printing` being Main's:
//
//   Alt+D, page print, always on the page printer: printPages(shared, printing, text),
//   which is
//     const QString saved = shared.cLPT;
//     shared.cLPT = QStringLiteral("LPTA");
//     shared.nZei = 2;
//     shared.nSpa = 10;
//     Drucker_anW(shared, printing, 2);
//     MemoDruck(shared, printing.oPrinterPS.get(), printing.oFont.get(),
//               textWithoutTrailingBlanks, 1, {QStringLiteral("10.COURIER NEW")});
//     Drucker_aus(shared, printing);
//     shared.cLPT = saved;
//
//   Ctrl+P, text print, in the mode cLPT sets (text mode on "LPT1" unless start-up read
//   "LPTA" from f10, then on the page printer through Sage): printText(shared,
//   printing, text), which is
//     Drucker_anW(shared, printing, 2);
//     Sage(shared, printing, 2, 10, text);
//     Drucker_aus(shared, printing);
//
// The text is the editor's Unicode text (QString, CR LF line breaks); code pages are the
// print layer's business. Nothing here throws or asks: a printout that cannot be made or
// delivered (no printer, a printer command that fails or hangs, a device file that cannot
// be opened, characters the text printer's code page lacks) ends without output, or with
// '?' for the missing characters, and is reported once through `printing.report` (a
// German text naming the printer and the cause; the program shows it in a message box,
// the default writes it to standard error). Delivery happens in `Drucker_aus`: the
// page printout's job is handed over when its document ends, the text printout's bytes
// when its printer target closes. A printer command gets `Printing::commandTimeLimit` to
// take the data and end; `printing.whileWaiting` is called meanwhile (keep windows
// painting there; deliver no input).
//
// GUI thread only (QtGui fonts and paint devices); needs a QGuiApplication. Not
// thread-safe, not re-entrant.
#pragma once

#include <QPoint>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

#include "print/page_device.h"
#include "print/text_device.h"

namespace sendwerk {

struct Shared;
struct Settings;

// Makes the printer device for a printer name ("" = the page printer of the settings).
// Returns a failure with the cause when there is no such printer.
using PrinterDeviceMaker = std::function<Result<std::unique_ptr<PrinterDevice>>(const QString& cPrinterObjectName)>;

// The printout's objects; the scalars are in Shared.
struct Printing {
    // The devices the settings file names: `pageprinter`, `textprinter`, `textcodepage`.
    explicit Printing(const Settings& settings);
    // For tests: any device maker and text printer.
    Printing(PrinterDeviceMaker makeDevice, TextPrinterPort textPrinter);

    Printing(const Printing&) = delete;
    Printing& operator=(const Printing&) = delete;

    // The page-mode presentation space; empty outside a page printout (and when the
    // printer device could not be made).
    std::unique_ptr<PresentationSpace> oPrinterPS;
    // The font object of the page printout; kept after it closes, replaced by the next.
    std::unique_ptr<PageFont> oFont;
    // Orientation of the next page printout (1 portrait, 2 landscape); no caller in the
    // system sets it, so page printouts are portrait.
    std::optional<int> nOrientierung;
    // The text device: screen or printer port, its echo switches and print head.
    TextDevice text;

    // Makes printer devices; set by the constructors.
    PrinterDeviceMaker makeDevice;
    // Told once per failed printout; by default the text goes to standard error.
    std::function<void(const QString& cause)> report;
    // Called about every 20 ms while a printer command takes its data.
    std::function<void()> whileWaiting;
    // How long a printer command ("|lp ...") may take before it is stopped.
    static constexpr std::chrono::seconds commandTimeLimit{30};
};

// Opens a printout; `nP` 1 asks for echo printing, any other value (the editor passes
// 2) for positioned printing. A page printout opened while another is open drops the
// open one's job unprinted. Always true.
bool Drucker_anW(Shared& shared, Printing& printing, int nP);

// Closes the current printout, whatever its mode, and delivers it. Safe in any state.
// Always true.
bool Drucker_aus(Shared& shared, Printing& printing);

// Ejects the current page when anything was output on it. Always true.
bool NeueSeite(Shared& shared, Printing& printing);

// Makes a printer device for the named printer ("" = the page printer of the settings)
// with the orientation (empty: 1) and a presentation space on it in 0.1 mm. Empty (and
// reported) when the device cannot be made.
std::unique_ptr<PresentationSpace> PrinterPS(Printing& printing, const QString& cPrinterObjectName,
                                             std::optional<int> nOrientierung);

// Detaches the presentation space from its printer device and releases the device.
void DestroyDevice(PresentationSpace* oPS);

// Writes `cSay` at row `nRow`, column `nCol`: on the text device (screen, or the text
// printer during a text printout), or on the page of the open page printout (one line
// through FdrG in aFonts[0]; a text with a line break, CR LF or a lone LF or CR, through
// MemoDruck in "11.CONSOLAS", starting one row below nRow). `cSay` is normally a QString; numbers,
// dates (dd.mm.yy) and logical values (.T./.F.) get their standard text form. Sets
// nZei/nSpa. Always true.
bool Sage(Shared& shared, Printing& printing, int nRow, int nCol, const QVariant& cSay);

// Lays `cString` out on the page of `oPrinterPS`: from the row after nZei, at column
// nSpa, at most 80 characters a line (word-wrapped; CR LF and the soft break 141+LF end
// lines), trailing blanks not drawn, a new page once the row passes 65 (then row 2),
// in the font aSchrift[nTFont - 1]. Returns ".". Does nothing when `oPrinterPS` is empty.
QString MemoDruck(Shared& shared, PresentationSpace* oPrinterPS, PageFont* oFont, const QString& cString, int nTFont,
                  const QStringList& aSchrift);

// The pen position {dx, dy} in page units: where the next character would start,
// relative to the text's start point.
using PenPosition = QPoint;

// Draws `cText` at row nZei, column nSpa in the font aSettings[nFont - 1] (the built-in
// list when `aSettings` is empty) and moves nZei/nSpa past it. {0, 0} and nothing drawn
// when `oPrinterPS` is empty.
PenPosition FdrG(Shared& shared, PresentationSpace* oPrinterPS, PageFont* oFont, const QString& cText, int nFont,
                 const QStringList& aSettings);

// The editor's page print (Alt+D) of a whole text: pages from row 3, column 10, in
// "10.COURIER NEW", whatever cLPT says; cLPT is put back afterwards. Trailing blanks of
// the text are not printed.
void printPages(Shared& shared, Printing& printing, const QString& text);

// The editor's text print (Ctrl+P): the text at row 2, column 10 in the mode cLPT sets.
void printText(Shared& shared, Printing& printing, const QString& text);

// The built-in font list of FdrG (eight entries; 1 "12.Courier New", 4 "12.Courier New
// Fett").
const QStringList& builtInPrintFonts();

}  // namespace sendwerk
