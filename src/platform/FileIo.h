#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>

namespace zw {

// Reads a whole file; throws the German file-open error when it cannot be read.
QByteArray readFile(const QString& path);

// A file written under its name + kInterruptedWriteSuffix and renamed over the old one by commit(): a
// reader, or the next start after a crash, finds the old file or the whole new one, never a mix. A
// durable replacement waits for the disk before the rename, so that not even a power cut leaves the
// new name on an empty file. Every failure throws the German file-create error naming the path, and
// leaves the old file as it was; a replacement not committed is removed.
class FileReplacement {
public:
    FileReplacement(const QString& path, bool durable);
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // The file being written, for those who stream into it: it writes at once (no buffer whose last
    // flush could fail unseen) and is named after the target.
    QIODevice& device() { return file_; }
    void write(const QByteArray& bytes);
    // Fails with the reason err (an errno value) after a write to device() came up short.
    [[noreturn]] void fail(int err);
    void commit();

private:
    QString path_;
    QByteArray target_, temporary_;
    bool durable_;
    bool committed_ = false;
    QFile file_;
};

// Replaces the file at path with bytes in one step: either the new content is complete on disk or the
// old file is untouched. Throws the German file-create error on any failure (a full disk included).
void writeFileAtomic(const QString& path, const QByteArray& bytes);
// The same, the file readable by its owner only (mode 0600) before its first byte is written: for
// files that hold other people's addresses or a sender's account. A folder that keeps no permissions
// (a FAT stick) refuses the mode, and the file is written all the same.
void writePrivateFile(const QString& path, const QByteArray& bytes);

// The same replacement without waiting for the disk: for the block edit files, which are working
// copies rebuilt from the template by the hundred. A crash may lose them, never half-write them.
void writeWorkingFile(const QString& path, const QByteArray& bytes);

// A file being written lies beside its target under the target's name + this suffix until it is
// complete and renamed; a crash may leave one behind. The suffix is ours alone: the program folder
// may be a folder the user shares with others (a browser's unfinished "*.part" downloads).
inline constexpr char kInterruptedWriteSuffix[] = ".zw-part";
// Removes what interrupted writes left in the program folder and in the subfolders the program writes
// to. Only for the one running copy of the program, at its start: another copy's writes would be cut
// short.
void removeInterruptedWrites(const QString& folder);

// Copies a file over another one, atomically. Returns false instead of throwing: the callers treat these
// copies as "nice to have" (the revert copy, the marker files).
bool copyFileReplacing(const QString& from, const QString& to);

// Text files are lists of lines. Reading accepts CR LF, LF or CR; a final line end adds no empty line.
QList<QByteArray> splitLines(const QByteArray& bytes);
// Every line, the last one included, ended by CR LF.
QByteArray joinLines(const QList<QByteArray>& lines);

// Files in folder whose names match a wildcard such as "*.edt", in ascending order of their names.
QStringList listFiles(const QString& folder, const QString& pattern);
// Deletes the files in folder that match a wildcard pattern.
void removeFiles(const QString& folder, const QString& pattern);

bool fileExists(const QString& path);

}  // namespace zw
