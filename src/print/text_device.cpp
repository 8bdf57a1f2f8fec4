#include "print/text_device.h"

#include "platform/code_page.h"
#include "print/printer_command.h"

#include <QProcess>

#include <cstdio>

namespace sendwerk {

namespace {

enum class Page { Cp850, Cp1252, Utf8, Unknown };

Page pageFor(const QString& name) {
    QString n = name.trimmed().toLower();
    if (n.startsWith(QLatin1String("cp"))) n = n.mid(2);
    n.remove(QLatin1Char('-'));
    if (n.isEmpty() || n == QLatin1String("850") || n == QLatin1String("ibm850")) return Page::Cp850;
    if (n == QLatin1String("1252") || n == QLatin1String("windows1252")) return Page::Cp1252;
    if (n == QLatin1String("utf8")) return Page::Utf8;
    return Page::Unknown;
}

// Line breaks inside a written text move the head down; the text after the last break
// sets its column.
void advanceHead(const QString& text, int& row, int& col) {
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('\n')) {
            ++row;
            lineStart = i + 1;
        } else if (text.at(i) == QLatin1Char('\r')) {
            lineStart = i + 1;
            col = 0;
        }
    }
    if (lineStart > 0)
        col = int(text.size() - lineStart);
    else
        col += int(text.size());
}

}  // namespace

QByteArray encodeForTextPrinter(const QString& text, const QString& codePage, QString* unprintable) {
    Encoded encoded;
    switch (pageFor(codePage)) {
    case Page::Cp1252: encoded = encode1252(text); break;
    case Page::Utf8: encoded.bytes = text.toUtf8(); break;
    case Page::Cp850:
    case Page::Unknown: encoded = encode850(text); break;
    }
    if (unprintable) *unprintable += encoded.unmappable;
    return encoded.bytes;
}

bool knownTextCodePage(const QString& codePage) { return pageFor(codePage) != Page::Unknown; }

static void toStandardOutput(int, int, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

TextDevice::TextDevice(TextPrinterPort port) : screen(toStandardOutput), port_(std::move(port)) {}

void TextDevice::setPrinterPosition(int row, int col) {
    prow_ = row;
    pcol_ = col;
}

void TextDevice::setPrinter(const QString& target) {
    if (!target_.isEmpty()) {
        const Result<> delivered = deliver();
        lastFailure_ = delivered.cause();
        QString message = delivered.cause();
        if (delivered && !unprintable_.isEmpty())
            message = QStringLiteral("Druck auf LPT1: Zeichen ohne Entsprechung in Codeseite %1 als ? gedruckt: %2")
                          .arg(port_.codePage, unprintable_);
        if (!message.isEmpty() && report) report(message);
    }
    pending_.clear();
    unprintable_.clear();
    target_ = target;
    if (!target_.isEmpty()) lastFailure_.clear();
}

void TextDevice::eject() {
    if (!target_.isEmpty()) pending_.append('\f');
    prow_ = 0;
    pcol_ = 0;
}

void TextDevice::sayAt(int row, int col, const QString& text) {
    if (device_ == Device::Screen) {
        if (screen) screen(row, col, text);
        return;
    }
    moveHeadTo(row, col);
    writeToPrinter(text);
}

void TextDevice::moveHeadTo(int row, int col) {
    if (target_.isEmpty()) return;
    row = std::max(row, 0);
    col = std::max(col, 0);
    if (row < prow_) eject();
    if (row > prow_) {
        for (int r = prow_; r < row; ++r) pending_.append("\r\n");
        prow_ = row;
        pcol_ = 0;
    }
    if (col < pcol_) {
        pending_.append('\r');
        pcol_ = 0;
    }
    pending_.append(QByteArray(col - pcol_, ' '));
    pcol_ = col;
}

void TextDevice::writeToPrinter(const QString& text) {
    if (target_.isEmpty()) return;
    pending_.append(encodeForTextPrinter(text, port_.codePage, &unprintable_));
    advanceHead(text, prow_, pcol_);
}

Result<> TextDevice::deliver() {
    if (pending_.isEmpty()) return {};
    if (target_.compare(QLatin1String("LPT1"), Qt::CaseInsensitive) != 0)
        return Failure{QStringLiteral("Druck auf %1 nicht möglich: nur LPT1 ist eingerichtet.").arg(target_)};
    if (port_.target.isEmpty())
        return Failure{
            QStringLiteral("Druck auf LPT1 nicht möglich: kein Textdrucker eingerichtet "
                           "([programs] textprinter= in der Einstellungsdatei).")};
    if (port_.target.startsWith(QLatin1Char('|'))) {
        const QStringList command = QProcess::splitCommand(port_.target.mid(1).trimmed());
        return sendToPrinterCommand(QStringLiteral("LPT1"), command, pending_, commandTimeLimit, whileWaiting);
    }
    return sendToPrinterFile(QStringLiteral("LPT1"), port_.target, pending_, FileMode::Append);
}

}  // namespace sendwerk
