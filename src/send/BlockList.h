#pragma once

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>

#include "send/RecipientList.h"

namespace zw::send {

// The lasting block list of a working-files folder: the addresses that no campaign sends to again
// (bounced for good, asked to be removed, or put there by hand).
inline constexpr char kBlockListFileName[] = "Sperrliste.csv";
QString blockListPath(const QString& workFolder);

// One blocked address and what put it there.
struct BlockEntry {
    QString address;   // as the list holds it; compared ignoring case
    QString reason;    // German, e.g. "unzustellbar", "Abmeldung", "von Hand"
    QDateTime date;    // when it was put there
    QString evidence;  // the server's text or the request's subject, one line
    QString campaign;  // the campaign it came from, its subject; may be empty
};

// The file is a table a spreadsheet opens as it is (UTF-8 with byte-order mark, ";", a header row
// "Adresse;Grund;Datum;Nachweis;Versand") and may have been edited there: columns are found by their
// header, rows without an address are dropped, and a row whose address is no valid address is kept
// as written (it blocks only that text).
class BlockList {
public:
    // A missing file gives an empty list; a file that cannot be read throws zw::Error (German).
    static BlockList load(const QString& path);
    static BlockList parse(const QByteArray& bytes);
    QByteArray toCsv() const;
    // Writes the file in one step, readable by its owner only: the addresses are other people's.
    void save(const QString& path) const;

    const QList<BlockEntry>& entries() const { return entries_; }
    // The entry of an address (ignoring case), or nullptr.
    const BlockEntry* find(const QString& address) const;
    // Adds the entry unless its address is there already; false then (the first reason stays).
    bool add(BlockEntry entry);
    bool remove(const QString& address);

private:
    QList<BlockEntry> entries_;
    QHash<QString, qsizetype> index_;  // the entries by their address in small letters
};

// A recipient left out by the block list, with the entry that blocks it.
struct BlockedRecipient {
    Recipient recipient;
    BlockEntry entry;
};

// Takes every recipient on the block list out of the list and returns them, in the order of the list.
QList<BlockedRecipient> leaveOutBlocked(RecipientList& list, const BlockList& blocks);

// "1 Adresse der Liste steht auf der Sperrliste" / "N Adressen der Liste stehen auf der Sperrliste".
QString blockedCountText(qsizetype count);

// Puts every address of a list file (CSV or text, as recipient lists are read) on the block list with
// the reason "eingelesen"; returns how many were new. The file's rows that hold no address are
// returned in rejected. Throws zw::Error (German) when the file cannot be read.
qsizetype importIntoBlockList(BlockList& blocks, const QString& listPath,
                              QList<RejectedRow>* rejected = nullptr);

}  // namespace zw::send
