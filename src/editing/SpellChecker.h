#pragma once

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>

class Hunspell;

namespace zw {

// German spell checking with Hunspell and the system's German dictionary, for every text field that
// takes prose. Words the user adds go to a word list of their own (UTF-8, one word a line) and count
// as correct from then on; ignored words count as correct until the program ends. Left out of the
// check: personal fields "{Vorname}", e-mail addresses, links, words with digits and words in capitals
// only (names of clubs, abbreviations), and in the text source view the tags.
class SpellChecker {
public:
    struct Range {
        int start = 0;
        int length = 0;
        bool operator==(const Range&) const = default;
    };

    // dictionaryFolders: where "de_DE.aff" and "de_DE.dic" are looked for (the system's folders when
    // empty); userWordsPath: the user's word list, read now when it is there.
    explicit SpellChecker(const QString& userWordsPath, QStringList dictionaryFolders = {});
    ~SpellChecker();
    SpellChecker(const SpellChecker&) = delete;
    SpellChecker& operator=(const SpellChecker&) = delete;

    // False when no German dictionary is installed: nothing is then underlined.
    bool available() const { return bool(hunspell_); }

    bool isCorrect(const QString& word) const;
    // Up to `most` corrections, the likeliest first.
    QStringList suggest(const QString& word, int most = 5) const;
    // Onto the user's word list (the file is written at once; a failure throws the German file error).
    void addToUserWords(const QString& word);
    void ignore(const QString& word);

    // The misspelt words of one paragraph. skipTags: "<...>" is markup, not text.
    QList<Range> misspelt(QStringView text, bool skipTags = false) const;

    // The file name of the user's word list in the working-files folder.
    static constexpr const char* kUserWordsFile = "Woerterbuch.txt";

private:
    QByteArray encoded(const QString& word) const;
    bool checkWord(const QString& word) const;

    std::unique_ptr<Hunspell> hunspell_;
    bool utf8_ = true;
    QString userWordsPath_;
    QSet<QString> ignored_;
    // Words repeat within a newsletter; Hunspell's answer for each is kept.
    mutable QHash<QString, bool> known_;
};

}  // namespace zw
