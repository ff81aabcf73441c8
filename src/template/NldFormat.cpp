#include "template/NldFormat.h"

#include <QHash>

#include <algorithm>
#include <cstring>

#include "platform/FileIo.h"
#include "platform/Text.h"

namespace zw {

NewsBlock NewsBlock::fromLines(const QList<QByteArray>& lines) {
    NewsBlock block;
    QByteArray NewsBlock::*fields[] = {&NewsBlock::Headline, &NewsBlock::Picture, &NewsBlock::LinkText,
                                       &NewsBlock::LinkUrl, &NewsBlock::Text};
    for (int i = 0; i < 5 && i < lines.size(); ++i) block.*fields[i] = lines[i];
    return block;
}

namespace {

constexpr qsizetype kMaxValueLength = 2047;

bool equalsIgnoringCase(const QByteArray& a, const char* b) {
    // Sizes first: a damaged file may hold a key of many megabytes.
    return a.size() == qsizetype(std::strlen(b)) && asciiLower(a) == asciiLower(QByteArray(b));
}

// A block header behind any number of "\": the lines the escape has to tell apart.
bool isHeaderBehindBackslashes(const QByteArray& line) {
    qsizetype start = 0;
    while (start < line.size() && line[start] == '\\') ++start;
    return isBlockHeader(start == 0 ? line : line.mid(start));
}

// A value without NUL and the other control bytes but tab. A damaged file may hold them; a path with a
// NUL would reach the file system cut short while the message carried all of it.
QByteArray withoutControlBytes(const QByteArray& value) {
    QByteArray out;
    out.reserve(value.size());
    for (char c : value) {
        const auto byte = quint8(c);
        if ((byte >= 32 && byte != 127) || c == '\t')
            out.append(c);
    }
    return out;
}

// The nineteen keys followed by the optional ones: one table for the reader.
constexpr auto kAllKeys = [] {
    std::array<SettingKey, kSettingKeys.size() + kOptionalSettingKeys.size()> all{};
    std::copy(kSettingKeys.begin(), kSettingKeys.end(), all.begin());
    std::copy(kOptionalSettingKeys.begin(), kOptionalSettingKeys.end(), all.begin() + kSettingKeys.size());
    return all;
}();

}  // namespace

QByteArray singleLine(const QByteArray& value) {
    if (!value.contains('\r') && !value.contains('\n'))
        return value;
    QByteArray out = value;
    for (char& c : out) {
        if (c == '\r' || c == '\n')
            c = ' ';
    }
    return out;
}

TemplateSettings readSettings(const QByteArray& fileBytes) {
    TemplateSettings settings;
    std::array<bool, kAllKeys.size()> found{};
    bool inSettings = false;
    for (const QByteArray& rawLine : splitLines(fileBytes)) {
        const QByteArray line = trimmedBlanks(rawLine);
        if (line.startsWith('[')) {
            if (inSettings)
                break;  // only the first [SETTINGS] section counts
            const qsizetype close = line.indexOf(']');
            const QByteArray name = trimmedBlanks(line.mid(1, close < 0 ? -1 : close - 1));
            inSettings = equalsIgnoringCase(name, "SETTINGS");
            continue;
        }
        if (!inSettings)
            continue;
        const qsizetype eq = line.indexOf('=');
        if (eq < 0)
            continue;
        const QByteArray key = trimmedBlanks(line.left(eq));
        for (size_t i = 0; i < kAllKeys.size(); ++i) {
            if (found[i] || !equalsIgnoringCase(key, kAllKeys[i].key))
                continue;
            QByteArray value = trimmedBlanks(withoutControlBytes(line.mid(eq + 1)));
            if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                value.back() == value.front())
                value = value.mid(1, value.size() - 2);
            settings.*kAllKeys[i].field = value.left(kMaxValueLength);
            found[i] = true;
            break;
        }
    }
    if (!found[kSettingKeys.size() - 1])
        settings.DateOn = "TRUE";
    return settings;
}

void resolveSettingPictures(TemplateSettings& settings, const QString& imagesFolder) {
    for (QByteArray TemplateSettings::*field : {&TemplateSettings::KopfLogo, &TemplateSettings::SeperatorNews,
                                                &TemplateSettings::SeperatorImpressum}) {
        QByteArray& value = settings.*field;
        if (fileExists(pathFromStored(value)))
            continue;
        value = storedFromPath(imagesFolder) + fileNamePart(value);
    }
}

bool isBlockHeader(const QByteArray& line) {
    const QByteArray t = trimmed8(line);
    constexpr qsizetype prefix = 6;  // "[BLOCK"
    if (t.size() < prefix + 2 || !t.startsWith("[BLOCK") || !t.endsWith(']'))
        return false;
    for (qsizetype i = prefix; i < t.size() - 1; ++i) {
        if (t[i] < '0' || t[i] > '9')
            return false;
    }
    return true;
}

QByteArray escapeBlockLine(const QByteArray& line) {
    return isHeaderBehindBackslashes(line) ? '\\' + line : line;
}

QByteArray unescapeBlockLine(const QByteArray& line) {
    return line.startsWith('\\') && isHeaderBehindBackslashes(line) ? line.mid(1) : line;
}

qsizetype countBlockHeaders(const QByteArray& fileBytes) {
    qsizetype count = 0;
    for (const QByteArray& line : splitLines(fileBytes)) count += isBlockHeader(line) ? 1 : 0;
    return count;
}

QByteArray blockHeader(int number) {
    return "[BLOCK" + QByteArray::number(number).rightJustified(3, '0') + ']';
}

QList<BlockSection> readBlockSections(const QByteArray& fileBytes) {
    const QList<QByteArray> lines = splitLines(fileBytes);
    QList<qsizetype> headerRows;
    QHash<QByteArray, qsizetype> lastRowOf;  // the last line equal to each header
    for (qsizetype row = 0; row < lines.size(); ++row) {
        if (!isBlockHeader(lines[row]))
            continue;
        headerRows.append(row);
        lastRowOf.insert(lines[row], row);
    }
    QList<BlockSection> sections;
    sections.reserve(headerRows.size());
    for (qsizetype i = 0; i < headerRows.size(); ++i) {
        BlockSection section;
        section.header = lines[headerRows[i]];
        section.number = int(i + 1);
        const qsizetype at = lastRowOf.value(section.header);
        for (qsizetype row = at + 1; row <= at + 5; ++row) {
            if (row >= lines.size() || isBlockHeader(lines[row]))
                break;
            section.lines.append(unescapeBlockLine(lines[row]));
        }
        while (section.lines.size() < 5) section.lines.append(QByteArray());
        sections.append(std::move(section));
    }
    return sections;
}

QByteArray writeTemplate(const TemplateSettings& settings, const QList<QList<QByteArray>>& blockLines) {
    QList<QByteArray> lines;
    lines.reserve(20 + blockLines.size() * 7);
    lines.append("[SETTINGS]");
    for (size_t i = 0; i + 1 < kSettingKeys.size(); ++i)
        lines.append(QByteArray(kSettingKeys[i].key) + '=' + singleLine(settings.*kSettingKeys[i].field));
    lines.append(settings.dateOn() ? "DateOn=TRUE" : "DateOn=FALSE");
    for (const SettingKey& optional : kOptionalSettingKeys) {
        const QByteArray& value = settings.*optional.field;
        if (!value.isEmpty())
            lines.append(QByteArray(optional.key) + '=' + singleLine(value));
    }
    for (qsizetype k = 0; k < blockLines.size(); ++k) {
        lines.append(" ");
        lines.append(blockHeader(int(k + 1)));
        for (const QByteArray& line : blockLines[k]) lines.append(escapeBlockLine(singleLine(line)));
        for (qsizetype missing = blockLines[k].size(); missing < 5; ++missing) lines.append(QByteArray());
    }
    return joinLines(lines);
}

NewsletterTemplate parseTemplate(const QByteArray& fileBytes) {
    NewsletterTemplate result;
    result.settings = readSettings(fileBytes);
    for (const BlockSection& section : readBlockSections(fileBytes))
        result.blocks.append(NewsBlock::fromLines(section.lines));
    return result;
}

}  // namespace zw
