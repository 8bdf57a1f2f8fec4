#include "platform/code_page.h"

#include <gtest/gtest.h>

#include <iconv.h>

#include <optional>
#include <set>

namespace sendwerk {
namespace {

constexpr int kNone = -1;

TEST(CodePages, KnownCharactersBothWays) {
    struct Case {
        char16_t unicode;
        int cp1252;  // kNone: the page has no such character
        int cp850;
    } cases[] = {
        {u'A', 0x41, 0x41},  {u'ä', 0xE4, 0x84},  {u'ö', 0xF6, 0x94},       {u'ü', 0xFC, 0x81},
        {u'Ä', 0xC4, 0x8E},  {u'Ö', 0xD6, 0x99},  {u'Ü', 0xDC, 0x9A},       {u'ß', 0xDF, 0xE1},
        {u'é', 0xE9, 0x82},  {u'§', 0xA7, 0xF5},  {u'°', 0xB0, 0xF8},       {u'µ', 0xB5, 0xE6},
        {u'€', 0x80, kNone}, {u'‚', 0x82, kNone}, {u'„', 0x84, kNone},      {u'“', 0x93, kNone},
        {u'–', 0x96, kNone}, {u'Ÿ', 0x9F, kNone}, {u'ƒ', 0x83, 0x9F},       {u'\u00A0', 0xA0, 0xFF},
        {u'╔', kNone, 0xC9}, {u'ı', kNone, 0xD5}, {u'\u0081', 0x81, kNone}, {u'\u009D', 0x9D, kNone},
        {u'\r', 0x0D, 0x0D}, {u'\0', 0x00, 0x00},
    };
    const struct Page {
        const char* name;
        QString (*decode)(const QByteArray&);
        Encoded (*encode)(const QString&);
        int Case::*byte;
    } pages[] = {{"1252", decode1252, encode1252, &Case::cp1252}, {"850", decode850, encode850, &Case::cp850}};
    for (const Page& page : pages) {
        for (const Case& c : cases) {
            const QString text(QChar(c.unicode));
            const Encoded encoded = page.encode(text);
            const int byte = c.*page.byte;
            if (byte == kNone) {
                EXPECT_EQ(encoded.bytes, "?") << page.name << " U+" << std::hex << int(c.unicode);
                EXPECT_EQ(encoded.unmappable, text) << page.name << " U+" << std::hex << int(c.unicode);
                continue;
            }
            const QByteArray bytes(1, char(byte));
            EXPECT_EQ(encoded.bytes, bytes) << page.name << " U+" << std::hex << int(c.unicode);
            EXPECT_TRUE(encoded.complete()) << page.name << " U+" << std::hex << int(c.unicode);
            EXPECT_EQ(page.decode(bytes), text) << page.name << " byte " << std::hex << byte;
        }
    }
}

TEST(CodePages, EveryByteSurvivesARoundTrip) {
    QByteArray all;
    for (int byte = 0; byte < 256; ++byte) all += char(byte);
    using Decode = QString (*)(const QByteArray&);
    using Encode = Encoded (*)(const QString&);
    for (auto [decode, encode] :
         {std::pair<Decode, Encode>{decode1252, encode1252}, std::pair<Decode, Encode>{decode850, encode850}}) {
        const QString text = decode(all);
        ASSERT_EQ(text.size(), 256);
        EXPECT_EQ(std::set<char16_t>(text.utf16(), text.utf16() + 256).size(), 256u) << "two bytes share a character";
        const Encoded back = encode(text);
        EXPECT_EQ(back.bytes, all);
        EXPECT_TRUE(back.complete());
    }
}

// The C library's converters are an independent source for both tables.
std::optional<QString> iconvDecode(const char* page, unsigned char byte) {
    iconv_t converter = iconv_open("UTF-16LE", page);
    if (converter == iconv_t(-1)) return std::nullopt;
    char in[1] = {char(byte)};
    char16_t out[4] = {};
    char* inPtr = in;
    char* outPtr = reinterpret_cast<char*>(out);
    size_t inLeft = 1, outLeft = sizeof out;
    const size_t done = iconv(converter, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(converter);
    if (done == size_t(-1)) return std::nullopt;
    return QString(QChar(out[0]));
}

TEST(CodePages, AgreeWithTheCLibraryOnEveryHighByte) {
    const std::set<int> undefined1252 = {0x81, 0x8D, 0x8F, 0x90, 0x9D};
    if (!iconvDecode("CP850", 0x84)) GTEST_SKIP() << "the C library has no CP850 converter";
    for (int byte = 0x80; byte < 0x100; ++byte) {
        const QByteArray bytes(1, char(byte));
        EXPECT_EQ(decode850(bytes), iconvDecode("CP850", byte).value_or("(none)")) << "CP850 " << std::hex << byte;
        if (undefined1252.count(byte)) {
            EXPECT_EQ(decode1252(bytes), QString(QChar(byte))) << "CP1252 " << std::hex << byte;
            continue;
        }
        EXPECT_EQ(decode1252(bytes), iconvDecode("CP1252", byte).value_or("(none)")) << "CP1252 " << std::hex << byte;
    }
}

TEST(CodePages, UnmappableCharactersAreReportedInOrderNotDropped) {
    struct Case {
        QString text;
        QByteArray bytes1252, bytes850;
        QString lost1252, lost850;
    } cases[] = {
        {"Grüße €5",
         "Gr\xFC\xDF"
         "e \x80"
         "5",
         "Gr\x81\xE1"
         "e ?5",
         "", "€"},
        {"Ω und 😀!", "? und ?!", "? und ?!", "Ω😀", "Ω😀"},
        {"Frage?", "Frage?", "Frage?", "", ""},
        {"", "", "", "", ""},
    };
    for (const Case& c : cases) {
        const Encoded in1252 = encode1252(c.text);
        EXPECT_EQ(in1252.bytes, c.bytes1252) << c.text.toStdString();
        EXPECT_EQ(in1252.unmappable, c.lost1252) << c.text.toStdString();
        const Encoded in850 = encode850(c.text);
        EXPECT_EQ(in850.bytes, c.bytes850) << c.text.toStdString();
        EXPECT_EQ(in850.unmappable, c.lost850) << c.text.toStdString();
    }
}

}  // namespace
}  // namespace sendwerk
