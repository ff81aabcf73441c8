#pragma once

#include <QString>

#include <optional>
#include <vector>

namespace zw {

// Where one change of a text took place, as the editor reports it: from offset `at`, `removed`
// characters of the old text gave way to `added` characters of the new one.
struct TextChange {
    qsizetype at = 0;
    qsizetype removed = 0;
    qsizetype added = 0;
};

// The change that turns older into newer: the part between their common beginning and common end.
TextChange textDifference(QStringView older, QStringView newer);

// A text kept with a gap at the place of the last change, so that a run of keystrokes at one place
// moves nothing but the keystrokes themselves.
class GapText {
public:
    void assign(const QString& text);
    qsizetype size() const { return qsizetype(buffer_.size()) - (gapEnd_ - gapStart_); }
    char16_t at(qsizetype i) const { return buffer_[size_t(i < gapStart_ ? i : i + (gapEnd_ - gapStart_))]; }
    // Replaces the characters [from, from + removed) by added and appends the removed ones to `removedOut`.
    void replace(qsizetype from, qsizetype removed, QStringView added, QString& removedOut);
    QString toString() const;
    qsizetype capacityBytes() const { return qsizetype(buffer_.capacity() * sizeof(char16_t)); }

private:
    void moveGap(qsizetype to);
    void widenGap(qsizetype needed);

    std::vector<char16_t> buffer_;
    qsizetype gapStart_ = 0;
    qsizetype gapEnd_ = 0;
};

// The snapshots of the news editor's undo history, numbered from 1, each the whole editor text.
//
// Nothing but the undo command reads them, and consecutive snapshots differ by a keystroke, so only
// the newest is kept whole; every older one is kept as the difference to its successor. A history of
// ten thousand keystrokes in a long text thus costs little more than the keystrokes themselves.
class UndoStore {
public:
    int count() const { return count_; }

    // Stores text as snapshot number (1 to count() + 1). Snapshots above number are dropped: once the
    // history steps back, the next change takes the place of the one that was undone. A change that
    // tells where the text differs from the previous snapshot spares comparing the whole text; one that
    // does not fit the two texts is ignored.
    void write(int number, const QString& text, std::optional<TextChange> change = std::nullopt);
    // Snapshot number, 1 to count(). Reading the neighbour of the last one read is cheap.
    QString read(int number) const;
    void clear();

    // Bytes held for the snapshots.
    qsizetype memoryUsage() const;

private:
    // How snapshot k is made from snapshot k + 1: the characters [at, at + newerLength) of the newer
    // text are replaced by the characters [poolAt, poolAt + olderLength) of pool_.
    struct Step {
        qsizetype at;
        qsizetype newerLength;
        qsizetype poolAt;
        qsizetype olderLength;
    };

    // The change from the newest snapshot to text, checked against both, or worked out by comparing.
    TextChange changeTo(const QString& text, std::optional<TextChange> reported) const;
    bool fits(const QString& text, const TextChange& change) const;
    // Drops every snapshot above number, leaving number as the newest.
    void truncateTo(int number);

    int count_ = 0;
    GapText newest_;           // the text of snapshot count()
    std::vector<Step> steps_;  // steps_[k - 1] turns snapshot k + 1 into snapshot k
    QString pool_;             // the older texts of all steps, one after the other
    // The last snapshot read, so that stepping back one at a time costs one difference each.
    mutable int cachedNumber_ = 0;
    mutable QString cachedText_;
};

}  // namespace zw
