#include "print/compound_font.h"

#include <QGuiApplication>
#include <QFontDatabase>
#include <QStringList>

#include <array>

namespace sendwerk {
namespace {

struct StandIn {
    const char* face;                     // lower case
    std::array<const char*, 3> families;  // in order of preference
    QFont::StyleHint hint;
};

constexpr std::array kStandIns{
    StandIn{"consolas", {"DejaVu Sans Mono", "Liberation Mono", "Noto Mono"}, QFont::Monospace},
    StandIn{"courier new", {"Liberation Mono", "DejaVu Sans Mono", "Noto Mono"}, QFont::Monospace},
    StandIn{"courier", {"Liberation Mono", "DejaVu Sans Mono", "Noto Mono"}, QFont::Monospace},
    StandIn{"times new roman", {"Liberation Serif", "DejaVu Serif", "Noto Serif"}, QFont::Serif},
    StandIn{"arial", {"Liberation Sans", "DejaVu Sans", "Noto Sans"}, QFont::SansSerif},
};

QString installed(const QString& family) {
    const QStringList families = QFontDatabase::families();
    for (const QString& f : families)
        if (f.compare(family, Qt::CaseInsensitive) == 0) return f;
    return {};
}

const StandIn* standInFor(const QString& face) {
    for (const auto& s : kStandIns)
        if (face.compare(QLatin1String(s.face), Qt::CaseInsensitive) == 0) return &s;
    return nullptr;
}

}  // namespace

CompoundFontName parseCompoundFontName(const QString& name) {
    CompoundFontName out;
    const qsizetype dot = name.indexOf(u'.');
    QString rest = name;
    if (dot >= 0) {
        bool ok = false;
        const int size = name.left(dot).trimmed().toInt(&ok);
        if (ok && size > 0 && size <= 200) out.pointSize = size;
        rest = name.mid(dot + 1);
    }
    QStringList words = rest.simplified().split(u' ', Qt::SkipEmptyParts);
    // Style words stand at the end; a face needs at least one word of its own.
    while (words.size() > 1) {
        const QString last = words.last().toLower();
        if (last == u"bold" || last == u"fett")
            out.bold = true;
        else if (last == u"italic" || last == u"kursiv")
            out.italic = true;
        else if (last == u"underline")
            out.underline = true;
        else if (last == u"strikeout")
            out.strikeOut = true;
        else if (last != u"normal")
            break;
        words.removeLast();
    }
    out.face = words.join(u' ');
    return out;
}

QString installedFamilyFor(const QString& face) {
    if (const QString exact = installed(face); !exact.isEmpty()) return exact;
    if (const StandIn* s = standInFor(face)) {
        for (const char* family : s->families)
            if (const QString f = installed(QLatin1String(family)); !f.isEmpty()) return f;
        QFont probe;
        probe.setStyleHint(s->hint);
        return probe.defaultFamily();
    }
    return QGuiApplication::font().family();
}

QFont fontFromCompoundName(const QString& name) {
    const CompoundFontName parsed = parseCompoundFontName(name);
    QFont font = QGuiApplication::font();
    if (!parsed.face.isEmpty()) font.setFamily(installedFamilyFor(parsed.face));
    if (const StandIn* s = standInFor(parsed.face)) font.setStyleHint(s->hint);
    if (parsed.pointSize > 0) font.setPointSize(parsed.pointSize);
    font.setBold(parsed.bold);
    font.setItalic(parsed.italic);
    font.setUnderline(parsed.underline);
    font.setStrikeOut(parsed.strikeOut);
    return font;
}

}  // namespace sendwerk
