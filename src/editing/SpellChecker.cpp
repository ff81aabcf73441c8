#include "editing/SpellChecker.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <hunspell/hunspell.hxx>

#include <cerrno>

#include "platform/Error.h"

namespace zw {

namespace {

constexpr char kDictionary[] = "de_DE";

// Debian's folders for Hunspell dictionaries; DICPATH first, as Hunspell's own programs do.
QStringList systemDictionaryFolders() {
    QStringList folders = qEnvironmentVariable("DICPATH").split(u':', Qt::SkipEmptyParts);
    folders << QStringLiteral("/usr/share/hunspell") << QStringLiteral("/usr/share/myspell/dicts")
            << QStringLiteral("/usr/share/myspell");
    return folders;
}

bool joinsWord(QChar c) {
    return c == u'-' || c == u'\'' || c == u'\u2019';
}

// Where a run that is no prose ends: a field "{...}", a tag "<...>" or an entity "&...;".
qsizetype skipTo(QStringView text, qsizetype from, QChar closing, qsizetype most) {
    const qsizetype end = text.indexOf(closing, from + 1);
    return end < 0 || end - from > most ? from + 1 : end + 1;
}

bool isLink(QStringView chunk) {
    return chunk.contains(u'@') || chunk.contains(u"://") || chunk.startsWith(u"www.", Qt::CaseInsensitive);
}

}  // namespace

SpellChecker::SpellChecker(const QString& userWordsPath, QStringList dictionaryFolders)
    : userWordsPath_(userWordsPath) {
    if (dictionaryFolders.isEmpty())
        dictionaryFolders = systemDictionaryFolders();
    for (const QString& folder : dictionaryFolders) {
        const QString base = QDir(folder).filePath(QLatin1String(kDictionary));
        if (!QFileInfo::exists(base + QStringLiteral(".aff")) || !QFileInfo::exists(base + QStringLiteral(".dic")))
            continue;
        hunspell_ = std::make_unique<Hunspell>(QFile::encodeName(base + QStringLiteral(".aff")).constData(),
                                               QFile::encodeName(base + QStringLiteral(".dic")).constData());
        utf8_ = QByteArray::fromStdString(hunspell_->get_dict_encoding()).toUpper().replace('-', "") == "UTF8";
        break;
    }
    if (!hunspell_ || userWordsPath_.isEmpty())
        return;
    QFile words(userWordsPath_);
    if (!words.open(QIODevice::ReadOnly))
        return;  // none yet
    for (const QByteArray& line : words.readAll().split('\n')) {
        const QString word = QString::fromUtf8(line).trimmed();
        if (!word.isEmpty())
            hunspell_->add(encoded(word).toStdString());
    }
}

SpellChecker::~SpellChecker() = default;

QByteArray SpellChecker::encoded(const QString& word) const {
    return utf8_ ? word.toUtf8() : word.toLatin1();
}

bool SpellChecker::checkWord(const QString& word) const {
    if (!hunspell_ || ignored_.contains(word))
        return true;
    const auto known = known_.constFind(word);
    if (known != known_.cend())
        return *known;
    const bool correct = hunspell_->spell(encoded(word).toStdString());
    known_.insert(word, correct);
    return correct;
}

bool SpellChecker::isCorrect(const QString& word) const {
    return checkWord(word);
}

QStringList SpellChecker::suggest(const QString& word, int most) const {
    QStringList found;
    if (!hunspell_)
        return found;
    for (const std::string& s : hunspell_->suggest(encoded(word).toStdString())) {
        if (found.size() >= most)
            break;
        found << (utf8_ ? QString::fromStdString(s) : QString::fromLatin1(s.data(), qsizetype(s.size())));
    }
    return found;
}

void SpellChecker::addToUserWords(const QString& word) {
    if (hunspell_)
        hunspell_->add(encoded(word).toStdString());
    known_.insert(word, true);
    QFile words(userWordsPath_);
    errno = 0;
    const QByteArray line = word.toUtf8() + '\n';
    if (!words.open(QIODevice::WriteOnly | QIODevice::Append) || words.write(line) != line.size() || !words.flush())
        throw fileCreateError(QDir::toNativeSeparators(userWordsPath_), errno ? errno : EIO);
}

void SpellChecker::ignore(const QString& word) {
    ignored_.insert(word);
}

QList<SpellChecker::Range> SpellChecker::misspelt(QStringView text, bool skipTags) const {
    QList<Range> found;
    if (!hunspell_)
        return found;
    const qsizetype n = text.size();
    qsizetype i = 0;
    const auto breaksChunk = [&](QChar c) { return c.isSpace() || c == u'{' || (skipTags && c == u'<'); };
    while (i < n) {
        const QChar c = text[i];
        if (c == u'{') {
            i = skipTo(text, i, u'}', n);
            continue;
        }
        if (skipTags && c == u'<') {
            i = skipTo(text, i, u'>', n);
            continue;
        }
        if (skipTags && c == u'&') {
            i = skipTo(text, i, u';', 10);
            continue;
        }
        if (c.isSpace()) {
            ++i;
            continue;
        }
        const qsizetype chunkStart = i;
        while (i < n && !breaksChunk(text[i]) && !(skipTags && text[i] == u'&')) ++i;
        const QStringView chunk = text.mid(chunkStart, i - chunkStart);
        if (isLink(chunk))
            continue;
        // The words of the chunk: letters and digits, with hyphens and apostrophes inside.
        for (qsizetype j = 0; j < chunk.size();) {
            if (!chunk[j].isLetterOrNumber()) {
                ++j;
                continue;
            }
            const qsizetype start = j;
            bool digit = false, lower = false;
            while (j < chunk.size() &&
                   (chunk[j].isLetterOrNumber() ||
                    (joinsWord(chunk[j]) && j + 1 < chunk.size() && chunk[j + 1].isLetterOrNumber()))) {
                digit = digit || chunk[j].isDigit();
                lower = lower || chunk[j].isLower();
                ++j;
            }
            const qsizetype length = j - start;
            if (digit || !lower || length < 2)
                continue;  // "2te", "A4", "ADFC", "B"
            if (!checkWord(chunk.mid(start, length).toString()))
                found.append({int(chunkStart + start), int(length)});
        }
    }
    return found;
}

}  // namespace zw
