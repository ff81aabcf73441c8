#include "Themes.h"
namespace art {
void drawKita(const Output&) {}
}
