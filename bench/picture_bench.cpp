// Choosing a picture, beside libjpeg-turbo's own programs doing the same steps one after the other:
// re-encoding a 12-megapixel photo at quality 80 (djpeg, then cjpeg -quality 80), and scaling it to 150
// pixels with both encodings (djpeg, a nearest-neighbour scale, cjpeg -quality 95 and cjpeg -quality 80).
// The peak memory of a re-encoding is measured in a child process, beside the size of the decoded picture.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "PictureBenchSupport.h"
#include "editing/PicturePipeline.h"
#include "platform/FileIo.h"

namespace zw {
namespace {

constexpr int kPhotoWidth = 4000, kPhotoHeight = 3000;

// A photo-like picture: soft gradients, some texture and sensor noise, baseline 4:2:0 at quality 92,
// about what a phone camera writes.
QByteArray makePhoto() {
    std::vector<double> wx(kPhotoWidth), wy(kPhotoHeight);
    for (int x = 0; x < kPhotoWidth; ++x) wx[size_t(x)] = 50 * std::sin(x / 211.0) + 20 * std::sin(x / 7.3);
    for (int y = 0; y < kPhotoHeight; ++y) wy[size_t(y)] = 40 * std::cos(y / 157.0) + 15 * std::cos(y / 5.1);
    std::vector<unsigned char> pixels(size_t(kPhotoWidth) * kPhotoHeight * 3);
    unsigned noise = 12345;
    unsigned char* p = pixels.data();
    for (int y = 0; y < kPhotoHeight; ++y) {
        for (int x = 0; x < kPhotoWidth; ++x) {
            for (int c = 0; c < 3; ++c) {
                noise = noise * 1103515245u + 12345u;
                const double v = 110 + 30 * c + wx[size_t(x)] * (c == 1 ? -1 : 1) + wy[size_t(y)] +
                                 int((noise >> 16) % 17) - 8;
                *p++ = (unsigned char)std::clamp(v, 0.0, 255.0);
            }
        }
    }
    return encodeRgbJpeg(pixels, QSize(kPhotoWidth, kPhotoHeight), 92);
}

// One photo for all benchmarks of a run, in a folder of its own.
struct Photo {
    QTemporaryDir dir;
    QString original, work;
    QByteArray bytes;

    Photo() {
        if (!dir.isValid())
            throw std::runtime_error("no temporary folder");
        bytes = makePhoto();
        original = dir.filePath(QStringLiteral("photo.jpg"));
        work = dir.filePath(QStringLiteral("copy.jpg"));
        writeFileAtomic(original, bytes);
    }
    QString file(const char* name) const { return dir.filePath(QLatin1String(name)); }
};

const Photo& photo() {
    static const Photo p;
    return p;
}

bool haveTools(benchmark::State& state) {
    return havePrograms(state, {u"djpeg"_qs, u"cjpeg"_qs}, "libjpeg-turbo-progs");
}

// The check a chosen picture gets before the width question: every scan read to its end.
void BM_LoadPictureInfo(benchmark::State& state) {
    const Photo& p = photo();
    for (auto _ : state) benchmark::DoNotOptimize(loadPictureInfo(p.bytes));
}
BENCHMARK(BM_LoadPictureInfo)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReencodePicture80(benchmark::State& state) {
    const Photo& p = photo();
    for (auto _ : state) {
        state.PauseTiming();
        writeWorkingFile(p.work, p.bytes);
        state.ResumeTiming();
        ReencodePicture(p.work, kCopyQuality);
    }
}
BENCHMARK(BM_ReencodePicture80)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same photo taken upright on a phone: stored lying, EXIF orientation 6 (turn a quarter clockwise).
void BM_ReencodeTurnedPhoto80(benchmark::State& state) {
    const Photo& p = photo();
    const QByteArray exif("Exif\0\0MM\0\x2A\0\0\0\x08\0\x01\x01\x12\0\x03\0\0\0\x01\0\x06\0\0\0\0\0\0", 32);
    const QByteArray app1 = QByteArray("\xFF\xE1", 2) + char(0) + char(exif.size() + 2) + exif;
    const QByteArray turned = p.bytes.left(2) + app1 + p.bytes.mid(2);
    for (auto _ : state) {
        state.PauseTiming();
        writeWorkingFile(p.work, turned);
        state.ResumeTiming();
        ReencodePicture(p.work, kCopyQuality);
    }
}
BENCHMARK(BM_ReencodeTurnedPhoto80)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Floor_Djpeg_Cjpeg80(benchmark::State& state) {
    const Photo& p = photo();
    if (!haveTools(state))
        return;
    const QString ppm = p.file("photo.ppm"), out = p.file("out.jpg");
    const double before = childCpuSeconds();
    for (auto _ : state) {
        if (!runProgram(u"djpeg"_qs, {u"-outfile"_qs, ppm, p.original}) ||
            !runProgram(u"cjpeg"_qs, {u"-quality"_qs, u"80"_qs, u"-outfile"_qs, out, ppm}))
            state.SkipWithError("djpeg/cjpeg failed");
    }
    reportChildCpu(state, before);
}
BENCHMARK(BM_Floor_Djpeg_Cjpeg80)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ScaleTo150_95_then_80(benchmark::State& state) {
    const Photo& p = photo();
    for (auto _ : state) {
        state.PauseTiming();
        writeWorkingFile(p.work, p.bytes);
        state.ResumeTiming();
        ScalePictureToWidth(p.work, 150, QSize(kPhotoWidth, kPhotoHeight));
        ReencodePicture(p.work, kCopyQuality);
    }
}
BENCHMARK(BM_ScaleTo150_95_then_80)->Unit(benchmark::kMillisecond)->UseRealTime();

// Nearest-neighbour scaling of a binary PPM ("P6 w h 255\n" and RGB bytes) to width W.
void scalePpm(const QString& from, const QString& to, int W) {
    const QByteArray in = readFile(from);
    int w = 0, h = 0, maxval = 0, offset = 0;
    std::sscanf(in.constData(), "P6 %d %d %d%n", &w, &h, &maxval, &offset);
    const char* pixels = in.constData() + offset + 1;
    const int H = scaledHeight(W, QSize(w, h));
    QByteArray out = QStringLiteral("P6\n%1 %2\n255\n").arg(W).arg(H).toLatin1();
    const qsizetype head = out.size();
    out.resize(head + qsizetype(W) * H * 3);
    char* dst = out.data() + head;
    for (int y = 0; y < H; ++y) {
        const char* src = pixels + size_t((2 * y + 1) * qint64(h) / (2 * H)) * size_t(w) * 3;
        for (int x = 0; x < W; ++x, dst += 3) {
            const char* s = src + size_t((2 * x + 1) * qint64(w) / (2 * W)) * 3;
            dst[0] = s[0], dst[1] = s[1], dst[2] = s[2];
        }
    }
    writeWorkingFile(to, out);
}

void BM_Floor_Djpeg_Scale_Cjpeg95_Cjpeg80(benchmark::State& state) {
    const Photo& p = photo();
    if (!haveTools(state))
        return;
    const QString ppm = p.file("photo.ppm"), small = p.file("small.ppm");
    const double before = childCpuSeconds();
    for (auto _ : state) {
        const bool ok =
            runProgram(u"djpeg"_qs, {u"-outfile"_qs, ppm, p.original}) && (scalePpm(ppm, small, 150), true) &&
            runProgram(u"cjpeg"_qs, {u"-quality"_qs, u"95"_qs, u"-outfile"_qs, p.file("s95.jpg"), small}) &&
            runProgram(u"cjpeg"_qs, {u"-quality"_qs, u"80"_qs, u"-outfile"_qs, p.file("s80.jpg"), small});
        if (!ok)
            state.SkipWithError("djpeg/cjpeg failed");
    }
    reportChildCpu(state, before);
}
BENCHMARK(BM_Floor_Djpeg_Scale_Cjpeg95_Cjpeg80)->Unit(benchmark::kMillisecond)->UseRealTime();

long statusKiB(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0)
            return std::atol(line.c_str() + std::strlen(field));
    return -1;
}

// The resident memory a re-encoding adds at its peak, measured in a fresh child process whose high-water
// mark starts at what it inherited.
void BM_ReencodePeakMemory(benchmark::State& state) {
    const Photo& p = photo();
    double peakMiB = 0;
    for (auto _ : state) {
        writeWorkingFile(p.work, p.bytes);
        int fds[2];
        if (pipe(fds) != 0) {
            state.SkipWithError("no pipe");
            return;
        }
        const pid_t child = fork();
        if (child == 0) {
            close(fds[0]);
            if (FILE* f = std::fopen("/proc/self/clear_refs", "w")) {
                std::fputs("5", f);  // reset the high-water mark where the kernel allows it
                std::fclose(f);
            }
            const long before = statusKiB("VmRSS:");
            ReencodePicture(p.work, kCopyQuality);
            const long grown = statusKiB("VmHWM:") - before;
            [[maybe_unused]] ssize_t n = write(fds[1], &grown, sizeof grown);
            _exit(0);
        }
        close(fds[1]);
        long grown = -1;
        [[maybe_unused]] ssize_t n = read(fds[0], &grown, sizeof grown);
        close(fds[0]);
        waitpid(child, nullptr, 0);
        peakMiB = grown / 1024.0;
    }
    const double decodedMiB = double(kPhotoWidth) * kPhotoHeight * 3 / (1024.0 * 1024.0);
    state.counters["peak_MiB"] = peakMiB;
    state.counters["decoded_MiB"] = decodedMiB;
    state.counters["peak_per_decoded"] = peakMiB / decodedMiB;
}
BENCHMARK(BM_ReencodePeakMemory)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

const QString& benchPhotoPath() {
    return photo().original;
}

bool runProgram(const QString& program, const QStringList& arguments) {
    return QProcess::execute(program, arguments) == 0;
}

// CPU seconds that finished child processes used so far. A loaded machine stretches the wall-clock
// times of both sides; the CPU times of our side and of the programs compare without that noise.
double childCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void reportChildCpu(benchmark::State& state, double before) {
    state.counters["programs_cpu_ms"] =
        benchmark::Counter((childCpuSeconds() - before) * 1000, benchmark::Counter::kAvgIterations);
}

bool havePrograms(benchmark::State& state, const QStringList& programs, const char* package) {
    for (const QString& program : programs) {
        if (QStandardPaths::findExecutable(program).isEmpty()) {
            state.SkipWithError((program + u" missing (Debian: "_qs + QLatin1String(package) + u")"_qs).toUtf8());
            return false;
        }
    }
    return true;
}

}  // namespace zw
