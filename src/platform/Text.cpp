#include "platform/Text.h"

#include <QList>
#include <QLocale>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

namespace zw {

namespace {

constexpr const char* kCodePage = "windows-1252";

// Encodes one code point, or returns false when Windows-1252 has no byte for it.
bool encodeOne(char32_t codePoint, QByteArray& out) {
    if (codePoint < 0x80) {
        out.append(char(codePoint));
        return true;
    }
    const QString one = QString::fromUcs4(&codePoint, 1);
    const std::optional<QByteArray> bytes = encodeWindows1252(one);
    if (!bytes || bytes->size() != 1 || decodeWindows1252(*bytes) != one)
        return false;
    out.append(*bytes);
    return true;
}

bool representable(char32_t codePoint) {
    QByteArray scratch;
    return encodeOne(codePoint, scratch);
}

}  // namespace

QString decodeWindows1252(QByteArrayView bytes) {
    // Windows-1252 is ASCII below 128, and most texts (paths, addresses) are nothing else: they need
    // no converter, whose lookup by name costs more than the conversion.
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; }))
        return QString::fromLatin1(bytes);
    QStringDecoder decoder(kCodePage, QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}

std::optional<QByteArray> encodeWindows1252(QStringView text) {
    QStringEncoder encoder(kCodePage, QStringConverter::Flag::Stateless);
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return std::nullopt;
    return bytes;
}

QByteArray toStored(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    bool plainAscii = true;
    for (QChar c : text) {
        if (c.unicode() >= 0x80) {
            plainAscii = false;
            break;
        }
    }
    if (plainAscii)
        return text.toLatin1();
    // Common case: everything fits. Encode in one go and confirm by decoding back.
    if (std::optional<QByteArray> bytes = encodeWindows1252(text); bytes && decodeWindows1252(*bytes) == text)
        return *std::move(bytes);
    const QList<uint> codePoints = text.toUcs4();
    for (uint cp : codePoints) {
        if (!encodeOne(cp, out))
            out.append("&#" + QByteArray::number(cp) + ';');
    }
    return out;
}

QString fromStored(const QByteArray& bytes) {
    QString text = decodeWindows1252(bytes);
    if (!text.contains(QLatin1String("&#")))
        return text;
    // Turn back exactly the references that toStored() writes.
    QString out;
    out.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        if (text[i] == u'&' && i + 2 < text.size() && text[i + 1] == u'#') {
            qsizetype j = i + 2;
            while (j < text.size() && j - i < 10 && text[j].isDigit()) ++j;
            if (j > i + 2 && j < text.size() && text[j] == u';') {
                bool ok = false;
                const uint cp = text.mid(i + 2, j - i - 2).toUInt(&ok);
                if (ok && cp >= 0x80 && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF) &&
                    !representable(cp)) {
                    const char32_t c32 = cp;
                    out.append(QString::fromUcs4(&c32, 1));
                    i = j + 1;
                    continue;
                }
            }
        }
        out.append(text[i]);
        ++i;
    }
    return out;
}

QByteArray trimmed8(const QByteArray& text) {
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && quint8(text[start]) <= 32) ++start;
    while (end > start && quint8(text[end - 1]) <= 32) --end;
    return text.mid(start, end - start);
}

QByteArray trimmedBlanks(const QByteArray& text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && blank(text[start])) ++start;
    while (end > start && blank(text[end - 1])) --end;
    return text.mid(start, end - start);
}

QString trimmedControl(const QString& text) {
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text[start].unicode() <= 32) ++start;
    while (end > start && text[end - 1].unicode() <= 32) --end;
    return text.mid(start, end - start);
}

QByteArray fileNamePart(const QByteArray& path) {
    qsizetype cut = -1;
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char c = path[i];
        if (c == '\\' || c == '/' || c == ':')
            cut = i;
    }
    return path.mid(cut + 1);
}

QString fileNamePart(const QString& path) {
    qsizetype cut = -1;
    for (qsizetype i = 0; i < path.size(); ++i) {
        const QChar c = path[i];
        if (c == u'\\' || c == u'/' || c == u':')
            cut = i;
    }
    return path.mid(cut + 1);
}

QString oneLine(const QString& text) {
    QString out = text;
    for (QChar& c : out) {
        if (c == u'\r' || c == u'\n' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = u' ';
    }
    return out;
}

QByteArray asciiLower(QByteArray text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    }
    return text;
}

QByteArray asciiUpper(QByteArray text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    }
    return text;
}

QString sizeText(qint64 bytes) {
    const QLocale german(QLocale::German, QLocale::Germany);
    if (bytes < 1024)
        return QStringLiteral("%1 Bytes").arg(bytes);
    if (bytes < 1024 * 1024)
        return german.toString(double(bytes) / 1024, 'f', 1) + QStringLiteral(" KB");
    return german.toString(double(bytes) / (1024 * 1024), 'f', 1) + QStringLiteral(" MB");
}

}  // namespace zw
