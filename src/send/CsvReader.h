#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <vector>

namespace zw::send {

// The text of a list file: UTF-8 with or without byte-order mark, UTF-16 with one (a spreadsheet's
// "Unicode text"), anything else as Windows-1252. Never fails: every byte becomes some character.
QString decodeListText(QByteArrayView bytes);

// Where the rows of a table begin, and with which separator.
struct TableLayout {
    QChar separator = u';';
    qsizetype start = 0;  // the first character of the first row
    qsizetype line = 1;   // that row's line number
};

// The separator a spreadsheet or an address book used: a first line "sep=X" as a spreadsheet writes
// it, or else the one of ";", tab and "," found outside quotes on most of the first lines.
TableLayout detectLayout(QStringView text);

// One row of a table: its cells, and where it stands in the text.
class CsvRow {
public:
    qsizetype line = 0;            // the physical line it starts on, 1-based
    qsizetype begin = 0, end = 0;  // its characters in the text, without the line break
    bool spansLines = false;       // a quoted cell of it runs over a line break
    bool overflow = false;         // it has text beyond the last column kept

    qsizetype size() const { return qsizetype(cells_.size()); }
    QStringView cell(qsizetype i) const;
    // The row as it stands in the text.
    QStringView whole() const { return text_.sliced(begin, end - begin); }

private:
    friend class CsvReader;
    struct Cell {
        bool unescaped;  // in scratch_ (a quoted cell), otherwise in the text
        qsizetype begin, size;
    };
    QStringView text_;
    std::vector<Cell> cells_;
    QString scratch_;
};

// Reads a table row by row, as spreadsheets write CSV: a cell in double quotes may hold separators,
// doubled quotes and line breaks. Lines end with CR LF, LF or CR. A stray quote never swallows the rest
// of the file: a quoted cell that stays open to the end, or whose closing quote is followed by more
// text after it ran over line breaks, is read again line by line, a quote then ending at the line's
// end and one at a cell's end closing. Every character is looked at a bounded number of times,
// whatever the text.
class CsvReader {
public:
    CsvReader(QStringView text, const TableLayout& layout);

    // The next row, empty ones included; false at the end of the text.
    bool next(CsvRow& row);
    // Reads the row last returned again, each of its physical lines as a row of its own: for a row
    // whose quotes make no sense where it is (an address cell over several lines).
    void rereadLineByLine(const CsvRow& row);
    // Where the next row begins.
    TableLayout position() const;

private:
    bool readRow(CsvRow& row, bool lineByLine);
    // A quoted cell from pos_ (just after its opening quote); false when it must be read again line by
    // line.
    bool readQuoted(CsvRow& row, bool lineByLine);
    bool atLineBreak() const;
    void skipLineBreak();

    QStringView text_;
    QChar separator_;
    qsizetype pos_;
    qsizetype line_;
    // Rows that start before this position are read line by line.
    qsizetype lineByLineUntil_ = 0;
};

}  // namespace zw::send
