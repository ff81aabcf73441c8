#include "editing/TextCommands.h"

#include "platform/Text.h"

namespace zw {

EditorState WrapSelection(const EditorState& state, const TagPair& tags) {
    const QString& t = state.text;
    const qsizetype s = std::clamp<qsizetype>(state.selection.start, 0, t.size());
    const qsizetype n = std::clamp<qsizetype>(state.selection.length, 0, t.size() - s);
    QString out;
    out.reserve(t.size() + tags.opening.size() + tags.closing.size() + 1);
    out.append(QStringView(t).left(s));
    out.append(tags.opening);
    out.append(QStringView(t).mid(s, n));
    out.append(tags.closing);
    out.append(QStringView(t).mid(s + n));
    out.append(u'\n');
    return {out, {s + tags.opening.size(), n}};
}

EditorState BreakLine(const EditorState& state) {
    const QString& t = state.text;
    const qsizetype s = std::clamp<qsizetype>(state.selection.start, 0, t.size());
    const QString rest = trimmedControl(t.mid(s));
    QString out;
    out.reserve(s + 5 + rest.size());
    out.append(QStringView(t).left(s));
    out.append(QLatin1String("<br>"));
    out.append(rest);
    out.append(u'\n');
    return {out, {s + 4, 0}};
}

QString PastedText(const QString& text) {
    static const QLatin1String kBreakTag("<br>");
    QString out;
    out.reserve(text.size() + text.size() / 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const bool lineBreak =
            c == u'\n' || c == u'\r' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
        if (!lineBreak) {
            out.append(c);
            continue;
        }
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        if (!out.endsWith(kBreakTag, Qt::CaseInsensitive))
            out.append(kBreakTag);
        out.append(u'\n');
    }
    return out;
}

bool isFontSizeCaption(const QString& item) {
    return item.toUpper().contains(QLatin1String("GR"));
}

TagPair fontSizeTags(const QString& item) {
    return {QStringLiteral("<font size=\"") + item + QStringLiteral("\">"), QStringLiteral("</font>")};
}

TagPair linkTags(const QString& completedAddress) {
    return {QStringLiteral("<a href=3D\"") + completedAddress + QStringLiteral("\">"),
            QStringLiteral("</a>")};
}

bool isBlankAddress(const QString& address) {
    return trimmedControl(address).isEmpty();
}

}  // namespace zw
