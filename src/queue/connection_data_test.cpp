#include "queue/connection_data.h"

#include <gtest/gtest.h>

namespace sendwerk {
namespace {

TEST(ConnectionData, LineBreakNormalisation) {
    const struct {
        QByteArray in, out;
    } cases[] = {
        {"a\nb", "a\r\nb"}, {"a\r\nb", "a\r\nb"}, {"\nb", "\nb"}, {"a\n\nb", "a\r\n\r\nb"}, {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(normaliseLineBreaks(c.in), c.out) << c.in.toStdString();
}

TEST(ConnectionData, SixValuesFromLfOrCrLfWithTrailingBlanksRemoved) {
    for (const QByteArray& file :
         {QByteArray("h  \nu\n pw \n587\nf@x\nb@x\n"), QByteArray("h  \r\nu\r\n pw \r\n587\r\nf@x\r\nb@x"),
          QByteArray("h\r\nu\r\n pw\r\n587\r\nf@x\r\nb@x\r\nsurplus\r\nmore\r\n")}) {
        const ConnectionRead read = parseConnectionData(file);
        ASSERT_TRUE(read.data) << file.toStdString();
        EXPECT_EQ(read.data->cSend_Host, "h");
        EXPECT_EQ(read.data->cSend_User, "u");
        EXPECT_EQ(read.data->cSend_PW, " pw");  // the leading blank is part of the password
        EXPECT_EQ(read.data->cSend_Port, "587");
        EXPECT_EQ(read.data->cSend_From, "f@x");
        EXPECT_EQ(read.data->cSend_Back, "b@x");
    }
}

TEST(ConnectionData, LongLineWrapsAtEightyColumns) {
    const QByteArray host(85, 'h');
    const ConnectionRead read = parseConnectionData(host + "\r\nu\r\npw\r\n587\r\nf@x\r\n");
    ASSERT_TRUE(read.data);
    EXPECT_EQ(read.data->cSend_Host, QByteArray(80, 'h'));
    EXPECT_EQ(read.data->cSend_User, "hhhhh");
    EXPECT_EQ(read.data->cSend_Back, "f@x");
}

TEST(ConnectionData, FewerThanSixValuesGiveNoConnection) {
    const struct {
        QByteArray file;
        int count;
    } cases[] = {{"", 0}, {"h\r\nu\r\npw\r\n587\r\nf@x\r\n", 5}, {"h", 1}};
    for (const auto& c : cases) {
        const ConnectionRead read = parseConnectionData(c.file);
        EXPECT_FALSE(read.data) << c.file.toStdString();
        EXPECT_EQ(read.valueCount, c.count) << c.file.toStdString();
    }
}

}  // namespace
}  // namespace sendwerk
