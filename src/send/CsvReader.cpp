#include "send/CsvReader.h"

#include <QStringDecoder>

#include <array>

#include "platform/Text.h"

namespace zw::send {

namespace {

// Enough of the file to see its separator; a 10 MB single line is not read to its end for it.
constexpr qsizetype kSampleChars = 64 * 1024;
constexpr int kSampleRows = 100;
// As many columns as a spreadsheet has; a row's cells beyond are not kept.
constexpr qsizetype kMaxColumns = 16384;

bool isLineBreak(QChar c) {
    return c == u'\n' || c == u'\r';
}

}  // namespace

QString decodeListText(QByteArrayView bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.sliced(3));
    if (bytes.startsWith("\xFF\xFE"))
        return QStringDecoder(QStringDecoder::Utf16LE, QStringDecoder::Flag::Stateless)
            .decode(bytes.sliced(2));
    if (bytes.startsWith("\xFE\xFF"))
        return QStringDecoder(QStringDecoder::Utf16BE, QStringDecoder::Flag::Stateless)
            .decode(bytes.sliced(2));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return decodeWindows1252(bytes);
}

TableLayout detectLayout(QStringView text) {
    TableLayout layout;
    // A spreadsheet names its separator in a first line "sep=;" when it wrote one other than the
    // reader's default.
    if (text.size() >= 5 && text.first(4).compare(u"sep=", Qt::CaseInsensitive) == 0 && text[4] != u'"' &&
        !isLineBreak(text[4]) && (text.size() == 5 || isLineBreak(text[5]))) {
        layout.separator = text[4];
        layout.start = 5;
        if (layout.start < text.size() && text[layout.start] == u'\r')
            ++layout.start;
        if (layout.start < text.size() && text[layout.start] == u'\n')
            ++layout.start;
        layout.line = 2;
        return layout;
    }

    // Per candidate: on how many rows it appears outside quotes, and how often each row has it. Of
    // the rows that have it, most have the same count in a real table.
    constexpr std::array<char16_t, 3> candidates = {u';', u'\t', u','};
    std::array<std::array<int, kSampleRows>, 3> counts{};
    int rows = 0;
    bool quoted = false, rowHasText = false;
    std::array<int, 3> current{};
    const qsizetype end = std::min(text.size(), kSampleChars);
    for (qsizetype i = 0; i <= end && rows < kSampleRows; ++i) {
        const bool rowEnds = i == end || (!quoted && isLineBreak(text[i]));
        if (rowEnds) {
            if (rowHasText) {
                for (size_t c = 0; c < candidates.size(); ++c) counts[c][rows] = current[c];
                ++rows;
            }
            current = {};
            rowHasText = false;
            continue;
        }
        const QChar ch = text[i];
        if (ch == u'"')
            quoted = !quoted;
        if (!ch.isSpace())
            rowHasText = true;
        for (size_t c = 0; c < candidates.size(); ++c) {
            if (!quoted && ch == candidates[c])
                ++current[c];
        }
    }

    int bestRows = 0, bestSteady = 0;
    for (size_t c = 0; c < candidates.size(); ++c) {
        int rowsWith = 0, steady = 0;
        for (int r = 0; r < rows; ++r) {
            if (counts[c][r] == 0)
                continue;
            ++rowsWith;
            int same = 0;
            for (int s = 0; s < rows; ++s) same += counts[c][s] == counts[c][r];
            steady = std::max(steady, same);
        }
        if (rowsWith > bestRows || (rowsWith == bestRows && steady > bestSteady)) {
            bestRows = rowsWith;
            bestSteady = steady;
            layout.separator = candidates[c];
        }
    }
    return layout;
}

QStringView CsvRow::cell(qsizetype i) const {
    const Cell& c = cells_[size_t(i)];
    return (c.unescaped ? QStringView(scratch_) : text_).sliced(c.begin, c.size);
}

CsvReader::CsvReader(QStringView text, const TableLayout& layout)
    : text_(text), separator_(layout.separator), pos_(layout.start), line_(layout.line) {}

bool CsvReader::next(CsvRow& row) {
    if (pos_ >= text_.size())
        return false;
    const qsizetype start = pos_, line = line_;
    if (readRow(row, pos_ < lineByLineUntil_))
        return true;
    pos_ = start;
    line_ = line;
    readRow(row, true);
    return true;
}

void CsvReader::rereadLineByLine(const CsvRow& row) {
    if (!row.spansLines)
        return;
    lineByLineUntil_ = row.end;
    pos_ = row.begin;
    line_ = row.line;
}

TableLayout CsvReader::position() const {
    return {separator_, pos_, line_};
}

bool CsvReader::atLineBreak() const {
    return pos_ < text_.size() && isLineBreak(text_[pos_]);
}

void CsvReader::skipLineBreak() {
    if (text_[pos_] == u'\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == u'\n')
        ++pos_;
    ++pos_;
    ++line_;
}

bool CsvReader::readRow(CsvRow& row, bool lineByLine) {
    row.text_ = text_;
    row.line = line_;
    row.begin = pos_;
    row.spansLines = false;
    row.overflow = false;
    row.cells_.clear();
    row.scratch_.clear();
    const qsizetype n = text_.size();
    while (true) {
        qsizetype p = pos_;
        while (p < n && (text_[p] == u' ' || (text_[p] == u'\t' && separator_ != u'\t'))) ++p;
        if (p < n && text_[p] == u'"') {
            pos_ = p + 1;
            if (!readQuoted(row, lineByLine))
                return false;
        } else {
            const qsizetype start = pos_;
            while (pos_ < n && text_[pos_] != separator_ && !isLineBreak(text_[pos_])) ++pos_;
            // Read again line by line, a quote at a cell's end closes one opened on an earlier line.
            const bool closing = lineByLine && pos_ > start && text_[pos_ - 1] == u'"';
            row.cells_.push_back({false, start, pos_ - start - (closing ? 1 : 0)});
        }
        // Cells beyond a spreadsheet's last column are not kept; the row says whether one had text.
        if (row.size() > kMaxColumns) {
            if (!row.cell(kMaxColumns).trimmed().isEmpty())
                row.overflow = true;
            if (row.cells_.back().unescaped)
                row.scratch_.truncate(row.cells_.back().begin);
            row.cells_.pop_back();
        }
        if (pos_ < n && text_[pos_] == separator_) {
            ++pos_;
            continue;
        }
        row.end = pos_;
        if (atLineBreak())
            skipLineBreak();
        return true;
    }
}

bool CsvReader::readQuoted(CsvRow& row, bool lineByLine) {
    const qsizetype n = text_.size();
    const qsizetype begin = row.scratch_.size();
    bool overLines = false;
    qsizetype chunk = pos_;
    while (true) {
        if (pos_ >= n || (lineByLine && isLineBreak(text_[pos_]))) {
            if (!lineByLine) {
                // Open to the end: the quote was a stray one. Everything it ran over is read again,
                // line by line.
                lineByLineUntil_ = n;
                return false;
            }
            row.scratch_.append(text_.sliced(chunk, pos_ - chunk));
            break;
        }
        const QChar c = text_[pos_];
        if (c == u'"') {
            row.scratch_.append(text_.sliced(chunk, pos_ - chunk));
            ++pos_;
            if (pos_ < n && text_[pos_] == u'"') {
                chunk = pos_++;  // a doubled quote: the second one is kept with what follows
                continue;
            }
            break;
        }
        if (isLineBreak(c)) {
            overLines = true;
            row.spansLines = true;
            skipLineBreak();
            continue;
        }
        ++pos_;
    }
    // Text after the closing quote belongs to the cell, as spreadsheets read it. After a cell over
    // several lines it means the quotes were not a spreadsheet's.
    const qsizetype tail = pos_;
    while (pos_ < n && text_[pos_] != separator_ && !isLineBreak(text_[pos_])) ++pos_;
    const QStringView rest = text_.sliced(tail, pos_ - tail);
    if (overLines && !rest.trimmed().isEmpty()) {
        lineByLineUntil_ = pos_;
        return false;
    }
    row.scratch_.append(rest);
    row.cells_.push_back({true, begin, row.scratch_.size() - begin});
    return true;
}

}  // namespace zw::send
