#pragma once

#include <QByteArray>
#include <QList>

#include <array>

namespace zw {

// The nineteen settings of a template, named by their keys in the .nld file. Every value is one line
// of Windows-1252 text, held exactly as stored.
struct TemplateSettings {
    QByteArray Berteff;
    QByteArray KopfLogo;
    QByteArray LogoAlign;
    QByteArray Titel1;
    QByteArray Titel2;
    QByteArray DateText;
    QByteArray SeperatorNews;
    QByteArray SeperatorAlign;
    QByteArray SeperatorImpressum;
    QByteArray ImpressumAlign;
    QByteArray ImpressumText;
    QByteArray ImpressumMailTo;
    QByteArray ImpressumURL;
    QByteArray TextColor;
    QByteArray LinkColor;
    QByteArray BKGColor;
    QByteArray UnsubscribeLink;
    QByteArray UnsubscribeText;
    QByteArray DateOn;  // "TRUE" or "FALSE"; only exactly "TRUE" means on

    // Later additions, written after DateOn and only when set, so that a template that does not use
    // them is stored byte for byte as before and an older reader skips them without losing anything.
    QByteArray Layout;        // "mobil" for the phone layout; empty or "klassisch" for the classic one
    QByteArray Vorschautext;  // the line mail programs show beside the subject; empty: none

    bool dateOn() const { return DateOn == "TRUE"; }
    bool mobileLayout() const { return Layout == kMobileLayout; }
    static constexpr const char* kMobileLayout = "mobil";
    bool operator==(const TemplateSettings&) const = default;
};

// The keys in the order the writer emits them; DateOn comes last.
struct SettingKey {
    const char* key;
    QByteArray TemplateSettings::*field;
};
inline constexpr std::array<SettingKey, 19> kSettingKeys{{
    {"Berteff", &TemplateSettings::Berteff},
    {"KopfLogo", &TemplateSettings::KopfLogo},
    {"LogoAlign", &TemplateSettings::LogoAlign},
    {"Titel1", &TemplateSettings::Titel1},
    {"Titel2", &TemplateSettings::Titel2},
    {"DateText", &TemplateSettings::DateText},
    {"SeperatorNews", &TemplateSettings::SeperatorNews},
    {"SeperatorAlign", &TemplateSettings::SeperatorAlign},
    {"SeperatorImpressum", &TemplateSettings::SeperatorImpressum},
    {"ImpressumAlign", &TemplateSettings::ImpressumAlign},
    {"ImpressumText", &TemplateSettings::ImpressumText},
    {"ImpressumMailTo", &TemplateSettings::ImpressumMailTo},
    {"ImpressumURL", &TemplateSettings::ImpressumURL},
    {"TextColor", &TemplateSettings::TextColor},
    {"LinkColor", &TemplateSettings::LinkColor},
    {"BKGColor", &TemplateSettings::BKGColor},
    {"UnsubscribeLink", &TemplateSettings::UnsubscribeLink},
    {"UnsubscribeText", &TemplateSettings::UnsubscribeText},
    {"DateOn", &TemplateSettings::DateOn},
}};

// The optional keys, in the order the writer emits them after DateOn.
inline constexpr std::array<SettingKey, 2> kOptionalSettingKeys{{
    {"Layout", &TemplateSettings::Layout},
    {"Vorschautext", &TemplateSettings::Vorschautext},
}};

// One news item, as five lines in this order.
struct NewsBlock {
    QByteArray Headline;
    QByteArray Picture;
    QByteArray LinkText;
    QByteArray LinkUrl;
    QByteArray Text;

    QList<QByteArray> lines() const { return {Headline, Picture, LinkText, LinkUrl, Text}; }
    // Missing lines read as empty; lines beyond the fifth are ignored.
    static NewsBlock fromLines(const QList<QByteArray>& lines);
    bool operator==(const NewsBlock&) const = default;
};

// A whole template: the settings and 0 to 999 blocks in newsletter order.
struct NewsletterTemplate {
    static constexpr int kMaxBlocks = 999;

    TemplateSettings settings;
    QList<NewsBlock> blocks;
};

}  // namespace zw
