#pragma once

#include <QString>

namespace zw {

struct Folders;

// The product's texts and the file names of its own pictures, filled once at start-up.
struct ProductBranding {
    QString productTitle = QStringLiteral("Zettelwerk pro");
    QString makerName = QStringLiteral("VELTRAK");
    QString versionText;  // first line of "Ver.ini"
    QString headPictureFile = QStringLiteral("kopf.jpg");
    QString aboutPictureFile = QStringLiteral("about.jpg");
    QString helpFile = QStringLiteral("help.html");
    QString makerWebText = QStringLiteral("www.veltrak.example");
    QString makerMail = QStringLiteral("info@veltrak.example");
    QString productWebPage = QStringLiteral("https://www.veltrak.example/zettelwerk");
    QString serialMailWebPage = QStringLiteral("https://www.ventoza.example");

    static ProductBranding load(const Folders& folders);
};

}  // namespace zw
