#pragma once

#include <QByteArray>
#include <QString>

#include "template/NewsletterTemplate.h"

namespace zw {

// The folders every command works with, each ending in "/" (the documents folder may be empty).
struct Folders {
    QString program;
    QString images;
    QString templates;
    QString documents;

    // Images and templates are fixed subfolders of the program folder.
    static Folders derive(const QString& programFolder, const QString& documentsFolder);
};

// The state of the template being edited that the main window holds and its commands share.
struct TemplateSession {
    Folders folders;
    QString CurrentTemplatePath;  // the template file being edited and written back
    QString SavePath;             // where save writes without asking; empty until a name is chosen
    bool Saved = true;            // no unsaved changes
    bool CloseAllowed = false;
    QByteArray EditorPicture;  // the picture of the block in the editor
    // The settings that live in setting fields rather than in edit fields: pictures, alignments,
    // colours. The texts of the edit fields are taken from the fields when the template is written.
    TemplateSettings settings;
};

}  // namespace zw
