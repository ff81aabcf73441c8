#include "render/Base64.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include "platform/Error.h"

namespace zw {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// The two characters of every 12-bit value: a group of 3 bytes takes two look-ups instead of four,
// which nearly halves the time spent on the pictures of a message.
struct CharacterPairs {
    char pair[4096][2];
};
constexpr CharacterPairs kPairs = [] {
    CharacterPairs table{};
    for (int i = 0; i < 4096; ++i) {
        table.pair[i][0] = kAlphabet[i >> 6];
        table.pair[i][1] = kAlphabet[i & 63];
    }
    return table;
}();

inline void encodeGroup(const unsigned char* in, char* out) {
    const unsigned bits = (unsigned(in[0]) << 16) | (unsigned(in[1]) << 8) | unsigned(in[2]);
    std::memcpy(out, kPairs.pair[bits >> 12], 2);
    std::memcpy(out + 2, kPairs.pair[bits & 4095], 2);
}

QString deviceName(const QIODevice& device) {
    if (auto* file = qobject_cast<const QFileDevice*>(&device))
        return QDir::toNativeSeparators(file->fileName());
    return QString();
}

// QIODevice::read may deliver less than asked before the end; the block layout needs full blocks.
qsizetype readBlock(QIODevice& input, char* buffer, qsizetype size) {
    qsizetype total = 0;
    while (total < size) {
        errno = 0;
        const qint64 got = input.read(buffer + total, size - total);
        if (got < 0)
            throw fileOpenError(deviceName(input), errno ? errno : EIO);
        if (got == 0)
            break;
        total += got;
    }
    return total;
}

// Opens a file to encode; a missing file, a folder or one that cannot be read raise the file-open error.
void openInput(QFile& input, QIODevice::OpenMode mode) {
    const QString path = input.fileName();
    errno = 0;
    if (path.isEmpty() || QFileInfo(path).isDir() || !input.open(mode)) {
        int err = errno ? errno : ENOENT;
        if (QFileInfo(path).isDir())
            err = EISDIR;
        throw fileOpenError(QDir::toNativeSeparators(path), err);
    }
}

void writeAll(QIODevice& output, const char* data, qsizetype size) {
    errno = 0;
    if (output.write(data, size) != size)
        throw fileCreateError(deviceName(output), errno ? errno : ENOSPC);
}

// The output is overwritten in place rather than truncated at open: it is rewritten at every rendering,
// and file systems that flush a file emptied and rewritten at once (ext4) would make each rendering
// wait for the disk.
void openOutput(QFile& output) {
    errno = 0;
    const bool folder = QFileInfo(output.fileName()).isDir();
    if (folder || !output.open(QIODevice::ReadWrite)) {
        const int err = folder ? EISDIR : errno ? errno : EACCES;
        throw fileCreateError(QDir::toNativeSeparators(output.fileName()), err);
    }
}

}  // namespace

qsizetype Base64EncodeLines(const char* bytes, qsizetype count, char* out) {
    const auto* in = reinterpret_cast<const unsigned char*>(bytes);
    char* start = out;
    for (qsizetype groups = count / kBase64GroupBytes; groups > 0; --groups) {
        for (int i = 0; i < kBase64GroupBytes; i += 3, in += 3, out += 4) encodeGroup(in, out);
        *out++ = '\r';
        *out++ = '\n';
    }
    return out - start;
}

qsizetype Base64EncodeRest(const char* bytes, qsizetype count, char* out) {
    const auto* in = reinterpret_cast<const unsigned char*>(bytes);
    char* start = out;
    for (; count >= 3; count -= 3, in += 3, out += 4) encodeGroup(in, out);
    if (count == 1) {
        const unsigned bits = unsigned(in[0]) << 4;
        *out++ = kAlphabet[(bits >> 6) & 63];
        *out++ = kAlphabet[bits & 63];
        *out++ = '=';
        *out++ = '=';
    } else if (count == 2) {
        const unsigned bits = (unsigned(in[0]) << 10) | (unsigned(in[1]) << 2);
        *out++ = kAlphabet[(bits >> 12) & 63];
        *out++ = kAlphabet[(bits >> 6) & 63];
        *out++ = kAlphabet[bits & 63];
        *out++ = '=';
    }
    return out - start;
}

qsizetype Base64EncodedLength(qsizetype n) {
    if (n <= 0)
        return 0;
    return 4 * ((n + 2) / 3) + 2 * ((n - 1) / kBase64GroupBytes);
}

void Base64EncodeStream(QIODevice& input, QIODevice& output) {
    char in[kBase64InputBlock];
    char out[kBase64OutputBlock];
    qsizetype n = readBlock(input, in, kBase64InputBlock);
    while (n == kBase64InputBlock) {
        Base64EncodeLines(in, n, out);
        writeAll(output, out, kBase64OutputBlock);
        n = readBlock(input, in, kBase64InputBlock);
    }
    const qsizetype lines = Base64EncodeLines(in, n, out);
    const qsizetype whole = n / kBase64GroupBytes * kBase64GroupBytes;
    Base64EncodeRest(in + whole, n - whole, out + lines);
    // The last line of the picture gets no line end: only the encoded length is written.
    writeAll(output, out, Base64EncodedLength(n));
}

void Base64CheckInput(const QString& inputPath) {
    QFile input(inputPath);
    openInput(input, QIODevice::ReadOnly | QIODevice::Unbuffered);
}

void Base64EncodeFileLines(const QString& inputPath, QIODevice& output) {
    QFile input(inputPath);
    // Unbuffered: the blocks are large, a second copy through the device's buffer would only cost.
    openInput(input, QIODevice::ReadOnly | QIODevice::Unbuffered);
    // 512 lines per block: few system calls, and both buffers stay in the processor's cache.
    constexpr qsizetype kLines = 512;
    char in[kLines * kBase64GroupBytes];
    char out[kLines * (kBase64LineChars + 2)];
    for (;;) {
        const qsizetype n = readBlock(input, in, sizeof in);
        qsizetype length = Base64EncodeLines(in, n, out);
        const qsizetype whole = n / kBase64GroupBytes * kBase64GroupBytes;
        if (n > whole) {
            length += Base64EncodeRest(in + whole, n - whole, out + length);
            out[length++] = '\r';
            out[length++] = '\n';
        }
        if (length > 0)
            writeAll(output, out, length);
        if (n < qsizetype(sizeof in))
            return;
    }
}

void Base64CheckOutput(const QString& outputPath) {
    QFile output(outputPath);
    openOutput(output);
}

void Base64EncodeFile(const QString& inputPath, const QString& outputPath) {
    QFile input(inputPath);
    openInput(input, QIODevice::ReadOnly);
    QFile output(outputPath);
    openOutput(output);
    Base64EncodeStream(input, output);
    // Buffered bytes that cannot be written show up only here (a full disk, for instance).
    errno = 0;
    if (!output.flush())
        throw fileCreateError(QDir::toNativeSeparators(outputPath), errno ? errno : ENOSPC);
    const qint64 written = output.pos();
    errno = 0;
    if (output.size() > written && !output.resize(written))
        throw fileCreateError(QDir::toNativeSeparators(outputPath), errno ? errno : EIO);
}

}  // namespace zw
