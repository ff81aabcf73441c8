#include "editing/ColourProfile.h"

#include <lcms2.h>

#include <cmath>

namespace zw {

namespace {

struct ProfileClose {
    void operator()(void* profile) const { cmsCloseProfile(profile); }
};
using Profile = std::unique_ptr<void, ProfileClose>;

// The tone curve of an H.273 transfer code. The video curves (BT.709, BT.601, BT.2020) are shown as
// sRGB's, as browsers show still pictures; so are the HDR curves, which this copy cannot keep anyway.
cmsToneCurve* transferCurve(int transfer) {
    switch (transfer) {
        case 4:
            return cmsBuildGamma(nullptr, 2.2);
        case 5:
            return cmsBuildGamma(nullptr, 2.8);
        case 8:
            return cmsBuildGamma(nullptr, 1.0);
        default: {
            const cmsFloat64Number srgb[5] = {2.4, 1 / 1.055, 0.055 / 1.055, 1 / 12.92, 0.04045};
            return cmsBuildParametricToneCurve(nullptr, 4, srgb);
        }
    }
}

bool isSrgb(const ColourConversion::Primaries& p, int transfer) {
    const double srgb[8] = {0.64, 0.33, 0.30, 0.60, 0.15, 0.06, 0.3127, 0.3290};
    const double given[8] = {p.redX, p.redY, p.greenX, p.greenY, p.blueX, p.blueY, p.whiteX, p.whiteY};
    for (int i = 0; i < 8; ++i)
        if (std::abs(srgb[i] - given[i]) > 0.002)
            return false;
    return transfer != 4 && transfer != 5 && transfer != 8;
}

}  // namespace

std::shared_ptr<const ColourConversion> ColourConversion::fromProfile(void* source, bool alpha) {
    const Profile from(source);
    const Profile srgb(cmsCreate_sRGBProfile());
    if (!from || !srgb)
        return nullptr;
    const cmsUInt32Number format = alpha ? TYPE_RGBA_8 : TYPE_RGB_8;
    void* transform = cmsCreateTransform(from.get(), format, srgb.get(), format, INTENT_PERCEPTUAL,
                                         alpha ? cmsFLAGS_COPY_ALPHA : 0);
    return transform ? std::shared_ptr<const ColourConversion>(new ColourConversion(transform)) : nullptr;
}

ColourConversion::~ColourConversion() {
    cmsDeleteTransform(transform_);
}

std::shared_ptr<const ColourConversion> ColourConversion::fromIcc(const QByteArray& icc, bool alpha) {
    cmsHPROFILE profile = cmsOpenProfileFromMem(icc.constData(), cmsUInt32Number(icc.size()));
    if (profile && cmsGetColorSpace(profile) != cmsSigRgbData) {
        cmsCloseProfile(profile);
        return nullptr;
    }
    return fromProfile(profile, alpha);
}

std::shared_ptr<const ColourConversion> ColourConversion::fromPrimaries(const Primaries& p, int transfer,
                                                                        bool alpha) {
    if (isSrgb(p, transfer) || p.whiteY <= 0 || p.redY <= 0 || p.greenY <= 0 || p.blueY <= 0)
        return nullptr;
    const cmsCIExyY white{p.whiteX, p.whiteY, 1.0};
    const cmsCIExyYTRIPLE primaries{{p.redX, p.redY, 1.0}, {p.greenX, p.greenY, 1.0}, {p.blueX, p.blueY, 1.0}};
    cmsToneCurve* curve = transferCurve(transfer);
    if (!curve)
        return nullptr;
    cmsToneCurve* curves[3] = {curve, curve, curve};
    cmsHPROFILE profile = cmsCreateRGBProfile(&white, &primaries, curves);
    cmsFreeToneCurve(curve);
    return fromProfile(profile, alpha);
}

void ColourConversion::apply(const unsigned char* in, unsigned char* out, int pixels) const {
    cmsDoTransform(transform_, in, out, cmsUInt32Number(pixels));
}

}  // namespace zw
