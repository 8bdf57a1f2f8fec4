#include "app/send_schedule.h"

namespace sendwerk {

QString mainWindowTitle() { return QStringLiteral("TAVO-Mail - automatisches Mail-Programm (Hilfe mit F1)"); }

QString nextSendTime(const QTime& now) {
    const int minutes = now.hour() * 60 + now.minute() + 2;
    return QStringLiteral("%1:%2:%3")
        .arg(minutes / 60, 2, 10, QChar('0'))
        .arg(minutes % 60, 2, 10, QChar('0'))
        .arg(now.second(), 2, 10, QChar('0'));
}

QString titleAfterClick(const QString& cNextSenden) {
    return mainWindowTitle() + QStringLiteral(" - nächste Sendung um: ") + cNextSenden;
}

QString titleAfterTimedRun(const QString& cNextSenden) {
    return mainWindowTitle() + QStringLiteral(" - nächste Sendung: ") + cNextSenden;
}

}  // namespace sendwerk
