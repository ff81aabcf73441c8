#pragma once

// Sample settings and blocks for the template tests, with the file lines they must give, written out
// by hand from the file format's description (key spelling "Berteff", "Seperator..." included).
#include <QByteArray>
#include <QList>

#include "support/Files.h"
#include "template/NewsletterTemplate.h"

namespace zw::test {

inline TemplateSettings sampleSettings() {
    return {.Berteff = "Vereinsnachrichten M\xE4rz", .KopfLogo = "C:\\Bilder\\kopf.jpg", .LogoAlign = "center",
            .Titel1 = "Liebe Mitglieder", .Titel2 = "Neues aus dem Verein", .DateText = "Stand:",
            .SeperatorNews = "C:\\Bilder\\trenner.jpg", .SeperatorAlign = "left",
            .SeperatorImpressum = "C:\\Bilder\\fuss.jpg", .ImpressumAlign = "right",
            .ImpressumText = "Turnverein e.V., Hauptstra\xDF" "e 1", .ImpressumMailTo = "info@example.org",
            .ImpressumURL = "www.example.org", .TextColor = "#000000", .LinkColor = "#0000FF",
            .BKGColor = "#FFFFFF", .UnsubscribeLink = "http://example.org/abmelden?id=7",
            .UnsubscribeText = "Abmelden", .DateOn = "TRUE", .Layout = {}, .Vorschautext = {}};
}

// The "[SETTINGS]" line and the nineteen setting lines of sampleSettings(), in the writer's order.
inline QList<QByteArray> sampleSettingsLines() {
    return {"[SETTINGS]", "Berteff=Vereinsnachrichten M\xE4rz", "KopfLogo=C:\\Bilder\\kopf.jpg",
            "LogoAlign=center", "Titel1=Liebe Mitglieder", "Titel2=Neues aus dem Verein", "DateText=Stand:",
            "SeperatorNews=C:\\Bilder\\trenner.jpg", "SeperatorAlign=left",
            "SeperatorImpressum=C:\\Bilder\\fuss.jpg", "ImpressumAlign=right",
            "ImpressumText=Turnverein e.V., Hauptstra\xDF" "e 1", "ImpressumMailTo=info@example.org",
            "ImpressumURL=www.example.org", "TextColor=#000000", "LinkColor=#0000FF", "BKGColor=#FFFFFF",
            "UnsubscribeLink=http://example.org/abmelden?id=7", "UnsubscribeText=Abmelden", "DateOn=TRUE"};
}

// Five distinct lines for block "tag" (A, B, C, ...).
inline QList<QByteArray> blockLines(const QByteArray& tag) {
    return {"\xDC" "berschrift " + tag, "C:\\Bilder\\bild" + tag + ".jpg", "Mehr zu " + tag,
            "www.example.org/" + tag, "Text <b>" + tag + "</b><br>zweite Zeile"};
}

inline QList<QByteArray> emptyBlock() { return {"", "", "", "", ""}; }

// The lines of block k's section in a template file: " ", its header, its lines.
inline QList<QByteArray> section(int number, const QList<QByteArray>& lines) {
    return QList<QByteArray>{" ", "[BLOCK" + QByteArray::number(number).rightJustified(3, '0') + "]"} + lines;
}

}  // namespace zw::test
