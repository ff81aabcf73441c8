#include "Themes.h"
namespace art {
void drawCafe(const Output&) {}
}
