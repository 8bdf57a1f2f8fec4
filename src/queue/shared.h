// The process-wide state of the office's rules: the named variables that every routine
// reads and writes, with their start values. `Main` (or the headless command) owns one
// instance for the whole run and passes it by reference; there is no global copy.
// Panes and buttons are borrowed pointers to the screen's parts (null until a window or
// an in-memory stand-in is attached). Printing keeps its scalars here; its objects
// (oPrinterPS, oFont, the text device) live in `Printing` (print/printout.h), which Main
// owns next to this. Not thread-safe: the GUI thread owns it.
#pragma once

#include <QString>
#include <QStringList>

#include "platform/office_text.h"
#include "queue/screen.h"

namespace sendwerk {

struct Shared {
    // Created by Main.
    QString cDatver = QStringLiteral("C:\\ZUMA\\");  // the data root: DOS folder of the office's files
    QString cObver = QStringLiteral("T:\\ZUMA\\");   // the central server's copy, checked at start-up
    QString CRLF = ::sendwerk::CRLF;
    ScreenParts screen;
    // The main window's size in pixels and its layout factors (size / 1000): every part
    // is laid out in thousandths of the window.
    int nXSize = 1200;
    int nYSize = 750;
    double nX = 1.2;
    double nY = 0.75;
    // The start-up window's layout factors: desktop width / 800 and height / 600.
    double nH = 1.0;
    double nV = 1.0;

    // Global.
    int nAufSendung = 0;  // 1 while a send run is in progress: no second run starts
    int nDauerlauf = 1;   // continuous mode; at the end of the event loop, 1 rebuilds the window
    int nBeenden = 0;     // 1 once the operator has asked the program to end

    // The printing state. `cLPT` is the printing mode and port ("LPT1" prints text on the
    // text printer; replaced from the settings table's field f10); `cLPTSCR` where page
    // output goes ("P": the printer). A page is a grid of `nPPS` x `nPPZ` (a column's
    // width and a row's height, in 0.1 mm) moved by the offsets `nPoffX`, `nPoffY`;
    // `nZei` and `nSpa` are the current row and column of output; `aFonts` the fonts of
    // single-line page output ("size.NAME"); `lSeiteLeer` is true while the current page
    // is empty (also before the first printout).
    QString cLPT = QStringLiteral("LPT1");
    int nPPS = 25;
    int nPPZ = 42;
    int nPoffX = 0;
    int nPoffY = 0;
    int nZei = 1;
    int nSpa = 1;
    QString cLPTSCR = QStringLiteral("P");
    QStringList aFonts = {QStringLiteral("10.COURIER NEW")};

    // The next timed run's time of day, "hh:mm:ss", shown in the main window's title.
    QString cNextSenden;
    bool lSeiteLeer = true;
};

}  // namespace sendwerk
