#pragma once

// Readable failure output for Qt's string types: bytes outside printable ASCII as \xNN, so a wrong
// code page byte or a stray CR shows in the message.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <concepts>
#include <ostream>

inline void PrintTo(const QByteArray& bytes, std::ostream* os) {
    *os << '"';
    for (char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u == '\r') *os << "\\r";
        else if (u == '\n') *os << "\\n";
        else if (u < 32 || u >= 127) {
            static const char hex[] = "0123456789ABCDEF";
            *os << "\\x" << hex[u >> 4] << hex[u & 15];
        } else *os << c;
    }
    *os << '"';
}

inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

inline void PrintTo(const QList<QByteArray>& lines, std::ostream* os) {
    *os << '{';
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i) *os << ", ";
        PrintTo(lines[i], os);
    }
    *os << '}';
}

inline void PrintTo(const QStringList& texts, std::ostream* os) {
    *os << '{';
    for (qsizetype i = 0; i < texts.size(); ++i) {
        if (i) *os << ", ";
        PrintTo(texts[i], os);
    }
    *os << '}';
}

namespace zw {
namespace {
// Data-table rows print as their name, so test lists and failure messages say which row it was.
template <class Row>
    requires requires(const Row& row) {
        { row.name } -> std::convertible_to<const char*>;
    }
void PrintTo(const Row& row, std::ostream* os) {
    *os << row.name;
}
}  // namespace
}  // namespace zw
