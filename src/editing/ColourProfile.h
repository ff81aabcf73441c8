#pragma once

#include <QByteArray>

#include <memory>

namespace zw {

// Brings the colours of a picture to sRGB, the colours every mail program assumes for the JPEG copy
// (which carries no profile). A phone's HEIC photo is often in Display P3, a designer's PNG may carry
// a profile of its own; without the conversion their colours would look washed out or too strong.
class ColourConversion {
public:
    ~ColourConversion();
    ColourConversion(const ColourConversion&) = delete;
    ColourConversion& operator=(const ColourConversion&) = delete;

    // From an embedded ICC profile. None when it is not a profile of RGB pixels or cannot be read: the
    // picture is then taken as sRGB, as a browser takes it.
    static std::shared_ptr<const ColourConversion> fromIcc(const QByteArray& icc, bool alpha);

    // From the chromaticities of the three primaries and the white point, and an ITU-T H.273 transfer
    // code, as HEIF's colour box gives them. None when they are sRGB's own.
    struct Primaries {
        double redX, redY, greenX, greenY, blueX, blueY, whiteX, whiteY;
    };
    static std::shared_ptr<const ColourConversion> fromPrimaries(const Primaries& primaries, int transfer,
                                                                 bool alpha);

    // Pixels of 3 (RGB) or 4 (RGBA, the alpha copied) bytes, as the conversion was made for.
    void apply(const unsigned char* in, unsigned char* out, int pixels) const;

private:
    explicit ColourConversion(void* transform) : transform_(transform) {}
    // Takes the profile over and closes it.
    static std::shared_ptr<const ColourConversion> fromProfile(void* profile, bool alpha);
    void* transform_;
};

}  // namespace zw
