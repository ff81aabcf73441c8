#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

namespace zw {

class Prompts;
struct TemplateSession;

// The four pictures a user chooses: three graphics of the template and the block picture.
enum class PictureSlot { HeadLogo, NewsSeparator, ImprintSeparator, BlockPicture };

// Runs the long picture work, e.g. behind the hourglass.
using BusyRunner = std::function<void(const std::function<void()>&)>;

// Choosing a picture: the open dialog; the template counts as changed from then on, also when the
// picture turns out unusable; the chosen file (JPEG, PNG, HEIF or WebP, told by its first bytes) is read
// to its end; the copy is made in a working file beside the copy, scaled when the user answers the
// width question (block pictures only) and always re-encoded, transparent parts laid onto the
// template's background colour, and only then replaces the copy; at last the setting takes the stored
// path. Returns the copy to show, or an empty string when the dialog was cancelled. Any failure throws
// (as a German message, running out of memory too) and leaves the previous copy and the setting as they
// were. otherPictures are the stored paths of every other picture of the template: a copy they use is
// never overwritten (see unsharedPictureNames).
QString ChoosePicture(PictureSlot slot, Prompts& prompts, TemplateSession& session,
                      const BusyRunner& busy = {}, const QList<QByteArray>& otherPictures = {});

}  // namespace zw
