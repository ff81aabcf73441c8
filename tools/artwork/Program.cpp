#include "Themes.h"
namespace art {
void drawProgram(const Output&) {}
}
