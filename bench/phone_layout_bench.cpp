// The phone layout against the classic one, rendering the same template into a message file: the
// shipped default template as it is, and with its blocks repeated to 400 (where the HTML, not the
// pictures, is most of the work). The phone layout may cost at most 1.1 times the classic one.
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include "SilentPrompts.h"
#include "render/RenderMessage.h"
#include "template/BlockCycle.h"
#include "template/BlockFiles.h"

namespace zw {
namespace {

// The shipped default template loaded into a working folder, its blocks repeated to the count asked.
struct ShippedTemplate {
    QTemporaryDir dir;
    RenderInput input;

    explicit ShippedTemplate(int blocks) {
        const QString work = dir.path() + u'/';
        const QString images = QStringLiteral(ZW_SOURCE_DIR "/data/Images/");
        const BlockFiles files(work);
        const RebuildResult loaded =
            loadTemplate(QStringLiteral(ZW_SOURCE_DIR "/data/Zettelwerk_Vorlage.nld"), images, files);
        const QStringList shipped = files.list();
        QList<NewsBlock> own;
        for (const QString& path : shipped) own.append(BlockFiles::readForRendering(path));
        for (int k = int(shipped.size()); k < blocks; ++k) files.write(k + 1, own[k % own.size()].lines());
        input = renderInputFromSettings(loaded.settings, "08.12.2026", work, images);
        input.copyFolder = work;
    }
};

void renderLayout(benchmark::State& state, bool phone) {
    ShippedTemplate shipped(int(state.range(0)));
    shipped.input.mobileLayout = phone;
    SilentPrompts prompts;
    const QString target = shipped.dir.path() + QStringLiteral("/out.eml");
    for (auto _ : state) RenderMessage(shipped.input, target, prompts);
    state.counters["message_KB"] = double(QFile(target).size()) / 1024;
}

void BM_RenderClassicLayout(benchmark::State& state) {
    renderLayout(state, false);
}
void BM_RenderPhoneLayout(benchmark::State& state) {
    renderLayout(state, true);
}

BENCHMARK(BM_RenderClassicLayout)->Arg(3)->Arg(400)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_RenderPhoneLayout)->Arg(3)->Arg(400)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
}  // namespace zw
