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

namespace sendwerk {

class Pane;
class Button;

struct Shared {
    // Created by Main.
    QString cDatver = QStringLiteral("C:\\ZUMA\\");
    QString cObver = QStringLiteral("T:\\ZUMA\\");
    QString CRLF = QStringLiteral("\r\n");
    Pane* oMle1 = nullptr;   // outbox pane
    Pane* oMle2 = nullptr;   // failure pane
    Pane* oMle3 = nullptr;   // quarantine pane
    Pane* oMle20 = nullptr;  // pending pane
    Pane* oMle30 = nullptr;  // current-mail pane
    Button* oXbpBS = nullptr;   // send
    Button* oXbpBH = nullptr;   // halt
    Button* oXbpBEn = nullptr;  // end
    Button* oXbpBW1 = nullptr;  // retry failures
    Button* oXbpBW2 = nullptr;  // retry quarantine
    Button* oXbpBna = nullptr;  // emergency stop
    Button* oXbpBlb = nullptr;  // log
    int nXSize = 1200;
    int nYSize = 750;
    double nX = 1.2;
    double nY = 0.75;
    double nH = 1.0;  // desktop width / 800, set at start-up
    double nV = 1.0;  // desktop height / 600, set at start-up

    // Global.
    int nAufSendung = 0;
    int nDauerlauf = 1;
    int nBeenden = 0;
    QString cLPT = QStringLiteral("LPT1");
    int nPPS = 25;
    int nPPZ = 42;
    int nPoffX = 0;
    int nPoffY = 0;
    int nZei = 1;
    int nSpa = 1;
    QString cLPTSCR = QStringLiteral("P");
    QStringList aFonts = {QStringLiteral("10.COURIER NEW")};
    QString cNextSenden;
    bool lSeiteLeer = true;
};

}  // namespace sendwerk
