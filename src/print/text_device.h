// The text device: the character channel that positioned output goes to
// when it does not go onto a page. Four switches as the office's routines set them:
// device SCREEN or PRINTER, the printer target ("LPT1", or "" to close it), printer
// echo and console echo; a print head (row and column counters) and the eject.
//
// "LPT1" is the text printer of the settings file (`[programs] textprinter=`, a device
// file or "|command"). While the target is open, bytes collect in memory; closing the
// target delivers them in one piece: appended to the device file, or piped into the
// command within a time limit. Text is encoded in the port's code page
// (`[programs] textcodepage=`: 850 by default, 1252 or UTF-8); a character the page lacks
// is printed as '?' and reported, never dropped silently.
//
// A position on the printer is reached from the print head: a row above the head ejects
// the page first (form feed); rows below it are reached by CR LF, a column left of the
// head by CR and blanks, a column to its right by blanks. Written text moves the head
// (its own CR LF line breaks count as rows). The eject sends a form feed (0x0C) and puts
// the head at 0, 0.
//
// The program has no console window: screen output of the text device goes to the
// `screen` callback, by default the program's standard output (the text alone, one
// line per write). GUI thread only.
#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>
#include <functional>

#include "platform/result.h"

namespace sendwerk {

// Where "LPT1" leads, from the settings file.
struct TextPrinterPort {
    // A device file (written in append mode) or "|command" (its standard input gets the
    // bytes); empty: no text printer set up (a text printout is then reported).
    QString target;
    // "850" (default), "1252" or "UTF-8" (letter case and a "CP" prefix do not matter).
    QString codePage = QStringLiteral("850");
};

class TextDevice {
public:
    enum class Device { Screen, Printer };

    explicit TextDevice(TextPrinterPort port = {});

    void setDevice(Device device) { device_ = device; }
    Device device() const { return device_; }

    // "LPT1" opens the text printer; "" closes the open target and delivers what was
    // written (nothing when nothing was). Opening another name than "LPT1" gives a
    // target that fails at closing (only LPT1 is set up). A failed delivery, or
    // characters printed as '?', are told once through `report` and kept in
    // lastFailure() until the next open.
    void setPrinter(const QString& target);
    const QString& printer() const { return target_; }

    void setPrinterEcho(bool on) { printerEcho_ = on; }
    bool printerEcho() const { return printerEcho_; }
    void setConsoleEcho(bool on) { consoleEcho_ = on; }
    bool consoleEcho() const { return consoleEcho_; }

    // The print head.
    int prow() const { return prow_; }
    int pcol() const { return pcol_; }
    void setPrinterPosition(int row, int col);

    // Form feed to the printer; the head goes to 0, 0.
    void eject();

    // Set position and write the text, on the current device.
    void sayAt(int row, int col, const QString& text);

    // The bytes written to the open printer target so far (for tests and reports).
    const QByteArray& pending() const { return pending_; }
    // Why the last delivery failed; empty when it succeeded (also with '?' characters).
    const QString& lastFailure() const { return lastFailure_; }

    // Receives screen output: row, column, text.
    std::function<void(int row, int col, const QString& text)> screen;
    // Told once per printout about a failed delivery or characters the code page lacks.
    std::function<void(const QString& cause)> report;
    // Called about every 20 ms while a printer command takes its data.
    std::function<void()> whileWaiting;
    std::chrono::milliseconds commandTimeLimit{30000};

    const TextPrinterPort& port() const { return port_; }

private:
    void writeToPrinter(const QString& text);
    void moveHeadTo(int row, int col);
    Result<> deliver();

    TextPrinterPort port_;
    Device device_ = Device::Screen;
    QString target_;
    bool printerEcho_ = false;
    bool consoleEcho_ = true;
    int prow_ = 0;
    int pcol_ = 0;
    QByteArray pending_;
    QString unprintable_;
    QString lastFailure_;
};

// Encodes `text` for a text printer in `codePage` ("850", "1252", "UTF-8"); characters
// the page lacks come out as '?' and are listed in `unprintable`. An unknown code page
// name is taken as 850.
QByteArray encodeForTextPrinter(const QString& text, const QString& codePage, QString* unprintable = nullptr);

// True when `codePage` is one the text printer knows.
bool knownTextCodePage(const QString& codePage);

}  // namespace sendwerk
