// Fonts named the office's way: point size, a full stop, the face name, optionally
// style words ("12. consolas", "10.Times New Roman", "10.COURIER NEW", "11.CONSOLAS",
// "10.Arial Bold", "12.Courier New Fett"). Style words: bold/fett, italic/kursiv,
// underline, strikeout, normal. Faces this desktop lacks are replaced by named stand-ins
// that look alike (Consolas and Courier New by a monospace face, Times New Roman by a
// serif one, Arial by a sans one), chosen among the families that are installed. A name
// without a usable size keeps the application font's size. QtGui only (the windows and
// the printouts use it); GUI thread only.
#pragma once

#include <QFont>
#include <QString>

namespace sendwerk {

struct CompoundFontName {
    int pointSize = 0;  // 0: none given
    QString face;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
};

CompoundFontName parseCompoundFontName(const QString& name);

// The installed family that stands for `face` (itself when installed, matched without
// regard to letter case).
QString installedFamilyFor(const QString& face);

QFont fontFromCompoundName(const QString& name);

}  // namespace sendwerk
