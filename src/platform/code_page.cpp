#include "platform/code_page.h"

#include <array>
#include <unordered_map>

namespace sendwerk {

namespace {

// Windows-1252, bytes 0x80-0x9F. The five bytes Windows leaves undefined (0x81 0x8D
// 0x8F 0x90 0x9D) map to the C1 control of the same number, as Windows itself does,
// so every byte survives a round trip.
constexpr std::array<char16_t, 32> k1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// CP850, bytes 0x80-0xFF. Bytes below 0x80 are ASCII (control bytes stay controls).
constexpr std::array<char16_t, 128> k850High = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE,
    0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9, 0x00FF, 0x00D6,
    0x00DC, 0x00F8, 0x00A3, 0x00D8, 0x00D7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA,
    0x00BA, 0x00BF, 0x00AE, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB, 0x2591, 0x2592, 0x2593, 0x2502,
    0x2524, 0x00C1, 0x00C2, 0x00C0, 0x00A9, 0x2563, 0x2551, 0x2557, 0x255D, 0x00A2, 0x00A5, 0x2510, 0x2514,
    0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x00E3, 0x00C3, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550,
    0x256C, 0x00A4, 0x00F0, 0x00D0, 0x00CA, 0x00CB, 0x00C8, 0x0131, 0x00CD, 0x00CE, 0x00CF, 0x2518, 0x250C,
    0x2588, 0x2584, 0x00A6, 0x00CC, 0x2580, 0x00D3, 0x00DF, 0x00D4, 0x00D2, 0x00F5, 0x00D5, 0x00B5, 0x00FE,
    0x00DE, 0x00DA, 0x00DB, 0x00D9, 0x00FD, 0x00DD, 0x00AF, 0x00B4, 0x00AD, 0x00B1, 0x2017, 0x00BE, 0x00B6,
    0x00A7, 0x00F7, 0x00B8, 0x00B0, 0x00A8, 0x00B7, 0x00B9, 0x00B3, 0x00B2, 0x25A0, 0x00A0,
};

// One code page: the characters of its bytes from 0x80 on, as far as the table goes;
// the other bytes stand for the Unicode character of the same number.
class CodePage {
public:
    template <std::size_t N>
    explicit CodePage(const std::array<char16_t, N>& high) {
        static_assert(N == 32 || N == 128);
        for (int byte = 0; byte < 256; ++byte) {
            const int offset = byte - 0x80;
            toUnicode_[byte] = offset >= 0 && offset < int(N) ? high[offset] : char16_t(byte);
            fromUnicode_.emplace(toUnicode_[byte], char(byte));
        }
    }

    QString decode(const QByteArray& bytes) const {
        QString text(bytes.size(), Qt::Uninitialized);
        QChar* out = text.data();
        for (const char byte : bytes) *out++ = QChar(toUnicode_[static_cast<unsigned char>(byte)]);
        return text;
    }

    Encoded encode(const QString& text) const {
        Encoded result;
        result.bytes.reserve(text.size());
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text.at(i);
            // A character outside the basic plane is one character, not two.
            if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
                result.unmappable += text.mid(i, 2);
                result.bytes += '?';
                ++i;
                continue;
            }
            const auto found = fromUnicode_.find(c.unicode());
            if (found == fromUnicode_.end()) {
                result.unmappable += c;
                result.bytes += '?';
            } else {
                result.bytes += found->second;
            }
        }
        return result;
    }

private:
    std::array<char16_t, 256> toUnicode_{};
    std::unordered_map<char16_t, char> fromUnicode_;
};

const CodePage& page1252() {
    static const CodePage page(k1252High);
    return page;
}

const CodePage& page850() {
    static const CodePage page(k850High);
    return page;
}

}  // namespace

QString decode1252(const QByteArray& bytes) { return page1252().decode(bytes); }
Encoded encode1252(const QString& text) { return page1252().encode(text); }

QString decode850(const QByteArray& bytes) { return page850().decode(bytes); }
Encoded encode850(const QString& text) { return page850().encode(text); }

}  // namespace sendwerk
