#include "queue/order_names.h"

#include "platform/code_page.h"
#include "queue/folders.h"

namespace sendwerk {

namespace {

const QString kExtension = QStringLiteral(".ausg");

int firstExtension(const QString& path) { return path.indexOf(kExtension, 0, Qt::CaseInsensitive); }

// The office's substring rule: a count of zero or less gives the empty text.
QString substring(const QString& text, qsizetype start, qsizetype count) {
    if (count <= 0 || start < 0 || start >= text.size()) return {};
    return text.mid(start, count);
}

QString insertSuffix(const QString& path, const QString& suffix) {
    const int at = firstExtension(path);
    if (at < 0) return path + suffix;
    QString result = path;
    return result.insert(at, suffix);
}

}  // namespace

QString replaceFirstExtension(const QString& path, const QString& replacement) {
    const int at = firstExtension(path);
    if (at < 0) return path;
    QString result = path;
    return result.replace(at, kExtension.size(), replacement);
}

std::optional<OrderNames> deriveOrderNames(const QString& cDatver, const QString& F) {
    // Without an underscore in F, or with fewer than six characters before its last
    // one, the order number would be cut from the folder names of the path.
    if (F.lastIndexOf('_') < 6 || firstExtension(F) < 0) return std::nullopt;
    if (!encode1252(cDatver + F).complete()) return std::nullopt;

    OrderNames n;
    n.F = F;
    n.cMailAusName = folderPath(cDatver, Folder::Outbox) + F;
    n.cMailResName = replaceFirstExtension(n.cMailAusName, QStringLiteral(".result"));
    n.cMailFailName = folderPath(cDatver, Folder::Failure) + F;
    n.cMailFailure = replaceFirstExtension(n.cMailFailName, QStringLiteral(".result"));

    const QString ausgang = QStringLiteral("Ausgang");
    const int firstAusgang = n.cMailAusName.indexOf(ausgang);
    n.cMailQuarantine = n.cMailAusName;
    n.cMailQuarantine.insert(firstAusgang + ausgang.size(), QStringLiteral("\\quarantine"));

    const int lastUnderscore = n.cMailAusName.lastIndexOf('_');
    n.cAuftrag = substring(n.cMailAusName, lastUnderscore - 6, 6);

    const int ausgangFolder = n.cMailAusName.indexOf(QStringLiteral("Ausgang\\"));
    const int firstUnderscore = n.cMailAusName.indexOf('_');
    n.cMailFormular = substring(n.cMailAusName, ausgangFolder + 8, firstUnderscore - ausgangFolder + 10);
    n.cMailForm = n.cMailFormular.left(n.cMailFormular.indexOf('_'));
    if (n.cMailForm.isEmpty()) return std::nullopt;

    n.cMailGesendet = n.cMailAusName;
    n.cMailGesendet.replace(firstAusgang, ausgang.size(),
                            QStringLiteral("gesendet\\") + n.cAuftrag + '\\' + n.cMailForm);
    n.cMailResGesendet = replaceFirstExtension(n.cMailGesendet, QStringLiteral(".result"));
    n.cMailAnhGesendet = replaceFirstExtension(n.cMailGesendet, QStringLiteral(".pdf"));
    return n;
}

OrderNames withRecipientSuffix(const OrderNames& names, int n) {
    const QString suffix = '-' + QString::number(n);
    OrderNames s = names;
    s.cMailFailName = insertSuffix(names.cMailFailName, suffix);
    s.cMailFailure = replaceFirstExtension(s.cMailFailName, QStringLiteral(".result"));
    s.cMailQuarantine = insertSuffix(names.cMailQuarantine, suffix);
    s.cMailGesendet = insertSuffix(names.cMailGesendet, suffix);
    s.cMailResGesendet = replaceFirstExtension(s.cMailGesendet, QStringLiteral(".result"));
    s.cMailAnhGesendet = replaceFirstExtension(s.cMailGesendet, QStringLiteral(".pdf"));
    return s;
}

}  // namespace sendwerk
