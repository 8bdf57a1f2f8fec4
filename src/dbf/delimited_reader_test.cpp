#include "dbf/delimited_reader.h"

#include "dbf/table.h"

#include <gtest/gtest.h>

namespace sendwerk::dbf {
namespace {

TEST(DelimitedReaderTest, SplitsLinesIntoFields) {
    using Fields = QList<QByteArray>;
    const struct {
        const char* what;
        QByteArray line;
        Fields fields;
    } cases[] = {
        {"plain", "a,b,c", {"a", "b", "c"}},
        {"empty fields", ",,", {"", "", ""}},
        {"empty line part", "", {""}},
        {"blanks are kept", " a , b", {" a ", " b"}},
        {"quoted comma", "\"Meier, Hans\",x", {"Meier, Hans", "x"}},
        {"doubled quote", "\"sagt \"\"hallo\"\"\",y", {"sagt \"hallo\"", "y"}},
        {"empty quoted", "\"\",z", {"", "z"}},
        {"text after the closing quote", "\"ab\"cd,e", {"abcd", "e"}},
        {"quote inside a value", "ab\"cd,e", {"ab\"cd", "e"}},
        {"unbalanced quote runs to the line end", "a,\"b,c", {"a", "b,c"}},
        {"1252 bytes untouched", "M\xFCller,\xE4", {"M\xFCller", "\xE4"}},
    };
    for (const auto& c : cases) EXPECT_EQ(DelimitedReader::splitLine(c.line), c.fields) << c.what;
}

TEST(DelimitedReaderTest, ReadsRecordsLineByLine) {
    const struct {
        const char* what;
        QByteArray content;
        QList<QList<QByteArray>> records;
    } cases[] = {
        {"CR LF", "h1,h2\r\na,b\r\n", {{"h1", "h2"}, {"a", "b"}}},
        {"LF without final break", "h\nx,y", {{"h"}, {"x", "y"}}},
        {"empty lines skipped", "\r\n\r\na\r\n\r\nb\r\n", {{"a"}, {"b"}}},
        {"DOS end of file", "a\r\n\x1A", {{"a"}}},
        {"unbalanced quote stays on its line", "\"a,b\r\nc,d\r\n", {{"a,b"}, {"c", "d"}}},
        {"fewer fields", "1,2,3,4,x@y\r\n1,2\r\n", {{"1", "2", "3", "4", "x@y"}, {"1", "2"}}},
        {"empty file", "", {}},
    };
    for (const auto& c : cases) {
        DelimitedReader reader(c.content);
        QList<QList<QByteArray>> records;
        while (!reader.atEnd()) records.append(reader.next());
        EXPECT_EQ(records, c.records) << c.what;
        EXPECT_TRUE(reader.next().isEmpty()) << c.what;
    }
    // A missing field reads as empty.
    DelimitedReader reader("1,2\r\n");
    EXPECT_EQ(reader.next().value(4), QByteArray());
}

TEST(DelimitedReaderTest, AMissingFileNamesTheFile) {
    try {
        DelimitedReader::fromFile("/nonexistent/NeueWMails.csv");
        ADD_FAILURE() << "no error";
    } catch (const DbfError& e) {
        EXPECT_NE(std::string(e.what()).find("NeueWMails.csv"), std::string::npos);
    }
}

}  // namespace
}  // namespace sendwerk::dbf
