#include "header_encoding.h"

#include <vmime/vmime.hpp>

#include <gtest/gtest.h>

namespace sendwerk::cmail {
namespace {

QString decodedSubject(const std::string& field) {
    vmime::header header;
    header.parse(field);
    return QString::fromStdString(header.Subject()->getValue<vmime::text>()->getConvertedText(vmime::charsets::UTF_8));
}

TEST(UnstructuredField, RoundTripsAndKeepsLinesShort) {
    const struct {
        QString value;
        bool plain;  // expected to go out without encoded words
    } cases[] = {
        {QStringLiteral("Rechnung 123"), true},
        {QString(), true},
        {QStringLiteral("Angebot \"Meier\" & Co  (zwei Blanks)"), true},
        {QStringLiteral("Ein langer Betreff ohne Umlaute, der weit ueber eine Zeile hinausgeht und deshalb "
                        "vor Blanks umbrochen werden muss, damit keine Zeile zu lang wird"),
         true},
        {QStringLiteral("sieht aus wie =?utf-8?Q?kodiert?="), false},
        {QString::fromUtf8("Grüße €"), false},
        {QString::fromUtf8("Sterbefall 123456 – Überführung, Beisetzung und Trauerfeier am Freitag; bitte "
                           "Rückmeldung an das Büro bis Donnerstag €€€ äöüÄÖÜß"),
         false},
        {QString(200, QChar('x')), false},
        {QString(100, QChar(0x20AC)), false},
    };
    for (const auto& c : cases) {
        const std::string field = unstructuredField("Subject", c.value);
        const std::string what = c.value.left(30).toStdString();
        EXPECT_EQ(field.find("=?UTF-8?B?") == std::string::npos, c.plain) << what << "\n" << field;
        ASSERT_EQ(field.substr(field.size() - 2), "\r\n") << what;
        size_t start = 0;
        for (size_t end = field.find("\r\n"); end != std::string::npos; end = field.find("\r\n", start)) {
            const std::string line = field.substr(start, end - start);
            EXPECT_LE(line.size(), 78u) << what << ": " << line;
            // A continuation line has exactly one blank before its text, never blanks only.
            EXPECT_EQ(line.find_first_not_of(' '), start == 0 ? 0u : 1u) << what << ": \"" << line << '"';
            for (const char ch : line) EXPECT_LT(static_cast<unsigned char>(ch), 0x80u) << what;
            start = end + 2;
        }
        EXPECT_EQ(decodedSubject(field), c.value) << what << "\n" << field;
    }
}

}  // namespace
}  // namespace sendwerk::cmail
