// The Linux settings file: the one place where Sendwerk learns what a Windows office
// takes for granted (which folder is drive C:, which editor stands for Notepad, where
// the text printer is). Everything the office configures itself stays in its own files
// and tables; this file holds only the Linux side.
//
// Search order: $SENDWERK_CONFIG, else $XDG_CONFIG_HOME/sendwerk/sendwerk.conf
// (XDG_CONFIG_HOME defaulting to ~/.config), else /etc/sendwerk/sendwerk.conf.
// When none of them exists the settings are empty (no drives mapped) and say where they
// were searched; a SENDWERK_CONFIG that names a missing file is a failure, never empty
// settings in disguise. INI format, for example:
//
//   [drives]
//   C=/srv/zuma
//   T=/mnt/server/zuma
//   [programs]
//   editor=gnome-text-editor --wait
//   textprinter=|lp -d office
//   textcodepage=850
//   pageprinter=office-laser
//   [tables]
//   orderfolder=C:\ZUMA\   (a folder: ends with a backslash)
//   [mail]
//   cafile=/etc/sendwerk/office-ca.pem
//   reportto=it@buero.example
#pragma once

#include <QChar>
#include <QMap>
#include <QString>
#include <QStringList>

#include "platform/result.h"

namespace sendwerk {

// The operator's mailbox for error reports when the settings name none.
inline constexpr char kDefaultErrorReportAddress[] = "sendwerk-fehler@localhost";

struct Settings {
    // Drive letter (upper case) to native folder.
    QMap<QChar, QString> drives;
    // Command line of the desktop editor that stands for "Notepad.exe"; it must not
    // return before the file is closed. Split into arguments at blanks; double quotes
    // keep an argument with blanks together.
    QStringList editor;
    // Where text output for "LPT1" goes: a device file, or "|command" to pipe into.
    QString textPrinter;
    // The code page of the bytes sent to the text printer: "850" (the default, what the
    // office's printers on LPT1 got), "1252" or "UTF-8".
    QString textCodePage = QStringLiteral("850");
    // The printer of page printouts ("LPTA"): empty for the desktop's default printer, a
    // CUPS printer name, "|command" that gets the job as PDF, or a path ending in ".pdf".
    QString pagePrinter;
    // DOS folder of the order table `best` (ending with a backslash); empty means the
    // current folder.
    QString orderTableFolder;
    // Extra CA bundle the mail client trusts besides the system store; may be empty.
    QString caFile;
    // Where the error report mails of the send run go.
    QString errorReportAddress = QString::fromLatin1(kDefaultErrorReportAddress);

    // The file these settings were read from; empty when none was found, and then the
    // places searched, in order.
    QString file;
    QStringList searched;

    // One German line for the operator: which file was read, or where none was found.
    QString origin() const;

    // The file the search order picks, or an empty string when none exists (and then
    // `searched`, when given, lists the places). Failure when SENDWERK_CONFIG names a
    // file that does not exist.
    static Result<QString> locate(QStringList* searched = nullptr);
    // Reads the file `locate()` picks; empty settings when there is none.
    static Result<Settings> load();
    // Reads one given INI file.
    static Settings fromFile(const QString& path);
};

}  // namespace sendwerk
