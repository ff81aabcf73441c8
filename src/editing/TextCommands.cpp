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
