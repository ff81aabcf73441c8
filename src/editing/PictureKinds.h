#pragma once

#include <QByteArray>

#include "platform/Error.h"

namespace zw {

// The kinds of picture a user may choose. Each becomes the baseline JPEG copy that the message sends.
enum class PictureKind { Jpeg, Png, Heif, WebP, Unknown };

// Decided by the first bytes alone: a PNG named "Logo.jpg" is a PNG.
PictureKind pictureKind(const QByteArray& bytes);

// What a file of none of the kinds is told, naming the kinds Zettelwerk takes.
Error unknownPictureError();

}  // namespace zw
