#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace zw {

// Personal fields: a column of the recipient list in braces ("{Vorname}", "{Vorname|liebe Mitglieder}")
// in the subject and the texts, filled in per recipient. "{{" and "}}" stand for typed braces.
//
// A template is rendered once. Each field in its texts is replaced by a marker that no escaping of the
// renderer touches (a control byte, digits, a control byte; texts read from a template hold no control
// bytes), and each marker is later filled in where it stands, with the escaping of its place: HTML, the
// plain text, a link's query or the subject header.

// How a field's value goes in: as text, or percent-encoded in the query of a link address.
enum class FieldKind : char { Text = 'T', Query = 'Q' };
// Where a marker stands, which decides the escaping of a text value.
enum class FieldPlace { Html, Plain, Header };

struct Field {
    QString name;
    QString fallback;
    bool hasFallback = false;
    FieldKind kind = FieldKind::Text;
    bool operator==(const Field&) const = default;
};

// The fields of one rendering: marker n stands for fields[n]. subject is the subject with its markers.
struct FieldSet {
    QList<Field> fields;
    QByteArray subject;

    bool isEmpty() const { return fields.isEmpty(); }
    // The marker for a field, the field added when it is new.
    QByteArray marker(const Field& field);
    // Every field name used, each once (by fieldKey), in order of first use.
    QStringList names() const;

    // A campaign keeps the fields beside its message; this is the form of that file.
    QByteArray serialize() const;
    static FieldSet parse(const QByteArray& bytes);
};

// The values of one recipient, by fieldKey of the list's column.
using FieldValues = QHash<QString, QString>;

// The key a field name or a column name is matched by: case and punctuation do not count, and the
// spellings the list reader knows for one column ("E-Mail", "Email", "Mail") give one key.
QString fieldKey(const QString& name);

// A list cell as a value: line breaks become a blank, other control characters are dropped, blanks
// at both ends too.
QString cleanFieldValue(const QString& cell);
void appendFieldValue(QString& out, QStringView cell);

// Whether a stored text uses the field syntax at all: a field, "{{" or "}}".
bool hasFieldSyntax(const QByteArray& text);

// A stored text with its fields as markers and "{{", "}}" as braces; unchanged without field syntax.
QByteArray markTextFields(const QByteArray& text, FieldSet& set);
// A link address: before its "?" everything stays as typed, so that no value changes where the link
// leads; after it fields are percent-encoded.
QByteArray markLinkFields(const QByteArray& address, FieldSet& set);
// A text with markup: inside an address attribute (href, src, ...) the link's rules, inside any other
// attribute value and between the tags the text's; a value without quotes that gets a field gets quotes.
QByteArray markBodyFields(const QByteArray& text, FieldSet& set);

// The value of each field of set for one recipient (the fallback for an empty one), or with values
// null the sample: every fallback, or the field's name where there is none.
QStringList resolveFields(const FieldSet& set, const FieldValues* values);

// A line with its markers filled in, escaped for place.
QByteArray fillMarkers(const QByteArray& line, const FieldSet& set, const QStringList& resolved,
                       FieldPlace place);
inline bool hasMarker(const QByteArray& line) {
    return line.contains('\x01');
}

}  // namespace zw
