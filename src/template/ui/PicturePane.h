#pragma once

#include <QDateTime>
#include <QLabel>
#include <QString>

namespace zw {

// A small pane that shows one picture file scaled to fit, or nothing for "about:blank".
class PicturePane : public QLabel {
    Q_OBJECT
public:
    explicit PicturePane(QWidget* parent = nullptr);

    // A file path or "about:blank".
    void navigate(const QString& target);
    // A picture decoded elsewhere (a kind the toolkit cannot read), shown for the file target.
    void showPicture(const QString& target, const QImage& picture);
    const QString& target() const { return target_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void refresh();

    QString target_;
    QPixmap picture_;
    // What was asked for last, and the file's state then.
    QString requested_;
    QDateTime stamp_;
    qint64 size_ = -1;
};

inline const QString kAboutBlank = QStringLiteral("about:blank");

}  // namespace zw
