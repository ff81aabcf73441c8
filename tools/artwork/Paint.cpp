#include "Paint.h"

#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QFontMetricsF>

#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>
#include <vector>

namespace art {

void Output::image(const QString& fileName, const QImage& img) const {
    QDir().mkpath(root + "/Images");
    saveJpeg(img, root + "/Images/" + fileName);
}

void Output::recom(const QString& fileName, const QImage& img) const {
    QDir().mkpath(root + "/recom");
    saveJpeg(img, root + "/recom/" + fileName);
}

QImage canvas(int w, int h, const QColor& bg) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(bg);
    return img;
}

void prepare(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

void saveJpeg(const QImage& source, const QString& path) {
    const QImage img = source.convertToFormat(QImage::Format_RGB888);
    FILE* f = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (!f) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, f);
    cinfo.image_width = static_cast<JDIMENSION>(img.width());
    cinfo.image_height = static_cast<JDIMENSION>(img.height());
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 90, TRUE);
    for (int i = 0; i < cinfo.num_components; ++i) {
        cinfo.comp_info[i].h_samp_factor = 1;
        cinfo.comp_info[i].v_samp_factor = 1;
    }
    cinfo.optimize_coding = TRUE;  // smaller Huffman tables; still a baseline file
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(img.constScanLine(static_cast<int>(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::fclose(f);
}

QFont font(const QString& family, qreal pixelSize, int weight, bool italic, qreal spacing) {
    QFont f(family);
    f.setFamilies({family, "Liberation Sans", "DejaVu Sans"});
    f.setPixelSize(qRound(pixelSize));
    f.setWeight(static_cast<QFont::Weight>(weight));
    f.setItalic(italic);
    f.setHintingPreference(QFont::PreferNoHinting);
    if (spacing != 0)
        f.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
    return f;
}

void text(QPainter& p, const QRectF& r, const QString& s, const QFont& f, const QColor& c, int flags) {
    if (textWidth(s, f) > r.width() + 0.5)
        std::fprintf(stderr, "text too wide (%.0f > %.0f): %s\n", textWidth(s, f), r.width(), qPrintable(s));
    p.save();
    p.setFont(f);
    p.setPen(c);
    p.drawText(r, flags, s);
    p.restore();
}

qreal textWidth(const QString& s, const QFont& f) {
    return QFontMetricsF(f).horizontalAdvance(s);
}

QColor alpha(const QColor& c, int a) {
    QColor r = c;
    r.setAlpha(a);
    return r;
}

QColor mix(const QColor& a, const QColor& b, qreal t) {
    return QColor::fromRgbF(static_cast<float>(a.redF() + (b.redF() - a.redF()) * t),
                            static_cast<float>(a.greenF() + (b.greenF() - a.greenF()) * t),
                            static_cast<float>(a.blueF() + (b.blueF() - a.blueF()) * t));
}

}  // namespace art
