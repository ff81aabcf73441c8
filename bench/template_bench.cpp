// The write-back cycle (what runs every time the block list gains the focus) and loading a template,
// each beside its floor: the same files written and read with plain file calls and no logic at all.
// The files go to a temporary folder under TMPDIR: point it at the disk that holds the program folder,
// since file creation costs differ widely between folders and file systems.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <stdexcept>

#include "platform/FileIo.h"
#include "template/BlockCycle.h"
#include "template/BlockFiles.h"
#include "template/NldFormat.h"

namespace zw {
namespace {

TemplateSettings benchSettings() {
    TemplateSettings s;
    s.Berteff = "Vereinsnachrichten M\xE4rz";
    s.KopfLogo = "C:\\Dokumente und Einstellungen\\Anna\\Eigene Bilder\\kopf.jpg";
    s.LogoAlign = "center";
    s.Titel1 = "Liebe Mitglieder";
    s.Titel2 = "Neues aus dem Verein und aus der Nachbarschaft";
    s.DateText = "Stand:";
    s.SeperatorNews = "C:\\Bilder\\trenner.jpg";
    s.SeperatorAlign = "center";
    s.SeperatorImpressum = "C:\\Bilder\\fuss.jpg";
    s.ImpressumAlign = "left";
    s.ImpressumText =
        "Turnverein e.V., Hauptstra\xDF"
        "e 1, 12345 Musterstadt";
    s.ImpressumMailTo = "info@example.org";
    s.ImpressumURL = "www.example.org";
    s.TextColor = "#000000";
    s.LinkColor = "#0000FF";
    s.BKGColor = "#FFFFFF";
    s.UnsubscribeLink = "http://example.org/abmelden";
    s.UnsubscribeText = "Abmelden";
    s.DateOn = "TRUE";
    return s;
}

// A news block of a typical size: a headline, a picture path, a link and a body text of about 600
// characters with markup.
QList<QByteArray> benchBlock(int k) {
    const QByteArray n = QByteArray::number(k);
    QByteArray text = "<b>Neu im Verein</b><br>";
    while (text.size() < 600)
        text += "Am Samstag treffen wir uns zum Fr\xFChjahrsputz am Vereinsheim, Meldung " + n + ". ";
    return {"Meldung Nummer " + n + ": Fr\xFChjahrsputz und Grillfest",
            "C:\\Bilder\\Verein\\bild" + n + ".jpg", "Mehr dazu auf der Seite",
            "www.example.org/meldung/" + n, text};
}

// A program folder with a template of n blocks, loaded as the window would have it.
class Workspace {
public:
    explicit Workspace(int blocks)
        : program_(dir_.path() + QStringLiteral("/Programm/")),
          images_(program_ + QStringLiteral("Images/")),
          templatePath_(dir_.path() + QStringLiteral("/Vorlage.nld")),
          files_(program_) {
        if (!dir_.isValid())
            throw std::runtime_error("no temporary folder");
        QDir().mkpath(images_);
        QList<QList<QByteArray>> lines;
        for (int k = 1; k <= blocks; ++k) lines.append(benchBlock(k));
        templateBytes_ = writeTemplate(settings_, lines);
        writeFileAtomic(templatePath_, templateBytes_);
        loaded_ = loadTemplate(templatePath_, images_, files_);
        for (int k = 1; k <= blocks; ++k) blockBytes_.append(joinLines(lines[k - 1]));
    }

    QTemporaryDir dir_;
    QString program_;
    QString images_;
    QString templatePath_;
    BlockFiles files_;
    TemplateSettings settings_ = benchSettings();
    QByteArray templateBytes_;
    QList<QByteArray> blockBytes_;
    RebuildResult loaded_;
};

void plainWrite(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw std::runtime_error("plain write failed");
}

QByteArray plainRead(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("plain read failed");
    return file.readAll();
}

// --- The write-back cycle (ListBox1Enter) ---

void BM_WriteBack(benchmark::State& state) {
    Workspace ws(int(state.range(0)));
    const QList<QByteArray> editor = benchBlock(1);
    for (auto _ : state) {
        RebuildResult result =
            writeBackAndRebuild(ws.templatePath_, ws.images_, ws.files_, ws.loaded_.settings, 0, editor);
        benchmark::DoNotOptimize(result);
    }
    state.SetBytesProcessed(state.iterations() * ws.templateBytes_.size());
}

// The files as a floor writes them: new, so that the system has no old content to drop first
// (which costs more than creating a file on ext4).
void removeUntimed(benchmark::State& state, const Workspace& ws, bool withTemplate) {
    state.PauseTiming();
    ws.files_.clear();
    if (withTemplate)
        QFile::remove(ws.templatePath_);
    state.ResumeTiming();
}

// Its floor: the template written once, the n block files written, the template read once.
void BM_WriteBackFloor(benchmark::State& state) {
    Workspace ws(int(state.range(0)));
    for (auto _ : state) {
        removeUntimed(state, ws, true);
        plainWrite(ws.templatePath_, ws.templateBytes_);
        for (qsizetype k = 0; k < ws.blockBytes_.size(); ++k)
            plainWrite(ws.files_.path(int(k + 1)), ws.blockBytes_[k]);
        QByteArray back = plainRead(ws.templatePath_);
        benchmark::DoNotOptimize(back);
    }
    state.SetBytesProcessed(state.iterations() * ws.templateBytes_.size());
}

// Moving a block the whole way, from the bottom to the top and back: the most block files a move
// rewrites. Beside BM_WriteBack, which rewrites one.
void BM_MoveBlock(benchmark::State& state) {
    const int blocks = int(state.range(0));
    Workspace ws(blocks);
    const QList<QByteArray> editor = benchBlock(blocks);
    bool up = true;
    for (auto _ : state) {
        RebuildResult result =
            moveBlockAndRebuild(ws.templatePath_, ws.images_, ws.files_, ws.loaded_.settings,
                                up ? blocks - 1 : 0, editor, up ? 0 : blocks - 1);
        benchmark::DoNotOptimize(result);
        up = !up;
    }
    state.SetBytesProcessed(state.iterations() * ws.templateBytes_.size());
}

// --- Loading a template ---

void BM_LoadTemplate(benchmark::State& state) {
    Workspace ws(int(state.range(0)));
    for (auto _ : state) {
        RebuildResult result = loadTemplate(ws.templatePath_, ws.images_, ws.files_);
        benchmark::DoNotOptimize(result);
    }
    state.SetBytesProcessed(state.iterations() * ws.templateBytes_.size());
}

// Its floor: the template read once, the n block files written.
void BM_LoadTemplateFloor(benchmark::State& state) {
    Workspace ws(int(state.range(0)));
    for (auto _ : state) {
        removeUntimed(state, ws, false);
        QByteArray bytes = plainRead(ws.templatePath_);
        benchmark::DoNotOptimize(bytes);
        for (qsizetype k = 0; k < ws.blockBytes_.size(); ++k)
            plainWrite(ws.files_.path(int(k + 1)), ws.blockBytes_[k]);
    }
    state.SetBytesProcessed(state.iterations() * ws.templateBytes_.size());
}

BENCHMARK(BM_WriteBack)->Arg(10)->Arg(100)->Arg(999)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MoveBlock)->Arg(10)->Arg(100)->Arg(999)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WriteBackFloor)->Arg(10)->Arg(100)->Arg(999)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LoadTemplate)->Arg(10)->Arg(100)->Arg(999)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LoadTemplateFloor)->Arg(10)->Arg(100)->Arg(999)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace zw
