// Draws every picture that ships in the program folder.
// Usage: zw-artwork <data folder>   (writes <data folder>/Images/*.jpg and <data folder>/recom/*.jpg)

#include "Themes.h"

#include <QGuiApplication>
#include <cstdio>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: zw-artwork <data folder>\n");
        return 2;
    }
    const art::Output out{QString::fromLocal8Bit(argv[1])};
    art::drawGarden(out);
    art::drawNeutral(out);
    art::drawSport(out);
    art::drawCafe(out);
    art::drawTech(out);
    art::drawKita(out);
    art::drawProgram(out);
    return 0;
}
