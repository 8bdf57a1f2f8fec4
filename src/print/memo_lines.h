// How MemoDruck breaks a text into lines, on its own so it can be tested
// without a page: hard breaks (CR LF, a lone LF or CR, and the soft break U+008D + LF)
// end lines; a longer paragraph is word-wrapped at `width`: the break goes after the
// last blank that still fits (that blank is dropped), a word longer than the width is
// cut. Tabs become blanks to the next multiple of 4. A break at the very end of the
// text adds no empty line; an empty text has no lines.
#pragma once

#include <QString>
#include <QStringList>

namespace sendwerk {

QStringList memoLines(const QString& text, int width);

}  // namespace sendwerk
