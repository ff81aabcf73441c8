#pragma once

#include <QLabel>
#include <QStringList>

#include <memory>

#include "dispatch/ui/PreviewView.h"

namespace zw::test {

// A preview view that records what it was sent, so that window tests need no web engine.
class RecordingPreview : public PreviewView {
public:
    struct Log {
        QStringList shown;  // preview names, in order
        QList<int> fits;    // the widths asked for by fitToWidth, in order
        int unscaled = 0;   // calls of showUnscaled
        std::shared_ptr<const PreviewMessage> last;
    };
    explicit RecordingPreview(std::shared_ptr<Log> log) : log_(std::move(log)) {
        label_->setAccessibleName(QStringLiteral("Vorschau"));
    }
    QWidget* widget() override { return label_.get(); }
    void showMessage(std::shared_ptr<const PreviewMessage> message, const QString& previewName) override {
        log_->shown.append(previewName);
        log_->last = std::move(message);
    }

    void fitToWidth(int width) override { log_->fits.append(width); }
    void showUnscaled() override { ++log_->unscaled; }

    // A factory for PreviewPart::setViewFactory whose views all write to log.
    static PreviewViewFactory factory(std::shared_ptr<Log> log) {
        return [log] { return std::make_unique<RecordingPreview>(log); };
    }

private:
    std::shared_ptr<Log> log_;
    std::unique_ptr<QLabel> label_ = std::make_unique<QLabel>();
};

}  // namespace zw::test
