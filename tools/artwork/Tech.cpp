#include "Themes.h"
namespace art {
void drawTech(const Output&) {}
}
