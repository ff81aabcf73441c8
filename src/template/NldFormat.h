#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include "template/NewsletterTemplate.h"

namespace zw {

// One block section as the reader found it: its header line, its position among the headers (from
// 1) and the five lines that belong to it.
struct BlockSection {
    QByteArray header;
    int number = 0;
    QList<QByteArray> lines;  // always five
};

// Reads the [SETTINGS] section by the INI rules: names without regard to case, the first match counts,
// values without control bytes but tab, trimmed of blanks and of one pair of enclosing quotes, cut to
// 2047 characters. Missing keys read as empty, a missing DateOn as "TRUE".
TemplateSettings readSettings(const QByteArray& fileBytes);

// A setting picture whose file does not exist is looked for in the images folder under its file
// name; the replaced value is what the setting holds from then on.
void resolveSettingPictures(TemplateSettings& settings, const QString& imagesFolder);

// Whether a line is a block header: "[BLOCK" + digits + "]", blanks around it ignored.
bool isBlockHeader(const QByteArray& line);

// The block sections in file order. The k-th header gives block k. Its five lines follow the last line
// equal to the header; lines missing at the end of the file or before the next header read as empty.
// Lines stored with escapeBlockLine() come back as typed.
QList<BlockSection> readBlockSections(const QByteArray& fileBytes);

// A value as it may stand in a template or block edit file: every CR and LF becomes a blank, so it
// can never spill onto a line of its own and shift the fields after it.
QByteArray singleLine(const QByteArray& value);

// A block line that would read as a block header ("[BLOCK005]" typed as a headline) is stored with a
// "\" in front, and so is a line that already looks like such a stored one, one "\" more each time:
// every value reads back as typed, and every other line is stored as before.
QByteArray escapeBlockLine(const QByteArray& line);
QByteArray unescapeBlockLine(const QByteArray& line);

// How many block sections a template file holds (its block header lines).
qsizetype countBlockHeaders(const QByteArray& fileBytes);

// The header line of block k: "[BLOCK001]" for the first.
QByteArray blockHeader(int number);

// The complete template file: "[SETTINGS]", the nineteen settings, then per block " ", its header and
// its lines verbatim. A block of fewer than five lines (the momentary empty file of a new block) is
// filled up with empty lines, so the next block's blank line never becomes one of its fields. DateOn
// is written as "TRUE" or "FALSE" from dateOn(). Line breaks inside a value are written as blanks: no
// value may ever spill onto a line of its own.
QByteArray writeTemplate(const TemplateSettings& settings, const QList<QList<QByteArray>>& blockLines);

// Reads a whole template from file bytes (settings unresolved, blocks in file order).
NewsletterTemplate parseTemplate(const QByteArray& fileBytes);

}  // namespace zw
