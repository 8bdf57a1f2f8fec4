// The whitelist of approved recipients: the text of "CMail\WhiteList.mad" with
// normalised line breaks, in lower case (Windows-1252 letters included). A recipient
// passes when its lower-case form occurs anywhere in that text; the test knows no
// lines or separators. A missing file gives an empty whitelist, so nobody passes
// (except the empty recipient, which then fails the address test); it says so through
// missing(), for the operator to learn why every order goes to quarantine. Built once
// per send run; any thread for a built one.
#pragma once

#include <QByteArray>
#include <QString>

namespace sendwerk {

class FileSystem;

// Lower case of Windows-1252 text (A-Z, the accented capitals, Š Œ Ž Ÿ).
QByteArray lower1252(const QByteArray& text);

class Whitelist {
public:
    explicit Whitelist(const QByteArray& fileText);
    static Whitelist read(const QString& cDatver, const FileSystem& files);
    // The DOS path read() reads.
    static QString path(const QString& cDatver);

    bool passes(const QByteArray& recipient) const;
    const QByteArray& text() const { return text_; }
    // True when read() found no file.
    bool missing() const { return missing_; }

private:
    QByteArray text_;
    bool missing_ = false;
};

}  // namespace sendwerk
