#pragma once

#include <QString>

namespace zw::send {

// Where a dialog for a list of addresses starts: the folder of the last list chosen in this run, else
// the documents folder (the home folder only when there is none).
QString listStartFolder();
void rememberListFile(const QString& path);

}  // namespace zw::send
