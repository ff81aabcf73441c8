// Rendering a large newsletter (200 blocks, each with its own 250 KB picture) beside its floor: the same
// picture bytes base64-encoded into one file with 76-character lines and nothing else. The rendering
// also reports its peak memory growth against the size of the message it writes.
// The files go to a temporary folder under TMPDIR.
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <stdexcept>

#include "SilentPrompts.h"
#include "render/Base64.h"
#include "render/RenderMessage.h"
#include "template/BlockFiles.h"

namespace zw {
namespace {

constexpr int kBlocks = 200;
constexpr int kPictureBytes = 250 * 1024;
constexpr int kSettingPictureBytes = 8 * 1024;

void writeRandom(const QString& path, int size) {
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator generator(qHash(path));
    generator.fillRange(reinterpret_cast<quint32*>(bytes.data()), size / 4);
    bytes.replace(0, 3, "\xFF\xD8\xFF");  // a JPEG's first bytes: only pictures go into a message
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != size)
        throw std::runtime_error("cannot write picture");
}

// One program folder with the block edit files and pictures, made once for every benchmark.
struct LargeTemplate {
    QTemporaryDir dir;
    RenderInput input;
    QStringList picturesInPartOrder;

    LargeTemplate() {
        const QString work = dir.path() + u'/';
        const QString images = work + QStringLiteral("Images/");
        QDir().mkpath(images);
        const QByteArray stored = images.toUtf8();
        input.subject = "Vereinsnachrichten M\xE4rz";
        input.titel1 = "Liebe Mitglieder";
        input.titel2 = "Neues aus dem Verein";
        input.dateText = "Stand:";
        input.dateDisplay = "07.12.2026";
        input.kopfLogo = stored + "kopf.jpg";
        input.seperatorNews = stored + "trenner.jpg";
        input.seperatorImpressum = stored + "fuss.jpg";
        input.logoAlign = input.seperatorAlign = input.impressumAlign = "center";
        input.textColor = "#000000";
        input.linkColor = input.bkgColor = "#0000FF";
        input.impressumText = "Turnverein e.V.";
        input.impressumMailTo = "info@example.org";
        input.impressumUrl = "www.example.org";
        input.workFolder = work;
        input.imagesFolder = images;
        for (const char* name : {"kopf.jpg", "trenner.jpg", "fuss.jpg"})
            writeRandom(images + QLatin1String(name), kSettingPictureBytes);

        const BlockFiles files(work);
        picturesInPartOrder.append(images + "kopf.jpg");
        for (int k = 1; k <= kBlocks; ++k) {
            const QByteArray picture = "bild" + QByteArray::number(k) + ".jpg";
            writeRandom(images + QString::fromLatin1(picture), kPictureBytes);
            files.write(k,
                        {"Meldung " + QByteArray::number(k), "C:\\Bilder\\" + picture, "Mehr dazu",
                         "www.example.org/meldung?nr=" + QByteArray::number(k),
                         "Ein Text mit <b>Auszeichnung</b> und genug Worten, dass er umbrochen wird, wie es "
                         "Meldungen meistens sind."});
            picturesInPartOrder.append(images + "trenner.jpg");
            picturesInPartOrder.append(images + QString::fromLatin1(picture));
        }
        picturesInPartOrder.append(images + "fuss.jpg");
    }
};

LargeTemplate& largeTemplate() {
    static LargeTemplate instance;
    return instance;
}

qint64 statusKilobytes(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

// Lets VmHWM start again from the current resident size (Linux 4.0 and later).
bool resetPeakMemory() {
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}

void BM_RenderLargeMessage(benchmark::State& state) {
    LargeTemplate& t = largeTemplate();
    SilentPrompts prompts;
    const QString target = t.input.workFolder + QStringLiteral("render.eml");
    double peakGrowth = 0;
    for (auto _ : state) {
        const bool measured = resetPeakMemory();
        const qint64 before = statusKilobytes("VmRSS:");
        RenderMessage(t.input, target, prompts);
        if (measured)
            peakGrowth = std::max(peakGrowth, double(statusKilobytes("VmHWM:") - before) * 1024);
    }
    const qint64 size = QFile(target).size();
    state.SetBytesProcessed(state.iterations() * size);
    state.counters["message_MB"] = double(size) / 1e6;
    state.counters["peak_growth_MB"] = peakGrowth / 1e6;
    state.counters["peak_growth_per_message"] = peakGrowth / double(size);
}

void BM_Base64FloorSamePictures(benchmark::State& state) {
    LargeTemplate& t = largeTemplate();
    const QString target = t.input.workFolder + QStringLiteral("floor.b64");
    for (auto _ : state) {
        QFile out(target);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
            throw std::runtime_error("cannot write floor");
        for (const QString& path : t.picturesInPartOrder) {
            QFile in(path);
            if (!in.open(QIODevice::ReadOnly))
                throw std::runtime_error("cannot read picture");
            Base64EncodeStream(in, out);
            out.write("\r\n", 2);
        }
        out.close();
    }
    state.SetBytesProcessed(state.iterations() * QFile(target).size());
    state.counters["output_MB"] = double(QFile(target).size()) / 1e6;
}

BENCHMARK(BM_RenderLargeMessage)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_Base64FloorSamePictures)->Unit(benchmark::kMillisecond)->MinTime(3.0);

}  // namespace
}  // namespace zw
