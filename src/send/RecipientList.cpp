#include "send/RecipientList.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QUrl>

#include <algorithm>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/Error.h"
#include "platform/FileIo.h"
#include "render/Fields.h"
#include "send/CsvReader.h"

namespace zw::send {

namespace {

constexpr qsizetype kMaxAddress = 254;
constexpr qsizetype kMaxLocalPart = 64;
constexpr qsizetype kMaxLabel = 63;
// What a report shows of a long cell or row, and how long a name may be in a To: line.
constexpr qsizetype kReportChars = 200;
constexpr qsizetype kMaxName = 200;
// A list this large is no list; reading it would only fill the memory.
constexpr qint64 kMaxFileBytes = 256 * 1024 * 1024;

bool isAsciiAlnum(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
}

// The characters of a dot-atom besides letters and digits.
bool isAtext(char16_t c) {
    return isAsciiAlnum(c) ||
           std::u16string_view(u"!#$%&'*+-/=?^_`{|}~").find(c) != std::u16string_view::npos;
}

// What a character of an address may be that makes it no address, and the reasons, in the order that
// tells a user most.
enum Trait : unsigned {
    LineBreak = 1,
    Angle = 2,
    Quote = 4,
    Comma = 8,
    Semicolon = 16,
    Space = 32,
    NonAscii = 64,
    Control = 128,
};
struct TraitReason {
    unsigned trait;
    const char16_t* reason;
};
constexpr TraitReason kFirstReasons[] = {
    {LineBreak, u"Zeilenumbruch in der Adresse"},
    {Angle, u"Name oder spitze Klammern bei der Adresse (nur die Adresse selbst ist erlaubt)"},
    {Quote, u"Anführungszeichen in der Adresse"},
    {Comma, u"Komma in der Adresse (mehrere Adressen in einem Feld?)"},
    {Semicolon, u"Semikolon in der Adresse (mehrere Adressen in einem Feld?)"},
    {Space, u"Leerzeichen in der Adresse"},
};
constexpr TraitReason kLaterReasons[] = {
    {NonAscii, u"Umlaut oder anderes Sonderzeichen in der Adresse"},
    {Control, u"Steuerzeichen in der Adresse"},
};

unsigned traitOf(char16_t c) {
    if (c >= 0x80)
        return NonAscii | (QChar(c).isSpace() ? unsigned(Space) : 0u);
    if (c == u'\n' || c == u'\r')
        return LineBreak | Space;
    if (c == u' ' || (c >= u'\t' && c <= u'\f'))
        return Space;
    if (c < 0x20 || c == 0x7f)
        return Control;
    constexpr std::u16string_view marks = u"<>\",;";
    constexpr unsigned traits[] = {Angle, Angle, Quote, Comma, Semicolon};
    const size_t mark = marks.find(c);
    return mark == std::u16string_view::npos ? 0 : traits[mark];
}

QString firstReason(unsigned found, const auto& reasons) {
    for (const TraitReason& r : reasons) {
        if (found & r.trait)
            return QString::fromUtf16(r.reason);
    }
    return {};
}

QString domainReason(QStringView domain) {
    if (domain.isEmpty())
        return QStringLiteral("nichts nach dem @");
    if (!domain.contains(u'.'))
        return QStringLiteral("kein Punkt nach dem @ (etwa „beispiel.de“)");
    const QString invalid = QStringLiteral("ungültiger Teil nach dem @");
    qsizetype start = 0;
    while (start <= domain.size()) {
        qsizetype dot = domain.indexOf(u'.', start);
        if (dot < 0)
            dot = domain.size();
        const QStringView label = domain.sliced(start, dot - start);
        if (label.isEmpty() || label.size() > kMaxLabel || label.front() == u'-' || label.back() == u'-')
            return invalid;
        for (QChar c : label) {
            if (!isAsciiAlnum(c.unicode()) && c != u'-')
                return invalid;
        }
        // The last label names a top-level domain: letters, or an international one ("xn--...").
        if (dot == domain.size() && !label.front().isLetter())
            return invalid;
        start = dot + 1;
    }
    return {};
}

// A cell as the address it gives: without the blanks around it, and a domain with umlauts in the
// form mail servers know ("bäckerei.de" as "xn--bckerei-5wa.de").
QString addressOf(QStringView cell) {
    QString address = cell.trimmed().toString();
    const qsizetype at = address.lastIndexOf(u'@');
    if (at < 0 || address.size() > kMaxAddress * 4)
        return address;
    const QString domain = address.sliced(at + 1);
    if (std::all_of(domain.begin(), domain.end(), [](QChar c) { return c.unicode() < 0x80; }))
        return address;
    const QByteArray ace = QUrl::toAce(domain);
    if (ace.isEmpty())
        return address;
    return address.first(at + 1) + QString::fromLatin1(ace);
}

QString addressReason(QStringView address);

// Whether a cell gives an address; without copying it in the common case of a plain one.
bool isAddress(QStringView cell) {
    cell = cell.trimmed();
    if (!cell.contains(u'@'))
        return false;
    if (std::all_of(cell.begin(), cell.end(), [](QChar c) { return c.unicode() < 0x80; }))
        return addressReason(cell).isEmpty();
    return addressReason(addressOf(cell)).isEmpty();
}

QString forReport(QStringView text) {
    text = text.trimmed();
    if (text.size() <= kReportChars)
        return text.toString();
    return text.first(kReportChars).toString() + u'…';
}

// A display name fit for a To: line: one line of ordinary characters.
QString cleanName(QString name) {
    for (QChar& c : name) {
        const char16_t u = c.unicode();
        if (u < 0x20 || (u >= 0x7f && u < 0xa0) || u == 0x2028 || u == 0x2029)  // controls, line breaks
            c = u' ';
    }
    name = std::move(name).simplified();
    if (name.size() > kMaxName)
        name.truncate(kMaxName);
    return name;
}

bool isBlank(const CsvRow& row) {
    for (qsizetype i = 0; i < row.size(); ++i) {
        if (!row.cell(i).trimmed().isEmpty())
            return false;
    }
    return true;
}

bool containsLineBreak(QStringView text) {
    return text.contains(u'\n') || text.contains(u'\r');
}

// The columns a header row names. "Adresse" alone may be the postal one: an e-mail column wins.
struct Columns {
    qsizetype address = -1, postal = -1, first = -1, last = -1, full = -1, name = -1;
};

// Header names as written by spreadsheets, address books and mailing services, reduced to their
// letters in lower case ("E-Mail-Adresse" is "emailadresse").
struct HeaderName {
    const char16_t* key;
    qsizetype Columns::*column;
};
constexpr HeaderName kHeaderNames[] = {
    {u"email", &Columns::address},
    {u"mail", &Columns::address},
    {u"emailadresse", &Columns::address},
    {u"mailadresse", &Columns::address},
    {u"emailaddress", &Columns::address},
    {u"mailaddress", &Columns::address},
    {u"primäreemailadresse", &Columns::address},  // Thunderbird
    {u"primaryemail", &Columns::address},
    {u"emailvalue", &Columns::address},  // Google Contacts: "E-mail 1 - Value"
    {u"adresse", &Columns::postal},
    {u"address", &Columns::postal},
    {u"vorname", &Columns::first},
    {u"firstname", &Columns::first},
    {u"givenname", &Columns::first},
    {u"nachname", &Columns::last},
    {u"familienname", &Columns::last},
    {u"lastname", &Columns::last},
    {u"surname", &Columns::last},
    {u"familyname", &Columns::last},
    {u"anzeigename", &Columns::full},
    {u"displayname", &Columns::full},
    {u"fullname", &Columns::full},
    {u"name", &Columns::name},
};

qsizetype Columns::*headerColumn(QStringView cell) {
    if (cell.size() > 64)
        return nullptr;
    QString key;
    for (QChar c : cell) {
        if (c.isLetter())
            key += c.toLower();
    }
    for (const HeaderName& name : kHeaderNames) {
        if (key == QStringView(name.key))
            return name.column;
    }
    return nullptr;
}

// The columns of a header row; nothing when the row is no header (it names no known column, or holds
// an address).
std::optional<Columns> readHeader(const CsvRow& row) {
    Columns columns;
    bool named = false;
    for (qsizetype i = 0; i < row.size(); ++i) {
        if (isAddress(row.cell(i)))
            return std::nullopt;
        if (qsizetype Columns::*column = headerColumn(row.cell(i).trimmed())) {
            named = true;
            if (columns.*column < 0)
                columns.*column = i;
        }
    }
    if (!named)
        return std::nullopt;
    if (columns.address < 0)
        columns.address = columns.postal;
    return columns;
}

// "Name" is the surname beside a "Vorname" without a "Nachname" (as forms have it), otherwise the
// whole name. A whole name given wins over first and last name.
QString nameOf(const CsvRow& row, const Columns& columns) {
    const auto cell = [&row](qsizetype i) {
        return i >= 0 && i < row.size() ? row.cell(i).trimmed() : QStringView();
    };
    const bool nameIsSurname = columns.first >= 0 && columns.last < 0;
    const QStringView full = cell(columns.full >= 0 ? columns.full : (nameIsSurname ? -1 : columns.name));
    if (!full.isEmpty())
        return cleanName(full.toString());
    const QStringView first = cell(columns.first);
    const QStringView last = cell(nameIsSurname ? columns.name : columns.last);
    if (first.isEmpty() || last.isEmpty())
        return cleanName((first.isEmpty() ? last : first).toString());
    return cleanName(first.toString() + u' ' + last.toString());
}

// The cells of a row under the header's columns, as the personal fields take them.
QString cellsOf(const CsvRow& row, qsizetype columns) {
    QString cells;
    cells.reserve(row.end - row.begin + columns);
    for (qsizetype i = 0; i < columns; ++i) {
        if (i > 0)
            cells += u'\t';
        if (i < row.size())
            appendFieldValue(cells, row.cell(i));
    }
    return cells;
}

// Takes the rows of a list one by one into recipients and rejected rows.
class ListBuilder {
public:
    void take(QStringView cell, qsizetype line, const QString& name, QString cells = {}) {
        const QString address = addressOf(cell);
        if (const QString reason = addressReason(address); !reason.isEmpty()) {
            reject(line, cell, reason);
            return;
        }
        const QString key = address.toLower();
        if (const auto first = seen_.constFind(key); first != seen_.cend()) {
            reject(line, address, QStringLiteral("doppelt (wie Zeile %1)").arg(*first));
            return;
        }
        seen_.insert(key, line);
        list_.recipients.append({address, name, line, std::move(cells)});
    }
    void reject(qsizetype line, QStringView text, const QString& reason) {
        list_.rejected.append({line, forReport(text), reason});
    }
    RecipientList result() { return std::move(list_); }
    QStringList& columns() { return list_.columns; }

private:
    RecipientList list_;
    QHash<QString, qsizetype> seen_;
};

// Without a header: the column where most cells are addresses (the first of equals), and whether the
// table is a single row with several addresses (a list written across, as a mail program's recipient
// field is copied).
struct Guess {
    qsizetype address = 0;
    bool singleRow = false;
};

Guess guessColumns(QStringView text, const TableLayout& body) {
    std::vector<qsizetype> counts;
    qsizetype rows = 0;
    CsvReader csv(text, body);
    CsvRow row;
    while (csv.next(row)) {
        if (isBlank(row))
            continue;
        ++rows;
        if (counts.size() < size_t(row.size()))
            counts.resize(size_t(row.size()));
        for (qsizetype i = 0; i < row.size(); ++i) {
            const QStringView cell = row.cell(i);
            if (isAddress(cell))
                ++counts[size_t(i)];
        }
    }
    Guess guess;
    guess.address = std::max_element(counts.begin(), counts.end()) - counts.begin();
    guess.singleRow =
        rows == 1 && std::count_if(counts.begin(), counts.end(), [](qsizetype n) { return n > 0; }) > 1;
    return guess;
}

}  // namespace

namespace {

QString addressReason(QStringView address) {
    unsigned found = 0;
    qsizetype at = -1, ats = 0, visible = 0;
    for (qsizetype i = 0; i < address.size(); ++i) {
        const char16_t c = address[i].unicode();
        const unsigned trait = traitOf(c);
        found |= trait;
        visible += (trait & Space) ? 0 : 1;
        if (c == u'@' && ats++ == 0)
            at = i;
    }
    if (visible == 0)
        return QStringLiteral("keine Adresse");
    if (QString reason = firstReason(found, kFirstReasons); !reason.isEmpty())
        return reason;
    if (ats == 0)
        return QStringLiteral("kein @ in der Adresse");
    if (ats > 1)
        return QStringLiteral("mehr als ein @ in der Adresse");
    if (address.size() > kMaxAddress)
        return QStringLiteral("Adresse länger als %1 Zeichen").arg(kMaxAddress);
    if (QString reason = firstReason(found, kLaterReasons); !reason.isEmpty())
        return reason;
    const QStringView local = address.first(at);
    if (local.isEmpty())
        return QStringLiteral("nichts vor dem @");
    if (local.size() > kMaxLocalPart)
        return QStringLiteral("Teil vor dem @ länger als %1 Zeichen").arg(kMaxLocalPart);
    for (qsizetype i = 0; i < local.size(); ++i) {
        const bool dot = local[i] == u'.';
        if (dot && (i == 0 || i + 1 == local.size() || local[i + 1] == u'.'))
            return QStringLiteral("Punkt am Anfang, am Ende oder doppelt vor dem @");
        if (!dot && !isAtext(local[i].unicode()))
            return QStringLiteral("unzulässiges Zeichen „%1“ in der Adresse").arg(local[i]);
    }
    return domainReason(address.sliced(at + 1));
}

}  // namespace

QString checkAddress(const QString& address) {
    return addressReason(address);
}

RecipientList readRecipientList(const QByteArray& bytes) {
    const QString text = decodeListText(bytes);
    const TableLayout layout = detectLayout(text);

    // The header is the first row with text, when it names its columns.
    std::optional<Columns> header;
    QStringList headerNames;
    TableLayout body = layout;
    {
        CsvReader csv(text, layout);
        CsvRow row;
        while (csv.next(row)) {
            if (isBlank(row))
                continue;
            if ((header = readHeader(row))) {
                body = csv.position();
                for (qsizetype i = 0; i < row.size(); ++i)
                    headerNames.append(row.cell(i).trimmed().toString());
            }
            break;
        }
    }
    Columns columns = header.value_or(Columns());
    bool singleRow = false;
    if (columns.address < 0) {
        const Guess guess = guessColumns(text, body);
        columns.address = guess.address;
        singleRow = guess.singleRow && !header;
    }

    ListBuilder list;
    list.columns() = headerNames;
    CsvReader csv(text, body);
    CsvRow row;
    while (csv.next(row)) {
        if (isBlank(row))
            continue;
        if (singleRow) {
            for (qsizetype i = 0; i < row.size(); ++i) {
                if (!row.cell(i).trimmed().isEmpty())
                    list.take(row.cell(i), row.line, QString());
            }
        } else {
            const QStringView cell = columns.address < row.size() ? row.cell(columns.address) : QStringView();
            // An address over several lines comes from a stray quote, not from a spreadsheet: its
            // lines are rows of their own.
            if (row.spansLines && containsLineBreak(cell)) {
                csv.rereadLineByLine(row);
                continue;
            }
            if (cell.trimmed().isEmpty())
                list.reject(row.line, row.whole(), QStringLiteral("keine Adresse in dieser Zeile"));
            else
                list.take(cell, row.line, header ? nameOf(row, columns) : QString(),
                          cellsOf(row, headerNames.size()));
        }
        if (row.overflow)
            list.reject(row.line, row.whole(),
                        QStringLiteral("mehr als 16384 Spalten: der Rest der Zeile ist nicht gelesen"));
    }
    return list.result();
}

RecipientList readRecipientFile(const QString& path) {
    const QFileInfo info(path);
    if (info.isFile() && info.size() > kMaxFileBytes)
        throw Error(QStringLiteral("Die Datei %1 ist mit %2 MB zu groß für eine Empfängerliste.")
                        .arg(QDir::toNativeSeparators(path))
                        .arg(info.size() / (1024 * 1024)));
    return readRecipientList(readFile(path));
}

void applyExclusions(RecipientList& list, const RecipientList& exclusions) {
    QSet<QString> excluded;
    excluded.reserve(exclusions.recipients.size());
    for (const Recipient& r : exclusions.recipients) excluded.insert(r.address.toLower());
    if (excluded.isEmpty())
        return;
    QList<Recipient> kept;
    kept.reserve(list.recipients.size());
    for (Recipient& r : list.recipients) {
        if (excluded.contains(r.address.toLower()))
            list.rejected.append({r.line, r.address, QStringLiteral("steht auf der Sperrliste")});
        else
            kept.append(std::move(r));
    }
    list.recipients = std::move(kept);
    std::stable_sort(list.rejected.begin(), list.rejected.end(),
                     [](const RejectedRow& a, const RejectedRow& b) { return a.line < b.line; });
}

}  // namespace zw::send
