#include "send/CurlTls.h"

#include <QFile>

#include <cstring>

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

QString certificateReason(CURL* curl, const char* errorText, const QString& host) {
    long verifyResult = 0;
    curl_easy_getinfo(curl, CURLINFO_SSL_VERIFYRESULT, &verifyResult);
    // libcurl checks the host name itself, after OpenSSL checked the chain, and says so only in words.
    if (std::strstr(errorText, "target host name"))
        verifyResult = -1;
    switch (verifyResult) {
        case -1:
            return QStringLiteral("Es ist für einen anderen Servernamen als \"%1\" ausgestellt.").arg(host);
        case 9:  // X509_V_ERR_CERT_NOT_YET_VALID
            return QStringLiteral("Es ist noch nicht gültig.");
        case 10:  // X509_V_ERR_CERT_HAS_EXPIRED
            return QStringLiteral("Es ist abgelaufen.");
        case 2:   // X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT
        case 18:  // X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT
        case 19:  // X509_V_ERR_SELF_SIGNED_CERT_IN_CHAIN
        case 20:  // X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT_LOCALLY
        case 21:  // X509_V_ERR_UNABLE_TO_VERIFY_LEAF_SIGNATURE
            return QStringLiteral("Es stammt von keiner bekannten Zertifizierungsstelle.");
        default:
            return QString::fromUtf8(errorText);
    }
}

}  // namespace zw::send
