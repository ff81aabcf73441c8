#pragma once

#include <array>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class QTabWidget;
class QWidget;

namespace zw {

class BlockListWidget;
class PicturePane;

// The pages of PageControl1, by index. Pages 5 and 6 act as commands and are never left selected.
enum PageIndex : int {
    kNewsPage = 0,
    kHeaderFooterPage = 1,
    kGraphicsPage = 2,
    kColoursPage = 3,
    kPreviewPage = 4,
    kSingleMailPage = 5,
    kSerialMailPage = 6,
};

// The main window's controls that the template commands read and fill. The window owns them; the
// parts only hold these pointers.
struct TemplateControls {
    QWidget* window = nullptr;  // for the caption
    QTabWidget* PageControl1 = nullptr;

    // Page "Newsmeldungen": the block list and the block editor.
    BlockListWidget* ListBox1 = nullptr;
    QWidget* EditorPanel = nullptr;
    QLineEdit* HeadLineEdit = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QLineEdit* LinkTextEdit = nullptr;
    QLineEdit* URLEdit = nullptr;
    PicturePane* WebBrowser4 = nullptr;
    // "Bild öffnen", "kein Bild verwenden" and WebBrowser4: the picture side of the block editor.
    QWidget* BlockPicturePanel = nullptr;

    // Page "Kopf u. Fußzeile".
    QCheckBox* MobileLayoutCheckBox = nullptr;  // the setting Layout: checked is the phone layout
    QLineEdit* BetreffEdit = nullptr;
    QLineEdit* VorschautextEdit = nullptr;
    QLineEdit* Titel1Edit = nullptr;
    QLineEdit* Titel2Edit = nullptr;
    QCheckBox* DateCheckBox = nullptr;
    QLineEdit* DateEdit = nullptr;
    QLineEdit* DateAnzeigeEdit = nullptr;
    QLineEdit* ImpressumEdit = nullptr;
    QLineEdit* ImpressumMailToEdit = nullptr;
    QLineEdit* ImpressumURLEdit = nullptr;
    QLineEdit* UnsubScribeTextEdit = nullptr;
    QLineEdit* UnsubScribeLinkEdit = nullptr;

    // Page "Grafiken": the three picture panes and their alignment buttons "links", "zentriert",
    // "rechts".
    PicturePane* WebBrowser1 = nullptr;
    PicturePane* WebBrowser2 = nullptr;
    PicturePane* WebBrowser3 = nullptr;
    std::array<QRadioButton*, 3> LogoAlignButtons{};
    std::array<QRadioButton*, 3> SeperatorAlignButtons{};
    std::array<QRadioButton*, 3> ImpressumAlignButtons{};

    // Page "Farben": the colour swatches.
    QFrame* TextColorPanel = nullptr;
    QFrame* LinkColorPanel = nullptr;
    QFrame* BKGColorPanel = nullptr;
    QLabel* ContrastWarningLabel = nullptr;  // says when text or links are hard to read on the background
};

}  // namespace zw
