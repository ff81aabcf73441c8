#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace zw {

// Reads a whole file; throws the German file-open error when it cannot be read.
QByteArray readFile(const QString& path);

// Replaces the file at path with bytes in one step: either the new content is complete on disk or the
// old file is untouched. Throws the German file-create error on any failure (a full disk included).
void writeFileAtomic(const QString& path, const QByteArray& bytes);

// The same replacement without waiting for the disk: for the block edit files, which are working
// copies rebuilt from the template by the hundred. A crash may lose them, never half-write them.
void writeWorkingFile(const QString& path, const QByteArray& bytes);

// A file being written lies beside its target under the target's name + this suffix until it is
// complete and renamed; a crash may leave one behind.
inline constexpr char kInterruptedWriteSuffix[] = ".part";
// Removes what interrupted writes left in the program folder and its images folder. Only for the one
// running copy of the program, at its start: another copy's writes would be cut short.
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
