#include "render/TextConversion.h"

#include "platform/Text.h"

namespace zw {

QByteArray Check3D(const QByteArray& text) {
    if (!text.contains('='))
        return text;
    QByteArray out;
    out.reserve(text.size() + 2 * text.count('='));
    for (char c : text) {
        if (c == '=')
            out.append("=3D");
        else
            out.append(c);
    }
    return out;
}

QByteArray EscapeEquals(const QByteArray& text) {
    if (!text.contains('='))
        return text;
    QByteArray out;
    out.reserve(text.size() + 2 * text.count('='));
    AppendEscapedEquals(out, text);
    return out;
}

void AppendEscapedEquals(QByteArray& out, QByteArrayView text) {
    qsizetype copied = 0;
    for (qsizetype at = text.indexOf('='); at >= 0; at = text.indexOf('=', at + 1)) {
        out.append(text.sliced(copied, at + 1 - copied));
        copied = at + 1;
        if (text.sliced(at + 1).first(qMin<qsizetype>(2, text.size() - at - 1)) != "3D")
            out.append("3D");
    }
    out.append(text.sliced(copied));
}

QByteArray NormalizeLink(const QByteArray& address, Prompts& prompts) {
    if (address.contains('\\'))
        prompts.information(QStringLiteral("Ungültiges Zeichen \"\\\" in der URL ") + fromStored(address));
    // Mail addresses are taken as typed: the mail program reads them, not a quoted-printable decoder.
    if (address.contains('@')) {
        if (asciiLower(address).contains("mailto:"))
            return address;
        return "mailto:" + address;
    }
    const QByteArray upper = asciiUpper(address);
    if (upper.contains("HTTP://") || upper.contains("HTTPS://") || upper.contains("MAILTO:"))
        return Check3D(address);
    return "http://" + Check3D(address);
}

}  // namespace zw
