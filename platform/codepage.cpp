#include "codepage.h"

#include <array>

namespace {

// Bytes 0x80 to 0x9F; the rest of the code page equals Latin-1.
constexpr std::array<char16_t, 32> HighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

constexpr char16_t toUnicode(unsigned char byte)
{
    return byte >= 0x80 && byte < 0xA0 ? HighControls[byte - 0x80] : char16_t(byte);
}

// The byte for a character, or -1 when the code page has none.
int toByte(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (std::size_t i = 0; i < HighControls.size(); ++i) {
        if (HighControls[i] == c)
            return int(0x80 + i);
    }
    return -1;
}

bool isLineBreak(char16_t c)
{
    return c == u'\n' || c == u'\r' || c == 0x2028 || c == 0x2029;
}

} // namespace

QString decodeLine(std::string_view bytes)
{
    QString text(qsizetype(bytes.size()), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char byte : bytes)
        *out++ = QChar(toUnicode(static_cast<unsigned char>(byte)));
    return text;
}

QString decodeText(std::string_view bytes)
{
    QString text(qsizetype(bytes.size()), Qt::Uninitialized);
    QChar *out = text.data();
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            continue;
        *out++ = QChar(toUnicode(byte));
    }
    text.truncate(out - text.constData());
    return text;
}

std::string encodeLine(QStringView text)
{
    std::string bytes;
    bytes.reserve(std::size_t(text.size()));
    for (const QChar c : text) {
        const int byte = toByte(c.unicode());
        bytes.push_back(byte < 0 ? '?' : char(byte));
    }
    return bytes;
}

std::string encodeText(QStringView text)
{
    const qsizetype breaks = text.count(QChar::ParagraphSeparator);
    std::string bytes(std::size_t(text.size() + breaks), '\0');
    char *out = bytes.data();
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        if (code < 0x80) {
            *out++ = char(code);
        } else if (code == QChar::ParagraphSeparator) {
            *out++ = '\r';
            *out++ = '\n';
        } else {
            const int byte = toByte(code);
            *out++ = byte < 0 ? '?' : char(byte);
        }
    }
    return bytes;
}

QString toInsertable(QStringView text)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c == 0)
            break;
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            continue;
        if (isLineBreak(c)) {
            result += u'\n';
        } else if (QChar::isHighSurrogate(c) && i + 1 < text.size()
                   && QChar::isLowSurrogate(text[i + 1].unicode())) {
            result += u'?';
            ++i;
        } else {
            result += toByte(c) < 0 ? QChar(u'?') : QChar(c);
        }
    }
    return result;
}
