#pragma once

// Readable failure output for Qt's string types: bytes outside printable ASCII as \xNN, so a wrong
// code page byte or a stray CR shows in the message. Data-table rows print as their name.
#include <QByteArray>
#include <QList>
#include <QString>

#include <gtest/gtest.h>

#include <concepts>
#include <ostream>

inline void PrintTo(const QByteArray& bytes, std::ostream* os) {
    static const char hex[] = "0123456789ABCDEF";
    *os << '"';
    for (char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u == '\r') *os << "\\r";
        else if (u == '\n') *os << "\\n";
        else if (u < 32 || u >= 127) *os << "\\x" << hex[u >> 4] << hex[u & 15];
        else *os << c;
    }
    *os << '"';
}

inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

template <class T>
void PrintTo(const QList<T>& items, std::ostream* os) {
    *os << '{';
    for (qsizetype i = 0; i < items.size(); ++i) *os << (i ? ", " : "") << ::testing::PrintToString(items[i]);
    *os << '}';
}

namespace zw::test {
namespace {
template <class Row>
    requires requires(const Row& row) {
        { row.name } -> std::convertible_to<const char*>;
    }
void PrintTo(const Row& row, std::ostream* os) {
    *os << row.name;
}
}  // namespace
}  // namespace zw::test
