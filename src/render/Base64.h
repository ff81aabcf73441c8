#pragma once

#include <QIODevice>
#include <QString>

namespace zw {

// Base64 of RFC 2045 with the line layout of the picture parts: 76 characters (57 input bytes) per
// line, lines separated by CR LF, no line end after the very last line.
inline constexpr qsizetype kBase64GroupBytes = 57;
inline constexpr qsizetype kBase64LineChars = 76;
// The encoder's two fixed buffers: 48 groups in, 48 lines of 78 characters out.
inline constexpr qsizetype kBase64InputBlock = 48 * kBase64GroupBytes;        // 2,736
inline constexpr qsizetype kBase64OutputBlock = 48 * (kBase64LineChars + 2);  // 3,744

// Encodes the whole 57-byte groups at the start of bytes, each as 76 characters and CR LF. Returns the
// number of characters written (nothing below 57 bytes).
qsizetype Base64EncodeLines(const char* bytes, qsizetype count, char* out);
// Encodes count bytes as 4 characters per 3 bytes, the last group filled up with "=", no line end.
// Returns the number of characters written.
qsizetype Base64EncodeRest(const char* bytes, qsizetype count, char* out);
// What the two produce for n bytes when the line end after the last line is left out.
qsizetype Base64EncodedLength(qsizetype n);

// Encodes from the current position of input to its end. Read failures raise the file-open error,
// failed or short writes the file-create error, each naming the file behind the device.
void Base64EncodeStream(QIODevice& input, QIODevice& output);
// Encodes the bytes of one file into another, replacing it.
void Base64EncodeFile(const QString& inputPath, const QString& outputPath);

// Raises the file-open error that encoding the file would raise, without reading it.
void Base64CheckInput(const QString& inputPath);
// Fails as Base64EncodeFile fails when its output cannot be written; the file's content stays.
void Base64CheckOutput(const QString& outputPath);
// The base64 text of a whole file as a picture part carries it: lines of 76 characters, every line
// (the last one included) ended by CR LF, nothing for an empty file. Written straight into output in
// large blocks; failures raise the errors of Base64EncodeStream.
void Base64EncodeFileLines(const QString& inputPath, QIODevice& output);

}  // namespace zw
