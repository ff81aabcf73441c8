#include "editing/UndoStore.h"

#include <algorithm>
#include <cstring>

namespace zw {

namespace {

// Whole blocks are compared with memcmp first: a change leaves all but a few characters of a long text
// in place.
constexpr qsizetype kBlock = 256;
// A reported change must leave this many characters on each side of it as they were; a report that
// does not is taken for wrong, and the texts are compared instead.
constexpr qsizetype kCheckedNeighbours = 16;

qsizetype commonPrefix(const QChar* a, const QChar* b, qsizetype n) {
    qsizetype i = 0;
    while (i + kBlock <= n && std::memcmp(a + i, b + i, kBlock * sizeof(QChar)) == 0) i += kBlock;
    while (i < n && a[i] == b[i]) ++i;
    return i;
}

// The number of equal characters at the ends of a and b, looking at no more than n of each.
qsizetype commonSuffix(const QChar* aEnd, const QChar* bEnd, qsizetype n) {
    qsizetype i = 0;
    while (i + kBlock <= n && std::memcmp(aEnd - i - kBlock, bEnd - i - kBlock, kBlock * sizeof(QChar)) == 0)
        i += kBlock;
    while (i < n && aEnd[-i - 1] == bEnd[-i - 1]) ++i;
    return i;
}

}  // namespace

TextChange textDifference(QStringView older, QStringView newer) {
    const qsizetype shorter = std::min(older.size(), newer.size());
    const qsizetype prefix = commonPrefix(older.data(), newer.data(), shorter);
    const qsizetype suffix =
        commonSuffix(older.data() + older.size(), newer.data() + newer.size(), shorter - prefix);
    return {prefix, older.size() - prefix - suffix, newer.size() - prefix - suffix};
}

void GapText::assign(const QString& text) {
    buffer_.assign(reinterpret_cast<const char16_t*>(text.constData()),
                   reinterpret_cast<const char16_t*>(text.constData()) + text.size());
    gapStart_ = gapEnd_ = text.size();
}

void GapText::moveGap(qsizetype to) {
    char16_t* data = buffer_.data();
    if (to < gapStart_) {
        const qsizetype n = gapStart_ - to;
        std::memmove(data + gapEnd_ - n, data + to, size_t(n) * sizeof(char16_t));
        gapStart_ -= n;
        gapEnd_ -= n;
    } else if (to > gapStart_) {
        const qsizetype n = to - gapStart_;
        std::memmove(data + gapStart_, data + gapEnd_, size_t(n) * sizeof(char16_t));
        gapStart_ += n;
        gapEnd_ += n;
    }
}

void GapText::widenGap(qsizetype needed) {
    if (gapEnd_ - gapStart_ >= needed)
        return;
    const qsizetype tail = qsizetype(buffer_.size()) - gapEnd_;
    const qsizetype gap = needed + std::max<qsizetype>(4096, size() / 4);
    std::vector<char16_t> wider(size_t(gapStart_ + gap + tail));
    std::copy_n(buffer_.data(), gapStart_, wider.data());
    std::copy_n(buffer_.data() + gapEnd_, tail, wider.data() + gapStart_ + gap);
    buffer_.swap(wider);
    gapEnd_ = gapStart_ + gap;
}

void GapText::replace(qsizetype from, qsizetype removed, QStringView added, QString& removedOut) {
    moveGap(from);
    removedOut.append(reinterpret_cast<const QChar*>(buffer_.data() + gapEnd_), removed);
    gapEnd_ += removed;
    widenGap(added.size());
    std::copy_n(reinterpret_cast<const char16_t*>(added.data()), added.size(), buffer_.data() + gapStart_);
    gapStart_ += added.size();
}

QString GapText::toString() const {
    QString text(size(), Qt::Uninitialized);
    auto* out = reinterpret_cast<char16_t*>(text.data());
    std::copy_n(buffer_.data(), gapStart_, out);
    std::copy(buffer_.begin() + gapEnd_, buffer_.end(), out + gapStart_);
    return text;
}

bool UndoStore::fits(const QString& text, const TextChange& c) const {
    const qsizetype oldSize = newest_.size();
    if (c.at < 0 || c.removed < 0 || c.added < 0 || c.at + c.removed > oldSize ||
        c.at + c.added > text.size() || oldSize - c.removed + c.added != text.size())
        return false;
    for (qsizetype i = std::max<qsizetype>(0, c.at - kCheckedNeighbours); i < c.at; ++i) {
        if (newest_.at(i) != text[i].unicode())
            return false;
    }
    const qsizetype after = std::min(kCheckedNeighbours, oldSize - c.at - c.removed);
    for (qsizetype i = 0; i < after; ++i) {
        if (newest_.at(c.at + c.removed + i) != text[c.at + c.added + i].unicode())
            return false;
    }
    return true;
}

TextChange UndoStore::changeTo(const QString& text, std::optional<TextChange> reported) const {
    if (reported && fits(text, *reported))
        return *reported;
    return textDifference(newest_.toString(), text);
}

void UndoStore::write(int number, const QString& text, std::optional<TextChange> change) {
    number = std::clamp(number, 1, count_ + 1);
    if (number <= count_)
        truncateTo(number - 1);
    if (count_ == 0) {
        newest_.assign(text);
        count_ = 1;
        return;
    }
    const TextChange c = changeTo(text, change);
    steps_.push_back({c.at, c.added, pool_.size(), c.removed});
    newest_.replace(c.at, c.removed, QStringView(text).mid(c.at, c.added), pool_);
    ++count_;
}

QString UndoStore::read(int number) const {
    if (count_ == 0)
        return {};
    number = std::clamp(number, 1, count_);
    int from = count_;
    QString text;
    if (cachedNumber_ >= number && cachedNumber_ < count_) {
        from = cachedNumber_;
        text = cachedText_;
    } else {
        text = newest_.toString();
    }
    for (int k = from - 1; k >= number; --k) {
        const Step& step = steps_[size_t(k - 1)];
        text.replace(step.at, step.newerLength, pool_.constData() + step.poolAt, step.olderLength);
    }
    cachedNumber_ = number;
    cachedText_ = text;
    return text;
}

void UndoStore::truncateTo(int number) {
    if (number <= 0) {
        clear();
        return;
    }
    newest_.assign(read(number));
    steps_.resize(size_t(number - 1));
    pool_.truncate(steps_.empty() ? 0 : steps_.back().poolAt + steps_.back().olderLength);
    count_ = number;
    cachedNumber_ = 0;
    cachedText_.clear();
}

void UndoStore::clear() {
    count_ = 0;
    newest_ = GapText();
    steps_ = {};
    pool_ = QString();
    cachedNumber_ = 0;
    cachedText_ = QString();
}

qsizetype UndoStore::memoryUsage() const {
    return qsizetype(steps_.capacity() * sizeof(Step)) + pool_.capacity() * qsizetype(sizeof(QChar)) +
           newest_.capacityBytes() + cachedText_.capacity() * qsizetype(sizeof(QChar));
}

}  // namespace zw
