#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include "template/NewsletterTemplate.h"

namespace zw {

// The block edit files "Temp001.edt", "Temp002.edt", ... in the program folder: one file per news
// block of the template being edited, five lines each.
class BlockFiles {
public:
    explicit BlockFiles(QString folder);

    static QString fileName(int number);
    QString path(int number) const;
    const QString& folder() const { return folder_; }

    // Deletes every "*.edt" file of the folder.
    void clear() const;
    // The block edit files in ascending order of their names, which is block order.
    QStringList list() const;

    void write(int number, const QList<QByteArray>& lines) const;
    void remove(int number) const;
    // The lines of one block file for the editor, verbatim; missing lines (the momentary empty file of
    // a new block) read as empty, so there are always at least five.
    QList<QByteArray> readForEditor(int number) const;

    // One block for the renderer: the first five lines, each trimmed. A file with fewer lines stops
    // the rendering with "Listenindex überschreitet das Maximum (%d)".
    static NewsBlock readForRendering(const QString& path);

private:
    QString folder_;
};

}  // namespace zw
