#pragma once
// One function per picture set. Each draws the head logo, the two separators and the block pictures
// of one shipped template; the picture file names are the ones its template refers to.

#include "Paint.h"

namespace art {

void drawGarden(const Output& out);   // Zettelwerk_Vorlage.nld: allotment garden club
void drawNeutral(const Output& out);  // NEW.nld: neutral placeholders
void drawSport(const Output& out);    // Vorlagen/Sportverein.nld
void drawCafe(const Output& out);     // Vorlagen/Cafe_Sonnenschein.nld
void drawTech(const Output& out);     // Vorlagen/Technik_Rundbrief.nld
void drawKita(const Output& out);     // Vorlagen/Kita_Elternbrief.nld
void drawProgram(const Output& out);  // recom/: head band, about, tip, notices and showcase

}  // namespace art
