#include "menu/MenuIcons.h"

#include <QAction>
#include <QApplication>
#include <QIcon>
#include <QStyle>
#include <QWidget>

namespace zw {

namespace {

struct MenuIcon {
    const char* caption;
    const char* themeName;
    QStyle::StandardPixmap fallback;
};
constexpr MenuIcon kMenuIcons[] = {
    {"Neue Vorlage", "document-new", QStyle::SP_FileIcon},
    {"Vorlage öffnen", "document-open", QStyle::SP_DialogOpenButton},
    {"Vorlage speichern", "document-save", QStyle::SP_DialogSaveButton},
    {"Vorlage speichern unter", "document-save-as", QStyle::SP_DriveFDIcon},
    {"Absender und Server…", "preferences-system", QStyle::SP_FileDialogDetailedView},
    {"Testmail an mich senden", "mail-send", QStyle::SP_ArrowForward},
    {"Newsletter versenden…", "mail-send-receive", QStyle::SP_ArrowRight},
    {"Versandberichte…", "document-properties", QStyle::SP_FileDialogInfoView},
    {"Hilfedatei", "help-contents", QStyle::SP_MessageBoxQuestion},
    {"Update", "system-software-update", QStyle::SP_BrowserReload},
    {"Info", "help-about", QStyle::SP_MessageBoxInformation},
};

}  // namespace

void applyMenuIcons(QWidget* window) {
    QStyle* style = QApplication::style();
    for (QAction* action : window->findChildren<QAction*>()) {
        if (!action->icon().isNull())
            continue;
        const QString caption = QString(action->text()).remove(u'&');
        for (const MenuIcon& icon : kMenuIcons) {
            if (caption == QString::fromUtf8(icon.caption)) {
                action->setIcon(
                    QIcon::fromTheme(QLatin1String(icon.themeName), style->standardIcon(icon.fallback)));
                break;
            }
        }
    }
}

}  // namespace zw
