#include <QDir>
#include <QString>

#include <gtest/gtest.h>

#include "QtPrinters.h"
#include "Samples.h"
#include "platform/Text.h"
#include "support/Files.h"
#include "template/NldFormat.h"

namespace zw {
namespace {

using test::crlf;
using test::TempFolder;
using test::writeAll;

// --- The settings section, read by the rules of the INI format ---

struct IniRow {
    const char* name;
    QList<QByteArray> fileLines;
    QByteArray TemplateSettings::*field;
    QByteArray expected;
};

class IniRules : public ::testing::TestWithParam<IniRow> {};

TEST_P(IniRules, GiveTheSettingsValue) {
    const TemplateSettings settings = readSettings(crlf(GetParam().fileLines));
    EXPECT_EQ(settings.*GetParam().field, GetParam().expected);
}

const QByteArray kLong3000(3000, 'x');

INSTANTIATE_TEST_SUITE_P(
    Rows, IniRules,
    ::testing::Values(
        IniRow{"PlainValue", {"[SETTINGS]", "Titel1=Hallo"}, &TemplateSettings::Titel1, "Hallo"},
        IniRow{"KeyInOtherCase", {"[SETTINGS]", "TITEL1=Hallo"}, &TemplateSettings::Titel1, "Hallo"},
        IniRow{"SectionInOtherCase", {"[Settings]", "Titel1=Hallo"}, &TemplateSettings::Titel1, "Hallo"},
        IniRow{"FirstOfTwoKeysCounts", {"[SETTINGS]", "Titel1=erster", "titel1=zweiter"}, &TemplateSettings::Titel1,
               "erster"},
        IniRow{"FirstOfTwoSectionsCounts",
               {"[SETTINGS]", "Titel1=erster", "[SETTINGS]", "Titel1=zweiter", "Titel2=nur im zweiten"},
               &TemplateSettings::Titel1, "erster"},
        IniRow{"KeyOnlyInASecondSectionIsMissing",
               {"[SETTINGS]", "Titel1=erster", "[SETTINGS]", "Titel2=nur im zweiten"}, &TemplateSettings::Titel2, ""},
        IniRow{"BlanksAroundValueRemoved", {"[SETTINGS]", "Berteff=   Betreff mit  Luft   "}, &TemplateSettings::Berteff,
               "Betreff mit  Luft"},
        IniRow{"BlanksAroundKeyIgnored", {"[SETTINGS]", "  Berteff  =Betreff"}, &TemplateSettings::Berteff, "Betreff"},
        IniRow{"ValueIsTextAfterFirstEquals", {"[SETTINGS]", "UnsubscribeLink=http://x.de/?a=1&b=2"},
               &TemplateSettings::UnsubscribeLink, "http://x.de/?a=1&b=2"},
        IniRow{"DoubleQuotesRemoved", {"[SETTINGS]", "Titel1=\"Hallo Welt\""}, &TemplateSettings::Titel1, "Hallo Welt"},
        IniRow{"SingleQuotesRemoved", {"[SETTINGS]", "Titel1='Hallo Welt'"}, &TemplateSettings::Titel1, "Hallo Welt"},
        IniRow{"BlanksInsideQuotesKept", {"[SETTINGS]", "Titel1=  \"  Hallo  \"  "}, &TemplateSettings::Titel1,
               "  Hallo  "},
        IniRow{"UnmatchedQuotesKept", {"[SETTINGS]", "Titel1=\"Hallo'"}, &TemplateSettings::Titel1, "\"Hallo'"},
        IniRow{"QuoteOnlyAtStartKept", {"[SETTINGS]", "Titel1=\"Zitat\" sagt er"}, &TemplateSettings::Titel1,
               "\"Zitat\" sagt er"},
        IniRow{"ValueCutTo2047", {"[SETTINGS]", "ImpressumText=" + kLong3000}, &TemplateSettings::ImpressumText,
               QByteArray(2047, 'x')},
        IniRow{"ValueOf2047Whole", {"[SETTINGS]", "ImpressumText=" + QByteArray(2047, 'y')},
               &TemplateSettings::ImpressumText, QByteArray(2047, 'y')},
        IniRow{"LineWithoutEqualsIgnored", {"[SETTINGS]", "Titel1", "Titel1 Hallo", "Titel1=Hallo"},
               &TemplateSettings::Titel1, "Hallo"},
        IniRow{"EmptyValueOfAPresentKey", {"[SETTINGS]", "Titel1=", "Titel1=zweiter"}, &TemplateSettings::Titel1, ""},
        IniRow{"SectionEndsAtNextBracketLine", {"[SETTINGS]", "Titel1=a", "[BLOCK001]", "Titel2=b"},
               &TemplateSettings::Titel2, ""},
        IniRow{"SectionEndsAtUnclosedBracketLine", {"[SETTINGS]", "Titel1=a", "[Notiz", "Titel2=b"},
               &TemplateSettings::Titel2, ""},
        IniRow{"KeysBeforeTheSectionIgnored", {"Titel1=davor", "[SETTINGS]", "Titel2=b"}, &TemplateSettings::Titel1, ""},
        IniRow{"OtherSectionFirst", {"[ANDERES]", "Titel1=fremd", "[SETTINGS]", "Titel1=eigen"},
               &TemplateSettings::Titel1, "eigen"},
        IniRow{"NoSettingsSection", {"Titel1=a", "[BLOCK001]", "Titel1=b"}, &TemplateSettings::Titel1, ""},
        IniRow{"Windows1252BytesKept", {"[SETTINGS]", "Berteff=Gr\xFC\xDF" "e \x80"}, &TemplateSettings::Berteff,
               "Gr\xFC\xDF" "e \x80"},
        IniRow{"StoredReferenceKept", {"[SETTINGS]", "Berteff=Schnee &#9731;"}, &TemplateSettings::Berteff,
               "Schnee &#9731;"},
        IniRow{"KeySpelledBetreffIsNotTheSubject", {"[SETTINGS]", "Betreff=falsch", "Berteff=richtig"},
               &TemplateSettings::Berteff, "richtig"},
        IniRow{"SeperatorWithE", {"[SETTINGS]", "SeparatorNews=a.jpg", "SeperatorNews=b.jpg"},
               &TemplateSettings::SeperatorNews, "b.jpg"},
        IniRow{"AlignmentLeftWithCapitalKept", {"[SETTINGS]", "LogoAlign=Left"}, &TemplateSettings::LogoAlign, "Left"},
        IniRow{"DateOnMissingReadsTrue", {"[SETTINGS]", "Titel1=a"}, &TemplateSettings::DateOn, "TRUE"},
        IniRow{"DateOnInEmptyFileReadsTrue", {}, &TemplateSettings::DateOn, "TRUE"},
        IniRow{"DateOnPresentButEmpty", {"[SETTINGS]", "DateOn="}, &TemplateSettings::DateOn, ""},
        IniRow{"DateOnLowerCaseKeptAsRead", {"[SETTINGS]", "DateOn=true"}, &TemplateSettings::DateOn, "true"},
        IniRow{"DateOnOnlyInLaterSection", {"[SETTINGS]", "Titel1=a", "[X]", "DateOn=FALSE"}, &TemplateSettings::DateOn,
               "TRUE"}),
    [](const auto& info) { return std::string(info.param.name); });

struct DateOnRow {
    const char* name;
    QByteArray line;
    bool on;
};

class DateOnSwitch : public ::testing::TestWithParam<DateOnRow> {};

TEST_P(DateOnSwitch, IsOnOnlyForExactlyTRUE) {
    QList<QByteArray> lines{"[SETTINGS]", "Titel1=a"};
    if (!GetParam().line.isNull()) lines.append(GetParam().line);
    EXPECT_EQ(readSettings(crlf(lines)).dateOn(), GetParam().on);
}

INSTANTIATE_TEST_SUITE_P(Rows, DateOnSwitch,
                         ::testing::Values(DateOnRow{"UpperCaseTrue", "DateOn=TRUE", true},
                                           DateOnRow{"TrueWithBlanks", "DateOn=  TRUE ", true},
                                           DateOnRow{"QuotedTrue", "DateOn=\"TRUE\"", true},
                                           DateOnRow{"LowerCaseTrue", "DateOn=true", false},
                                           DateOnRow{"MixedCaseTrue", "DateOn=True", false},
                                           DateOnRow{"False", "DateOn=FALSE", false},
                                           DateOnRow{"Empty", "DateOn=", false},
                                           DateOnRow{"Missing", QByteArray(), true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ReadSettings, AcceptsEveryKindOfLineEnd) {
    const TemplateSettings expected = test::sampleSettings();
    const QList<QByteArray> lines = test::sampleSettingsLines();
    for (const QByteArray& br : {QByteArray("\r\n"), QByteArray("\n"), QByteArray("\r")}) {
        EXPECT_EQ(readSettings(lines.join(br) + br), expected) << "line end " << br.toHex().constData();
    }
}

TEST(ReadSettingsFile, MissingFileReadsAsAllEmptyWithTheDateOn) {
    TempFolder folder;
    TemplateSettings expected;
    expected.DateOn = "TRUE";
    EXPECT_EQ(readSettingsFile(folder.file(QStringLiteral("fehlt.nld"))), expected);
}

// --- Setting pictures: a moved-away file is looked for in the images folder ---

struct PictureRow {
    const char* name;
    QString stored;    // "{images}" and "{elsewhere}" stand for the test's folders
    QString expected;
};

class SettingPictures : public ::testing::TestWithParam<PictureRow> {
protected:
    void SetUp() override {
        images_ = root_.subfolder(QStringLiteral("Images"));
        elsewhere_ = root_.subfolder(QStringLiteral("Eigene Bilder \u00e4"));
        writeAll(elsewhere_ + QStringLiteral("da.jpg"), "jpeg");
    }
    QByteArray expand(const QString& text) const {
        QString t = text;
        t.replace(QStringLiteral("{images}"), images_).replace(QStringLiteral("{elsewhere}"), elsewhere_);
        return toStored(t);
    }

    TempFolder root_;
    QString images_;
    QString elsewhere_;
};

TEST_P(SettingPictures, ResolveAgainstTheImagesFolder) {
    TemplateSettings settings;
    settings.KopfLogo = settings.SeperatorNews = settings.SeperatorImpressum = expand(GetParam().stored);
    settings.Titel1 = "C:\\nicht\\da.jpg";  // not a picture setting: never touched
    resolveSettingPictures(settings, images_);
    const QByteArray expected = expand(GetParam().expected);
    EXPECT_EQ(settings.KopfLogo, expected);
    EXPECT_EQ(settings.SeperatorNews, expected);
    EXPECT_EQ(settings.SeperatorImpressum, expected);
    EXPECT_EQ(settings.Titel1, QByteArray("C:\\nicht\\da.jpg"));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SettingPictures,
    ::testing::Values(
        PictureRow{"ExistingFileStays", u"{elsewhere}da.jpg"_qs, u"{elsewhere}da.jpg"_qs},
        PictureRow{"MovedAwayWindowsPath", u"C:\\Eigene Dateien\\Logo.jpg"_qs, u"{images}Logo.jpg"_qs},
        PictureRow{"MovedAwayLinuxPath", u"{elsewhere}weg/Logo.jpg"_qs, u"{images}Logo.jpg"_qs},
        PictureRow{"DriveWithoutFolder", u"D:Logo.jpg"_qs, u"{images}Logo.jpg"_qs},
        PictureRow{"NameWithUmlaut", u"C:\\Bilder\\Grüße.jpg"_qs, u"{images}Grüße.jpg"_qs},
        PictureRow{"EmptyBecomesTheImagesFolder", QString(), u"{images}"_qs},
        PictureRow{"FolderIsNoFile", u"{elsewhere}"_qs, u"{images}"_qs}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zw
