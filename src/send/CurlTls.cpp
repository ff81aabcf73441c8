#include "send/CurlTls.h"

#include <QFile>

namespace zw::send {

QString requireCheckedTls(CURL* curl, Security security, const QString& caFile) {
    // The system's certificate store stays in force beside an in-house CA: libcurl takes either a CA
    // file or a CA blob, so the blob holds the system bundle followed by the extra file.
    QByteArray authorities;
    if (!caFile.isEmpty()) {
        QFile extra(caFile);
        if (!extra.open(QIODevice::ReadOnly))
            return QStringLiteral("Die Zertifikatsdatei \"%1\" kann nicht gelesen werden.").arg(caFile);
        char* systemBundle = nullptr;
        curl_easy_getinfo(curl, CURLINFO_CAINFO, &systemBundle);
        if (systemBundle) {
            QFile bundle(QString::fromLocal8Bit(systemBundle));
            if (bundle.open(QIODevice::ReadOnly))
                authorities = bundle.readAll() + '\n';
        }
        authorities += extra.readAll();
    }
    if (security != Security::None)
        curl_easy_setopt(curl, CURLOPT_USE_SSL, long(CURLUSESSL_ALL));
    curl_easy_setopt(curl, CURLOPT_SSLVERSION, long(CURL_SSLVERSION_TLSv1_2));
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!authorities.isEmpty()) {
        curl_blob blob{authorities.data(), size_t(authorities.size()), CURL_BLOB_COPY};
        curl_easy_setopt(curl, CURLOPT_CAINFO_BLOB, &blob);
    }
    return {};
}

}  // namespace zw::send
