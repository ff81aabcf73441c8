#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <utility>

namespace zw {

class Prompts;
class TMainForm;

// Opens the templates that later copies of the program hand over to the running one. A path waits while a
// dialog is open, then opens as "Vorlage öffnen" opens a file, and the window comes to the front.
class TemplateHandOff : public QObject {
    Q_OBJECT
public:
    TemplateHandOff(TMainForm& window, Prompts& prompts, QObject* parent = nullptr);

    // A path another copy handed over.
    void open(const QString& path);
    // The paths still waiting when the window closed (they came while its close question was open).
    QStringList takeWaiting() { return std::exchange(waiting_, {}); }

private:
    void openWaiting();

    TMainForm& window_;
    Prompts& prompts_;
    QStringList waiting_;
};

// The template named on the command line (the first argument that is no option), as an absolute
// path; empty when there is none.
QString templateArgument(const QStringList& arguments);

}  // namespace zw
