#pragma once

#include <QString>

namespace zw {

class PicturePane;

// What the picture dialog shows of the file selected in it: JPEG and PNG files as the toolkit reads
// them, HEIF and WebP pictures (which it cannot read) through the picture pipeline, upright. A file that
// cannot be read shows as not found.
void showChosenPicture(PicturePane& pane, const QString& path);

}  // namespace zw
