#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QLabel;
class QPlainTextEdit;
class QStackedWidget;
class QToolButton;

namespace zw {

class FormattedNewsEdit;

// The two views of the news text: "Formatiert" shows the markup as formatting, "HTML" is the source
// editor Memo1. Memo1 stays the text the block cycle stores: an edit in the formatted view is written
// back into it at once, and a text the formatted view cannot show faithfully is never rewritten by it
// but stays in the source view with a note. The choice of view is the user's, remembered in the
// working files, not in the template.
class NewsViewsPart : public QObject {
    Q_OBJECT
public:
    // Makes the two view buttons and the note as children of parent; the window places them.
    NewsViewsPart(QPlainTextEdit* memo, FormattedNewsEdit* formatted, QStackedWidget* stack,
                  const QString& programFolder, QWidget* parent);

    QToolButton* FormattedButton = nullptr;
    QToolButton* HtmlButton = nullptr;
    QLabel* HtmlOnlyNote = nullptr;

    // True while the formatted view is the one shown.
    bool formattedShown() const;
    // The user's choice of view; remembered for the next start.
    void chooseFormatted(bool formatted);
    // The template's link colour, for links in the formatted view.
    std::function<QColor()> linkColour;

Q_SIGNALS:
    // The view shown changed (the tool bar's undo follows the view).
    void viewChanged();

private:
    void sourceChanged();
    void formattedChanged();
    // Reads the source text into the formatted view and shows the view that can hold it.
    void showText();
    void showPage(bool formatted);

    QPlainTextEdit* memo_;
    FormattedNewsEdit* formatted_;
    QStackedWidget* stack_;
    QString choiceFile_;
    bool preferFormatted_ = true;
    bool writingBack_ = false;
    bool loading_ = false;
};

}  // namespace zw
