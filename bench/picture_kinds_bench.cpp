// The picture commands on the kinds users have besides JPEG, each the whole command as the user runs
// it, beside Debian's programs doing the same steps one after the other:
// - a phone's 12-megapixel HEIC photo (Display P3) chosen for a news block and scaled to 150 pixels,
//   against heif-convert (libheif's own program) writing the decoded picture, a nearest-neighbour
//   scale of it to 150 pixels, then cjpeg -quality 95 and cjpeg -quality 80;
// - a 2000 x 2000 PNG logo with transparent parts chosen as the head logo, against pngtopnm -mix
//   (laying it onto white) then cjpeg -quality 80.
// libheif decodes in threads of its own: the CPU column of our side counts the whole process.
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>

#include <optional>
#include <stdexcept>

#include "PictureBenchSupport.h"
#include "editing/PictureChooser.h"
#include "editing/PicturePipeline.h"
#include "platform/FileIo.h"
#include "platform/Prompts.h"
#include "template/Session.h"

namespace zw {
namespace {

// The open dialog and the width question, answered.
class Answers : public Prompts {
public:
    QString picture;
    std::optional<int> width;
    void information(const QString&) override {}
    void error(const QString&) override {}
    CloseAnswer askSaveChanges() override { return CloseAnswer::Cancel; }
    QString chooseTemplateToOpen(const QString&) override { return {}; }
    QString chooseTemplateSaveName(const QString&, const QString&) override { return {}; }
    QString choosePicture() override { return picture; }
    bool askResizeWidth(int& resizeWidth) override {
        if (width)
            resizeWidth = *width;
        return width.has_value();
    }
};

struct Pictures {
    QTemporaryDir dir;
    QString heic, png;
    TemplateSession session;

    Pictures() {
        if (!dir.isValid())
            throw std::runtime_error("no temporary folder");
        session.folders.images = dir.filePath(u"Images/"_qs);
        QDir().mkpath(session.folders.images);
        session.settings.BKGColor = "#FFFFFF";
        // As a phone writes it: HEVC, quality 85, Display P3 primaries with sRGB's curve. x265's
        // fastest preset only shortens the making of the file.
        heic = dir.filePath(u"IMG_0001.heic"_qs);
        if (!runProgram(u"heif-enc"_qs, {u"-q"_qs, u"85"_qs, u"-p"_qs, u"preset=ultrafast"_qs,
                                        u"--colour_primaries"_qs, u"12"_qs, u"--transfer_characteristic"_qs,
                                        u"13"_qs, u"-o"_qs, heic, benchPhotoPath()}))
            heic.clear();
        png = dir.filePath(u"Logo.png"_qs);
        makeLogo().save(png, "PNG");
    }

    // A club's logo: a coloured disc with a ring and a bar, soft edges, transparent around them.
    static QImage makeLogo() {
        QImage logo(2000, 2000, QImage::Format_ARGB32);
        logo.fill(Qt::transparent);
        QPainter p(&logo);
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(QColor(20, 90, 160));
        p.setPen(QPen(QColor(230, 180, 20), 60));
        p.drawEllipse(QPointF(1000, 1000), 900, 900);
        p.setBrush(QColor(255, 255, 255, 200));
        p.setPen(Qt::NoPen);
        p.drawRoundedRect(QRectF(300, 850, 1400, 300), 80, 80);
        return logo;
    }
    QString file(const char* name) const { return dir.filePath(QLatin1String(name)); }
};

Pictures& pictures() {
    static Pictures p;
    return p;
}

void choose(PictureSlot slot, const QString& path, std::optional<int> width) {
    Answers answers;
    answers.picture = path;
    answers.width = width;
    ChoosePicture(slot, answers, pictures().session);
}

void BM_ChooseHeicPhotoScaledTo150(benchmark::State& state) {
    Pictures& p = pictures();
    if (p.heic.isEmpty()) {
        state.SkipWithError("heif-enc failed (Debian: libheif-examples)");
        return;
    }
    for (auto _ : state) choose(PictureSlot::BlockPicture, p.heic, 150);
}
BENCHMARK(BM_ChooseHeicPhotoScaledTo150)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

// The 150-pixel RGB picture (a binary PPM) of a YUV4MPEG2 frame in 4:2:0 with JPEG's full-range
// colours, as heif-convert writes it: the pixel under each target pixel's centre.
void scaleY4mToPpm(const QString& from, const QString& to, int W) {
    const QByteArray in = readFile(from);
    const qsizetype frame = in.indexOf("FRAME\n");
    int w = 0, h = 0;
    for (const QByteArray& field : in.left(in.indexOf('\n')).split(' ')) {
        if (field.startsWith('W'))
            w = field.mid(1).toInt();
        else if (field.startsWith('H'))
            h = field.mid(1).toInt();
    }
    if (frame < 0 || w <= 0 || h <= 0)
        throw std::runtime_error("not a YUV4MPEG2 frame");
    const auto* y4m = reinterpret_cast<const unsigned char*>(in.constData() + frame + 6);
    const int cw = (w + 1) / 2, ch = (h + 1) / 2;
    const unsigned char* cb = y4m + size_t(w) * size_t(h);
    const unsigned char* cr = cb + size_t(cw) * size_t(ch);
    const int H = scaledHeight(W, QSize(w, h));
    QByteArray out = QStringLiteral("P6\n%1 %2\n255\n").arg(W).arg(H).toLatin1();
    const std::vector<int> xs = centreSamples(W, w), ys = centreSamples(H, h);
    for (int ty = 0; ty < H; ++ty) {
        for (int tx = 0; tx < W; ++tx) {
            const int x = xs[size_t(tx)], y = ys[size_t(ty)];
            const double Y = y4m[size_t(y) * size_t(w) + size_t(x)];
            const double U = cb[size_t(y / 2) * size_t(cw) + size_t(x / 2)] - 128.0;
            const double V = cr[size_t(y / 2) * size_t(cw) + size_t(x / 2)] - 128.0;
            for (const double c : {Y + 1.402 * V, Y - 0.344136 * U - 0.714136 * V, Y + 1.772 * U})
                out.append(char(std::clamp(int(c + 0.5), 0, 255)));
        }
    }
    writeWorkingFile(to, out);
}

void BM_Floor_HeifConvert_Scale_Cjpeg95_Cjpeg80(benchmark::State& state) {
    Pictures& p = pictures();
    if (p.heic.isEmpty() || !havePrograms(state, {u"heif-convert"_qs, u"cjpeg"_qs}, "libheif-examples"))
        return;
    const QString y4m = p.file("photo.y4m"), small = p.file("small.ppm");
    const double before = childCpuSeconds();
    for (auto _ : state) {
        const bool ok =
            runProgram(u"heif-convert"_qs, {u"--quiet"_qs, p.heic, y4m}) && (scaleY4mToPpm(y4m, small, 150), true) &&
            runProgram(u"cjpeg"_qs, {u"-quality"_qs, u"95"_qs, u"-outfile"_qs, p.file("s95.jpg"), small}) &&
            runProgram(u"cjpeg"_qs, {u"-quality"_qs, u"80"_qs, u"-outfile"_qs, p.file("s80.jpg"), small});
        if (!ok)
            state.SkipWithError("heif-convert/cjpeg failed");
    }
    reportChildCpu(state, before);
}
BENCHMARK(BM_Floor_HeifConvert_Scale_Cjpeg95_Cjpeg80)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ChoosePngLogo(benchmark::State& state) {
    Pictures& p = pictures();
    for (auto _ : state) choose(PictureSlot::HeadLogo, p.png, std::nullopt);
}
BENCHMARK(BM_ChoosePngLogo)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

void BM_Floor_Pngtopnm_Cjpeg80(benchmark::State& state) {
    Pictures& p = pictures();
    if (!havePrograms(state, {u"pngtopnm"_qs, u"cjpeg"_qs}, "netpbm"))
        return;
    const QString ppm = p.file("logo.ppm");
    const double before = childCpuSeconds();
    for (auto _ : state) {
        QProcess pngtopnm;
        pngtopnm.setStandardOutputFile(ppm);
        pngtopnm.start(u"pngtopnm"_qs, {u"-mix"_qs, u"-background=#FFFFFF"_qs, p.png});
        const bool ok = pngtopnm.waitForFinished(-1) && pngtopnm.exitCode() == 0 &&
                        runProgram(u"cjpeg"_qs, {u"-quality"_qs, u"80"_qs, u"-outfile"_qs, p.file("logo.jpg"), ppm});
        if (!ok)
            state.SkipWithError("pngtopnm/cjpeg failed");
    }
    reportChildCpu(state, before);
}
BENCHMARK(BM_Floor_Pngtopnm_Cjpeg80)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace zw
