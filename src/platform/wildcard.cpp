#include "platform/wildcard.h"

namespace sendwerk {

namespace {

bool sameLetter(QChar a, QChar b) { return a == b || a.toCaseFolded() == b.toCaseFolded(); }

}  // namespace

bool matchesWildcard(const QString& name, const QString& pattern) {
    if (pattern == QLatin1String("*.*")) return true;
    // Greedy matching with one backtrack point: linear in practice, never exponential.
    qsizetype n = 0, p = 0, starP = -1, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern.at(p) == QLatin1Char('*')) {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() && (pattern.at(p) == QLatin1Char('?') || sameLetter(pattern.at(p), name.at(n)))) {
            ++p;
            ++n;
        } else if (starP >= 0) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern.at(p) == QLatin1Char('*')) ++p;
    return p == pattern.size();
}

}  // namespace sendwerk
