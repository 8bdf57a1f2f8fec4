#include "queue/order_file.h"

#include <gtest/gtest.h>

namespace sendwerk {
namespace {

TEST(OrderFile, FieldSplitting) {
    const struct {
        QByteArray text;
        QList<QByteArray> fields;
    } cases[] = {
        {"a|||b", {"a", "b"}},
        {"a|||b|||", {"a", "b"}},
        {"a||||||c", {"a", "", "c"}},
        {"a", {"a"}},
        {"", {}},
        {"|||", {""}},
        {"a\r\n|||b\r\n", {"a\r\n", "b\r\n"}},
    };
    for (const auto& c : cases) EXPECT_EQ(splitFields(c.text, "|||"), c.fields) << c.text.toStdString();
}

TEST(OrderFile, DefaultsOnlyForMissingFields) {
    const QByteArray defaultSubject = "Formular f\xFCr Sterbefall";
    const QByteArray defaultBody = "Formular f\xFCr Sterbefall im Anhang";
    const struct {
        QByteArray text;
        QByteArray recipient, subject, body, attachment;
    } cases[] = {
        {"A|||Betreff", "A", "Betreff", defaultBody, ""},
        {"A|||||||||C:\\x.pdf", "A", "", "", "C:\\x.pdf"},  // three separators in a row
        {"A", "A", defaultSubject, defaultBody, ""},
        {"A|||B|||T|||C:\\a.pdf|||mehr", "A", "B", "T", "C:\\a.pdf"},
        {" a@b |||  B |||T\r\n", " a@b ", "  B ", "T\r\n", ""},
    };
    for (const auto& c : cases) {
        const MailOrder o = parseOrder(c.text);
        EXPECT_EQ(o.recipientField, c.recipient) << c.text.toStdString();
        EXPECT_EQ(o.cMail_Betr, c.subject) << c.text.toStdString();
        EXPECT_EQ(o.cMail_Body, c.body) << c.text.toStdString();
        EXPECT_EQ(o.cMail_Anhang, c.attachment) << c.text.toStdString();
    }
}

TEST(OrderFile, RecipientLists) {
    const struct {
        QByteArray field;
        QList<QByteArray> recipients;
    } cases[] = {
        {"{A,B}", {"A", "B"}},      {"{A, B}", {"A", " B"}}, {"{A,B", {"{A", "B"}}, {"{A,}", {"A"}}, {"{}", {}},
        {"{A,,B}", {"A", "", "B"}}, {"x{A}", {"{A"}},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(parseOrder(c.field).isList());
        EXPECT_EQ(splitRecipients(c.field), c.recipients) << c.field.toStdString();
    }
    EXPECT_FALSE(parseOrder("a@b").isList());
}

}  // namespace
}  // namespace sendwerk
