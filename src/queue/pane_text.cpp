#include "queue/pane_text.h"

#include "platform/office_text.h"

namespace sendwerk {

QString markFirst(const QString& paneText, const QString& name, const QString& mark) {
    const qsizetype at = paneText.indexOf(name);
    if (at < 0) return paneText;
    QString text = paneText;
    return text.insert(at + name.size(), mark);
}

QString markListRecipient(const QString& paneText, const QString& F, int n, const QString& mark) {
    if (n == 1) return markFirst(paneText, F, QStringLiteral("-1") + mark);
    const qsizetype previous = paneText.lastIndexOf(F + '-' + QString::number(n - 1));
    const QString line = CRLF + F + '-' + QString::number(n) + mark;
    const qsizetype endOfLine = paneText.indexOf(CRLF, previous < 0 ? 0 : previous);
    QString text = paneText;
    if (endOfLine < 0) return text + line;
    return text.insert(endOfLine, line);
}

QString addFolderLine(const QString& paneText, const QString& heading, const QString& line) {
    if (paneText.isEmpty() || paneText.contains(QStringLiteral("leer"))) return heading + CRLF + line;
    return paneText + CRLF + line;
}

}  // namespace sendwerk
