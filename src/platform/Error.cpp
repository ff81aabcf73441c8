#include "platform/Error.h"

#include <cerrno>
#include <cstring>

namespace zw {

QString systemReason(int errnoValue) {
    switch (errnoValue) {
        case ENOENT:
            return QStringLiteral("Das System kann die angegebene Datei nicht finden.");
        case ENOTDIR:
            return QStringLiteral("Das System kann den angegebenen Pfad nicht finden.");
        case EACCES:
        case EPERM:
            return QStringLiteral("Zugriff verweigert.");
        case ENOSPC:
            return QStringLiteral("Auf dem Datenträger ist nicht genügend Speicherplatz vorhanden.");
        case EFBIG:
            return QStringLiteral("Die Datei ist zu groß für den Datenträger.");
        case EDQUOT:
            return QStringLiteral("Das Speicherkontingent ist erschöpft.");
        case EROFS:
            return QStringLiteral("Der Datenträger ist schreibgeschützt.");
        case EISDIR:
            return QStringLiteral("Der Name bezeichnet einen Ordner, keine Datei.");
        case ENAMETOOLONG:
            return QStringLiteral("Der Dateiname ist zu lang.");
        case EMFILE:
        case ENFILE:
            return QStringLiteral("Das System kann die Datei nicht öffnen.");
        case EIO:
            return QStringLiteral("E/A-Gerätefehler.");
        case EBUSY:
            return QStringLiteral("Die Datei wird von einem anderen Prozess verwendet.");
        case 0:
            return QStringLiteral("Unbekannter Fehler.");
        default:
            return QString::fromLocal8Bit(std::strerror(errnoValue));
    }
}

Error fileOpenError(const QString& path, int errnoValue) {
    return Error(
        QStringLiteral("Datei %1 kann nicht geöffnet werden. %2").arg(path, systemReason(errnoValue)));
}

Error fileCreateError(const QString& path, int errnoValue) {
    return fileCreateError(path, systemReason(errnoValue));
}

Error fileCreateError(const QString& path, const QString& reason) {
    return Error(QStringLiteral("Datei \"%1\" kann nicht erstellt werden. %2").arg(path, reason));
}

}  // namespace zw
