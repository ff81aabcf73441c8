// One recipient's message of the shipped default newsletter, with personal fields (subject, header
// line, a news text, a link's query and the unsubscribe link) beside the same newsletter without any:
// the fields may cost at most 2 ms more per recipient. Each iteration is one recipient's message.
#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <stdexcept>

#include "SilentPrompts.h"
#include "render/RenderInput.h"
#include "send/FieldColumns.h"
#include "send/OutgoingMessage.h"
#include "send/RenderedNewsletter.h"
#include "template/BlockCycle.h"

namespace zw {
namespace {

constexpr int kRecipients = 1000;

QByteArray withFields(QByteArray nld) {
    const std::pair<QByteArray, QByteArray> edits[] = {
        {"Berteff=Neues", "Berteff={Vorname|Hallo}, neues"},
        {"Titel2=Liebe Gartenfreundinnen und Gartenfreunde,",
         "Titel2={Anrede|Liebe} {Vorname|Gartenfreunde},"},
        {"Am <b>Samstag", "{Vorname|Sie} und {Nachname}: am <b>Samstag"},
        {"example.org/sommerfest", "example.org/sommerfest?wer={E-Mail}"},
        {"UnsubscribeLink=www.gartenfreunde-lindenhain.example.org/rundbrief/abmelden",
         "UnsubscribeLink=https://www.gartenfreunde-lindenhain.example.org/abmelden?adresse={E-Mail}"},
    };
    for (const auto& [from, to] : edits) {
        if (!nld.contains(from))
            throw std::runtime_error("the shipped template changed");
        nld.replace(from, to);
    }
    return nld;
}

// The newsletter as a sending takes it up, rendered once.
struct Prepared {
    QTemporaryDir dir;
    send::Newsletter newsletter;
    explicit Prepared(bool fields) {
        const QString data = QStringLiteral(ZW_SOURCE_DIR "/data/");
        const QString work = dir.path() + u'/';
        QFile shipped(data + QStringLiteral("Zettelwerk_Vorlage.nld"));
        if (!shipped.open(QIODevice::ReadOnly))
            throw std::runtime_error("no shipped template");
        QByteArray nld = shipped.readAll();
        QFile copy(work + QStringLiteral("Vorlage.nld"));
        if (!copy.open(QIODevice::WriteOnly) || copy.write(fields ? withFields(nld) : nld) < 0)
            throw std::runtime_error("cannot write the template");
        copy.close();
        const QString images = data + QStringLiteral("Images/");
        const RebuildResult loaded = loadTemplate(copy.fileName(), images, BlockFiles(work));
        RenderInput input = renderInputFromSettings(loaded.settings, "01.12.2026", work, images);
        input.copyFolder = work;
        SilentPrompts prompts;
        newsletter = send::renderNewsletter(input, work + QStringLiteral("newsletter.eml"), prompts);
    }
};

send::RecipientList members() {
    send::RecipientList list;
    list.columns = {QStringLiteral("Anrede"), QStringLiteral("Vorname"), QStringLiteral("Nachname"),
                    QStringLiteral("E-Mail")};
    for (int i = 0; i < kRecipients; ++i) {
        const QString address = QStringLiteral("leser%1@example.net").arg(i);
        list.recipients.append({address, QStringLiteral("Jörg Müller %1").arg(i), i + 2,
                                QStringLiteral("%1\tJörg\tMüller & Söhne %2\t%3")
                                    .arg(i % 3 ? QStringLiteral("Lieber") : QString())
                                    .arg(i)
                                    .arg(address)});
    }
    return list;
}

void perRecipient(benchmark::State& state, bool fields) {
    const Prepared prepared(fields);
    const send::OutgoingMessage message(prepared.newsletter);
    const send::RecipientList list = members();
    send::SenderProfile sender;
    sender.name = QStringLiteral("Gartenfreunde Lindenhain");
    sender.address = QStringLiteral("vorstand@lindenhain.example");
    const QDateTime now = QDateTime::currentDateTime();
    qsizetype bytes = 0;
    int i = 0;
    for (auto _ : state) {
        const send::Recipient& to = list.recipients[i++ % kRecipients];
        const FieldValues values = send::recipientFieldValues(list.columns, to);
        const QByteArray out = message.forRecipient(to, sender, now, &values);
        bytes += out.size();
        benchmark::DoNotOptimize(out.constData());
    }
    state.SetBytesProcessed(bytes);
    state.counters["fields"] = double(message.fields().fields.size());
}

void BM_PerRecipientWithoutFields(benchmark::State& state) {
    perRecipient(state, false);
}
void BM_PerRecipientWithFields(benchmark::State& state) {
    perRecipient(state, true);
}

}  // namespace

BENCHMARK(BM_PerRecipientWithoutFields)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PerRecipientWithFields)->Unit(benchmark::kMicrosecond);

}  // namespace zw
