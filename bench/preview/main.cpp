// The preview of a large newsletter (200 blocks, each with its own 250 KB picture) in its steps, each
// beside the floor of one rendering: committing the block being edited, the rendering into both preview
// files, reading the message, and handing it to the view until the view has the page. The whole preview
// should cost at most 2.3 renderings. And the preview of a typical newsletter, the shipped default
// template, from the click on the tab to the painted page: under 150 ms when the newsletter changed
// since the last preview, under 50 ms when it did not; the first preview of a run, after the window
// stood idle for 3 s, under 500 ms. The program folders are temporary folders under TMPDIR.
#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QEventLoop>
#include <QHash>
#include <QImage>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <stdexcept>

#include <unistd.h>

#include "app/ProductBranding.h"
#include "app/WindowRender.h"
#include "app/WindowsInfo.h"
#include "app/fMain.h"
#include "dispatch/PreviewMessage.h"
#include "dispatch/ui/PreviewEngine.h"
#include "dispatch/ui/PreviewPart.h"
#include "platform/FileIo.h"
#include "platform/Platform.h"
#include "platform/Prompts.h"
#include "render/RenderMessage.h"
#include "template/ui/BlockListPart.h"
#include "template/ui/TemplateControls.h"

namespace zw {
namespace {

constexpr int kBlocks = 200;
constexpr int kPictureBytes = 250 * 1024;

class SilentPrompts : public Prompts {
public:
    void information(const QString& text) override { throw std::runtime_error(text.toStdString()); }
    void error(const QString& text) override { throw std::runtime_error(text.toStdString()); }
    CloseAnswer askSaveChanges() override { return CloseAnswer::No; }
    QString chooseTemplateToOpen(const QString&) override { return {}; }
    QString chooseTemplateSaveName(const QString&, const QString&) override { return {}; }
};

class FolderPlatform : public Platform {
public:
    explicit FolderPlatform(QString folder) : folder_(std::move(folder)) {}
    QString documentsFolder() override { return {}; }
    QString programFolder() override { return folder_; }
    void beep() override {}

private:
    QString folder_;
};

// A photo-like JPEG of about `bytes`: noise does not compress, so its size follows its pixel count.
QByteArray noisePicture(int seed, int bytes) {
    const int side = 600;
    QImage image(side, side * bytes / kPictureBytes, QImage::Format_RGB32);
    QRandomGenerator generator(seed);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<quint32*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) line[x] = generator.generate() | 0xFF000000u;
    }
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 80);
    return jpeg;
}

// CPU time of the web engine's own processes (the page's renderer and its helpers), which the CPU
// column of the benchmark, this process only, leaves out: every process below this one, and those of
// them that ended.
double engineCpuMs() {
    QHash<qint64, qint64> parentOf;
    QHash<qint64, qint64> ticksOf;
    const QStringList pids = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& name : pids) {
        bool numeric = false;
        const qint64 pid = name.toLongLong(&numeric);
        QFile stat(QStringLiteral("/proc/%1/stat").arg(name));
        if (!numeric || !stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray line = stat.readAll();
        // After "pid (comm) ": state, ppid, ... utime, stime, cutime, cstime are fields 14 to 17. The
        // times of children that ended and were waited for (a page process the engine replaced) count
        // in their parent's cutime and cstime.
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() < 15)
            continue;
        parentOf.insert(pid, fields[1].toLongLong());
        ticksOf.insert(pid, fields[11].toLongLong() + fields[12].toLongLong() + fields[13].toLongLong() +
                                fields[14].toLongLong());
    }
    const qint64 self = QCoreApplication::applicationPid();
    qint64 ticks = 0;
    for (auto it = parentOf.cbegin(); it != parentOf.cend(); ++it) {
        qint64 up = it.value();
        for (int depth = 0; depth < 8 && up > 1 && up != self; ++depth) up = parentOf.value(up, 0);
        if (up == self)
            ticks += ticksOf.value(it.key());
    }
    return 1000.0 * double(ticks) / double(sysconf(_SC_CLK_TCK));
}

// Runs the benchmark loop and reports the engine's CPU time per iteration beside it.
template <class Step>
void withEngineCpu(benchmark::State& state, Step step) {
    const double before = engineCpuMs();
    for (auto _ : state) step();
    state.counters["engine_cpu_ms"] = benchmark::Counter(
        (engineCpuMs() - before) / double(state.iterations()), benchmark::Counter::kDefaults);
}

// The window on a program folder of its own.
struct PreviewWindow {
    QTemporaryDir dir;
    QString folder = dir.path() + u'/';
    FolderPlatform platform{folder};
    SilentPrompts prompts;
    std::unique_ptr<TWindowsInfo> info;
    std::unique_ptr<TMainForm> form;

    // Starts the window, once the folder holds its files.
    void open() {
        info = std::make_unique<TWindowsInfo>(platform);
        form = std::make_unique<TMainForm>(platform, prompts, *info,
                                           ProductBranding::load(Folders::derive(folder, {})));
        form->resize(1200, 900);
        form->show();
    }
    void render(const QString& target) {
        RenderMessage(renderInputFromWindow(*form, form->session()), target, prompts);
    }
    // An edit of the block in the editor, a new one every time: the next preview has a new message.
    void editHeadline() {
        form->HeadLineEdit->setText(QStringLiteral("Geänderte Überschrift %1").arg(++edits));
    }
    int edits = 0;
};

// Made once for every benchmark, and gone before the application: the web engine ends with it.
template <class Window>
Window& once(std::unique_ptr<Window>& made) {
    if (!made)
        made = std::make_unique<Window>();
    return *made;
}

// The window on a program folder whose default template has the 200 blocks.
struct LargePreview : PreviewWindow {
    qint64 pictureBytes = 0;

    LargePreview() {
        QDir().mkpath(folder + QStringLiteral("Images"));
        QList<QByteArray> lines = {"[SETTINGS]",
                                   "Berteff=Vereinsnachrichten M\xE4rz",
                                   "KopfLogo=C:\\Bilder\\kopf.jpg",
                                   "LogoAlign=center",
                                   "Titel1=Liebe Mitglieder",
                                   "Titel2=Neues aus dem Verein",
                                   "DateText=Stand:",
                                   "SeperatorNews=C:\\Bilder\\trenner.jpg",
                                   "SeperatorAlign=center",
                                   "SeperatorImpressum=C:\\Bilder\\fuss.jpg",
                                   "ImpressumAlign=center",
                                   "ImpressumText=Turnverein e.V.",
                                   "ImpressumMailTo=info@example.org",
                                   "ImpressumURL=www.example.org",
                                   "TextColor=#000000",
                                   "LinkColor=#0000FF",
                                   "BKGColor=#FFFFFF",
                                   "UnsubscribeLink=www.example.org/ab",
                                   "UnsubscribeText=Abbestellen",
                                   "DateOn=TRUE"};
        for (const char* name : {"kopf.jpg", "trenner.jpg", "fuss.jpg"})
            writeFileAtomic(folder + u"Images/"_qs + QLatin1String(name),
                            noisePicture(qHash(QByteArray(name)), 8 * 1024));
        for (int k = 1; k <= kBlocks; ++k) {
            const QByteArray picture = "bild" + QByteArray::number(k) + ".jpg";
            const QByteArray jpeg = noisePicture(k, kPictureBytes);
            pictureBytes += jpeg.size();
            writeFileAtomic(folder + u"Images/"_qs + QString::fromLatin1(picture), jpeg);
            lines += {
                " ",
                "[BLOCK" + QByteArray::number(k).rightJustified(3, '0') + "]",
                "Meldung " + QByteArray::number(k),
                "C:\\Bilder\\" + picture,
                "Mehr dazu",
                "www.example.org/meldung?nr=" + QByteArray::number(k),
                "Ein Text mit <b>Auszeichnung</b> und genug Worten, dass er umbrochen wird, wie es Meldungen "
                "meistens sind."};
        }
        writeFileAtomic(folder + u"Zettelwerk_Vorlage.nld"_qs, joinLines(lines));
        writeFileAtomic(folder + u"NEW.nld"_qs, joinLines({"[SETTINGS]"}));
        writeFileAtomic(folder + u"Ver.ini"_qs, "Version 1.0\r\n");
        open();
        form->preview().ShowPreview();  // creates the view
    }

    QString path(const char* name) const { return folder + QLatin1String(name); }
    // Runs the event loop until the view has loaded the page.
    void untilLoaded(const std::function<void()>& start) {
        QEventLoop loop;
        bool ok = false;
        form->preview().view()->onLoaded = [&](bool loaded) {
            ok = loaded;
            loop.quit();
        };
        QTimer::singleShot(120000, &loop, &QEventLoop::quit);
        start();
        loop.exec();
        form->preview().view()->onLoaded = nullptr;
        if (!ok)
            throw std::runtime_error("the view did not load the preview");
    }
};

std::unique_ptr<LargePreview> instance;
LargePreview& large() {
    return once(instance);
}

void BM_RenderOnceFloor(benchmark::State& state) {
    LargePreview& p = large();
    for (auto _ : state) p.render(p.path("floor.eml"));
    state.counters["message_MB"] = double(QFileInfo(p.path("floor.eml")).size()) / 1e6;
    state.counters["pictures_MB"] = double(p.pictureBytes) / 1e6;
}

void BM_PreviewCommit(benchmark::State& state) {
    LargePreview& p = large();
    for (auto _ : state) p.form->blockList().ListBox1Enter();
}

// The preview renders once and writes the message into both of its files in one pass.
void BM_PreviewRenderBothFiles(benchmark::State& state) {
    LargePreview& p = large();
    const QStringList targets = {p.path("preview1.eml"), p.path("preview2.eml")};
    for (auto _ : state) RenderMessage(renderInputFromWindow(*p.form, p.form->session()), targets, p.prompts);
}

void BM_PreviewReadMessage(benchmark::State& state) {
    LargePreview& p = large();
    p.render(p.path("preview1.eml"));
    for (auto _ : state) benchmark::DoNotOptimize(readPreviewMessage(p.path("preview1.eml")));
}

void BM_PreviewHandToView(benchmark::State& state) {
    LargePreview& p = large();
    p.render(p.path("preview1.eml"));
    const auto message = std::make_shared<const PreviewMessage>(readPreviewMessage(p.path("preview1.eml")));
    int n = 0;
    withEngineCpu(state, [&] {
        p.untilLoaded([&] {
            p.form->preview().view()->showMessage(message, QStringLiteral("preview%1").arg(1 + n++ % 2));
        });
    });
}

// Each time after an edit: the view keeps the page of a message that did not change.
void BM_PreviewWhole(benchmark::State& state) {
    LargePreview& p = large();
    withEngineCpu(state, [&] {
        state.PauseTiming();
        p.editHeadline();
        state.ResumeTiming();
        p.untilLoaded([&] { p.form->preview().ShowPreview(); });
    });
}

// Calls back for every paint of the watched widget.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(std::function<void()> painted) : painted_(std::move(painted)) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            painted_();
        return false;
    }

private:
    std::function<void()> painted_;
};

// The shipped files the program folder starts with.
void copyShippedFiles(const QString& folder) {
    const QDir data(QStringLiteral(ZW_DATA_DIR));
    QDir().mkpath(folder + QStringLiteral("Images"));
    for (const char* name : {"Zettelwerk_Vorlage.nld", "NEW.nld", "Ver.ini"})
        QFile::copy(data.filePath(QLatin1String(name)), folder + QLatin1String(name));
    for (const QString& name : QDir(data.filePath(QStringLiteral("Images"))).entryList(QDir::Files))
        QFile::copy(data.filePath(u"Images/"_qs + name), folder + u"Images/"_qs + name);
}

// The first preview of a run: the window shows and stands idle for 3 s, as a user looks at it before
// the first click; then the click on the tab "Vorschau" until the page is painted. Registered first
// and run once: only the first preview of a process finds the web engine not started by an earlier one.
void BM_FirstPreviewAfterIdle(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        PreviewWindow w;
        copyShippedFiles(w.folder);
        w.open();
        QEventLoop idle;
        QTimer::singleShot(3000, &idle, &QEventLoop::quit);
        idle.exec();
        PreviewView* view = w.form->preview().view();
        if (!view) {
            state.SkipWithError("the web engine was not started while the window stood idle");
            return;
        }
        QWidget* content = view->widget()->focusProxy() ? view->widget()->focusProxy() : view->widget();
        QEventLoop painted;
        bool loaded = false;
        const auto previous = view->onLoaded;
        view->onLoaded = [&](bool ok) {
            if (previous)
                previous(ok);
            loaded = ok;
            content->update();
        };
        PaintWatch watch([&] {
            if (loaded)
                painted.quit();
        });
        content->installEventFilter(&watch);
        QTimer::singleShot(20000, &painted, &QEventLoop::quit);
        state.ResumeTiming();
        w.form->PageControl1->setCurrentIndex(kPreviewPage);
        painted.exec();
        state.PauseTiming();
        content->removeEventFilter(&watch);
        view->onLoaded = previous;
        if (!loaded)
            state.SkipWithError("the view did not load and paint the preview");
        state.ResumeTiming();
    }
}

// The window on a copy of the shipped files, its default template loaded.
struct TypicalPreview : PreviewWindow {
    std::unique_ptr<PaintWatch> watch;
    QEventLoop* waiting = nullptr;  // the loop of waitForPaintedPage while it runs
    int loads = 0;                  // pages the view loaded
    bool loadFailed = false;
    bool loadedSincePaint = false;

    TypicalPreview() {
        copyShippedFiles(folder);
        open();
        clickPreviewTab();  // creates the view
        PreviewView* view = form->preview().view();
        QWidget* content = view->widget()->focusProxy() ? view->widget()->focusProxy() : view->widget();
        view->onLoaded = [this, content](bool ok) {
            ++loads;
            loadFailed = loadFailed || !ok;
            loadedSincePaint = true;
            content->update();
        };
        // Painted: the first paint of the view's content after the page has loaded.
        watch = std::make_unique<PaintWatch>([this] {
            if (loadedSincePaint && waiting)
                waiting->quit();
        });
        content->installEventFilter(watch.get());
        waitForPaintedPage();
    }

    // What the user does before clicking the tab: edits the headline of the block in the editor, or
    // not, and goes back to the news page.
    void prepare(bool change) {
        selectPage(*form, kNewsPage);
        if (change)
            editHeadline();
        loadedSincePaint = false;
    }
    void clickPreviewTab() { form->PageControl1->setCurrentIndex(kPreviewPage); }

    void waitForPaintedPage() {
        QEventLoop loop;
        waiting = &loop;
        QTimer::singleShot(20000, &loop, &QEventLoop::quit);
        loop.exec();
        waiting = nullptr;
        if (!loadedSincePaint || loadFailed)
            throw std::runtime_error("the view did not load and paint the preview");
    }
};

std::unique_ptr<TypicalPreview> typicalInstance;
TypicalPreview& typical() {
    return once(typicalInstance);
}

void BM_TypicalRenderOnceFloor(benchmark::State& state) {
    TypicalPreview& p = typical();
    const QString target = p.folder + QStringLiteral("floor.eml");
    for (auto _ : state) p.render(target);
    state.counters["message_KB"] = double(QFileInfo(target).size()) / 1024;
}

// The newsletter changed since the last preview: rendered, read and loaded into the view, painted.
void BM_TypicalPreviewChanged(benchmark::State& state) {
    TypicalPreview& p = typical();
    withEngineCpu(state, [&] {
        state.PauseTiming();
        p.prepare(true);
        state.ResumeTiming();
        p.clickPreviewTab();
        p.waitForPaintedPage();
    });
}

// The same newsletter again: the files are written, the view keeps the page it shows.
void BM_TypicalPreviewUnchanged(benchmark::State& state) {
    TypicalPreview& p = typical();
    const int loadsBefore = p.loads;
    withEngineCpu(state, [&] {
        state.PauseTiming();
        p.prepare(false);
        state.ResumeTiming();
        p.clickPreviewTab();
    });
    QEventLoop settle;  // room for a load that should not have started
    QTimer::singleShot(1000, &settle, &QEventLoop::quit);
    settle.exec();
    if (p.loads != loadsBefore)
        state.SkipWithError("the view loaded the unchanged newsletter again");
}

BENCHMARK(BM_FirstPreviewAfterIdle)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_TypicalRenderOnceFloor)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_TypicalPreviewChanged)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_TypicalPreviewUnchanged)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_RenderOnceFloor)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_PreviewCommit)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_PreviewRenderBothFiles)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_PreviewReadMessage)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_PreviewHandToView)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_PreviewWhole)->Unit(benchmark::kMillisecond)->MinTime(3.0);

}  // namespace
}  // namespace zw

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    zw::preparePreviewEngine();
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    zw::typicalInstance.reset();
    zw::instance.reset();
    return 0;
}
