#include <QDir>
#include <QProcessEnvironment>

#include "StandIn.h"
#include "dispatch/HelpTexts.h"
#include "dispatch/SerialMailPart.h"

namespace zw::test {
namespace {

class SerialMailTest : public StandInTest {
protected:
    SerialMailTest() {
        environment_.insert(u"WINEPREFIX"_qs, prefix_);
        session_.folders =
            Folders::derive(folder_.subfolder(u"program"_qs), folder_.path() + u"Dokumente/"_qs);
        session_.CurrentTemplatePath = folder_.file(u"Sommer.Ausgabe.nld"_qs);
    }
    // A program file under drive_c, e.g. "Programme/Ventoza/Ventoza.exe".
    void install(const QString& relativePath) {
        const QString path = driveC_ + relativePath;
        QDir().mkpath(QFileInfo(path).path());
        writeAll(path, "MZ");
    }
    SerialMailPart& part() {
        if (!part_)
            part_ = std::make_unique<SerialMailPart>(
                session_, prompts_, launcher_, u"https://www.ventoza.example"_qs,
                [this] { calls_.append(u"commit"_qs); },
                [this](const QString& path) {
                    calls_.append(u"render "_qs + path);
                    writeAll(path, "message");
                },
                environment_);
        return *part_;
    }

    QString prefix_ = folder_.path() + u"wine prefix"_qs;
    QString driveC_ = prefix_ + u"/drive_c/"_qs;
    QProcessEnvironment environment_;
    TemplateSession session_;
    QStringList calls_;
    std::unique_ptr<SerialMailPart> part_;
};

TEST_F(SerialMailTest, SearchesTheThreeFoldersLastMatchWins) {
    const QString client = u"Programme/Ventoza Enterprise Client/Ventoza_Client.exe"_qs;
    const struct {
        const char* name;
        QStringList files;
        QString found;
    } rows[] = {
        {"none", {}, {}},
        {"Programme", {u"Programme/Ventoza/Ventoza.exe"_qs}, u"c:\\Programme\\Ventoza\\Ventoza.exe"_qs},
        {"Program Files",
         {u"Program Files/Ventoza/Ventoza.exe"_qs},
         u"c:\\Program Files\\Ventoza\\Ventoza.exe"_qs},
        {"client", {client}, u"c:\\Programme\\Ventoza Enterprise Client\\Ventoza_Client.exe"_qs},
        {"all three",
         {u"Programme/Ventoza/Ventoza.exe"_qs, u"Program Files/Ventoza/Ventoza.exe"_qs, client},
         u"c:\\Programme\\Ventoza Enterprise Client\\Ventoza_Client.exe"_qs},
        {"both plain folders",
         {u"Programme/Ventoza/Ventoza.exe"_qs, u"Program Files/Ventoza/Ventoza.exe"_qs},
         u"c:\\Program Files\\Ventoza\\Ventoza.exe"_qs},
        {"lower-case file", {u"Programme/Ventoza/ventoza.exe"_qs}, u"c:\\Programme\\Ventoza\\ventoza.exe"_qs},
        {"folders in other case",
         {u"programme/VENTOZA/Ventoza.EXE"_qs},
         u"c:\\Programme\\Ventoza\\Ventoza.EXE"_qs},
        // Listed without regard to case, "alt_" comes first and "Ventoza.exe" is the last match.
        {"last in listing order",
         {u"Programme/Ventoza/Setup.exe"_qs, u"Programme/Ventoza/Ventoza.exe"_qs,
          u"Programme/Ventoza/alt_ventoza.exe"_qs},
         u"c:\\Programme\\Ventoza\\Ventoza.exe"_qs},
        {"plain program in client folder", {u"Programme/Ventoza Enterprise Client/Ventoza.exe"_qs}, {}},
        {"no .exe", {u"Programme/Ventoza/Ventoza.exe.txt"_qs}, {}},
    };
    for (const auto& row : rows) {
        QDir(driveC_).removeRecursively();
        QDir().mkpath(driveC_);
        for (const QString& file : row.files) install(file);
        EXPECT_EQ(findSerialMailProgram(driveC_), row.found) << row.name;
    }
}

TEST_F(SerialMailTest, StartNoticeAnswersAndWhatIsStarted) {
    install(u"Programme/Ventoza/Ventoza.exe"_qs);
    standIn(u"wine"_qs);
    QSignalSpy spy(&part(), &SerialMailPart::launched);
    const QString message = session_.folders.documents + u"Sommer.eml"_qs;

    // "Abbrechen": the message is written all the same (into a documents folder made for it), nothing starts.
    prompts_.serialMailStartAnswers = {false};
    part().StartSerialMail();
    EXPECT_EQ(calls_, QStringList({u"commit"_qs, u"render "_qs + message}));
    EXPECT_EQ(readAll(message), "message");
    EXPECT_EQ(prompts_.serialMailStartFiles, QStringList{u"Sommer.eml"_qs});
    EXPECT_EQ(recorded(), QString());

    // "Weiter": wine with the Windows path as its one argument, in the prefix searched.
    prompts_.serialMailStartAnswers = {true};
    part().StartSerialMail();
    ASSERT_TRUE(settled(spy));
    EXPECT_EQ(spy.takeFirst().at(0).toBool(), true);
    EXPECT_EQ(recorded(), u"c:\\Programme\\Ventoza\\Ventoza.exe\n"_qs);
    EXPECT_EQ(recordedPrefix(), prefix_);
    EXPECT_EQ(prompts_.plainMessages, QStringList());

    // Wine failing, or not there at all: the program message.
    standIn(u"wine"_qs, "exit 1");
    prompts_.serialMailStartAnswers = {true};
    part().StartSerialMail();
    ASSERT_TRUE(settled(spy));
    EXPECT_EQ(spy.takeFirst().at(0).toBool(), false);
    QFile::remove(bin_ + u"wine"_qs);
    prompts_.serialMailStartAnswers = {true};
    part().StartSerialMail();
    EXPECT_EQ(prompts_.plainMessages, QStringList({kProgramFailure, kProgramFailure}));
    EXPECT_EQ(prompts_.serialMailOffers, 0);
    EXPECT_EQ(prompts_.unexpected, QStringList());
}

TEST_F(SerialMailTest, WithoutTheProgramItsPageIsOffered) {
    standIn(u"xdg-open"_qs);
    QSignalSpy spy(&part(), &SerialMailPart::launched);
    prompts_.serialMailOfferAnswers = {false, true};
    part().StartSerialMail();
    EXPECT_EQ(recorded(), QString());
    part().StartSerialMail();
    ASSERT_TRUE(settled(spy));
    EXPECT_EQ(recorded(), u"https://www.ventoza.example\n"_qs);

    standIn(u"xdg-open"_qs, "exit 4");
    spy.clear();
    prompts_.serialMailOfferAnswers = {true};
    part().StartSerialMail();
    ASSERT_TRUE(settled(spy));
    EXPECT_EQ(prompts_.plainMessages, QStringList{kBrowserFailure});
    EXPECT_EQ(prompts_.serialMailStartFiles, QStringList());
    EXPECT_TRUE(QFile::exists(session_.folders.documents + u"Sommer.eml"_qs));
}

TEST(WinePrefix, FromTheEnvironmentElseInTheHomeFolder) {
    QProcessEnvironment environment;
    EXPECT_EQ(winePrefix(environment), QDir::homePath() + u"/.wine"_qs);
    environment.insert(u"WINEPREFIX"_qs, u"/srv/wine"_qs);
    EXPECT_EQ(winePrefix(environment), u"/srv/wine"_qs);
}

}  // namespace
}  // namespace zw::test
