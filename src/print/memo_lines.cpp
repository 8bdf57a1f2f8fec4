#include "print/memo_lines.h"

namespace sendwerk {

namespace {

constexpr int kTabWidth = 4;

QString expandTabs(const QString& paragraph) {
    if (!paragraph.contains(QLatin1Char('\t'))) return paragraph;
    QString out;
    for (const QChar c : paragraph) {
        if (c == QLatin1Char('\t'))
            out += QString(kTabWidth - out.size() % kTabWidth, QLatin1Char(' '));
        else
            out += c;
    }
    return out;
}

// One paragraph word-wrapped at `width`: a break goes after the last blank that still
// fits (that one blank is dropped); a word longer than the width is cut.
void wrapParagraph(const QString& paragraph, int width, QStringList& lines) {
    QString rest = expandTabs(paragraph);
    while (rest.size() > width) {
        qsizetype cut = -1;
        for (qsizetype i = width; i > 0; --i) {
            if (rest.at(i) == QLatin1Char(' ')) {
                cut = i;
                break;
            }
        }
        if (cut < 0) {
            lines.append(rest.left(width));
            rest = rest.mid(width);
        } else {
            lines.append(rest.left(cut));
            rest = rest.mid(cut + 1);
        }
    }
    lines.append(rest);
}

}  // namespace

QStringList memoLines(const QString& text, int width) {
    QString hard = text;
    hard.replace(QStringLiteral("\u008D\n"), QStringLiteral("\n"));
    hard.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    hard.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines;
    if (hard.isEmpty()) return lines;
    QStringList paragraphs = hard.split(QLatin1Char('\n'));
    if (hard.endsWith(QLatin1Char('\n'))) paragraphs.removeLast();
    for (const QString& paragraph : paragraphs) wrapParagraph(paragraph, width, lines);
    return lines;
}

}  // namespace sendwerk
