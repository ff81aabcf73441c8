#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace zw {

// What the about box shows; fixed from start-up on.
struct AboutTexts {
    QString productTitle;
    QString versionText;
    QString copyright;
    QString webText;
    QString mail;
    QString picturePath;
};

// The about box: picture, product, version, copyright and the maker's addresses.
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(const AboutTexts& texts, QWidget* parent = nullptr);

    QLabel* Image1 = nullptr;
    QLabel* ProductName = nullptr;
    QLabel* VersionLabel = nullptr;
    QLabel* Copyright = nullptr;
    QLabel* URLLabel = nullptr;
    QLabel* EmailLabel = nullptr;
    QPushButton* UpdateButton = nullptr;
    QPushButton* OKButton = nullptr;

Q_SIGNALS:
    void updateClicked();
    void urlClicked();
    void emailClicked();
};

// The copyright notice built from the maker's name.
QString copyrightNotice(const QString& makerName);

}  // namespace zw
