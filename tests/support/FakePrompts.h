#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

#include "platform/Prompts.h"

namespace zw::test {

// Scripted answers for the modal questions, and a record of everything that was shown.
class FakePrompts : public Prompts {
public:
    // Answers, taken from the front; a question asked with no answer left is recorded in `unexpected`
    // and cancelled.
    QList<CloseAnswer> closeAnswers;
    QStringList openAnswers;  // empty string = cancel
    QStringList saveAnswers;  // empty string = cancel

    QStringList informations, errors;
    int closeQuestions = 0;
    QStringList openStartFolders, saveSuggestions, saveStartFolders;
    QStringList unexpected;

    void information(const QString& text) override { informations.append(text); }
    void error(const QString& text) override { errors.append(text); }
    CloseAnswer askSaveChanges() override {
        ++closeQuestions;
        return take(closeAnswers, CloseAnswer::Cancel, u"askSaveChanges"_qs);
    }
    QString chooseTemplateToOpen(const QString& startFolder) override {
        openStartFolders.append(startFolder);
        return take(openAnswers, QString(), u"chooseTemplateToOpen"_qs);
    }
    QString chooseTemplateSaveName(const QString& suggestedPath, const QString& startFolder) override {
        saveStartFolders.append(startFolder);
        saveSuggestions.append(suggestedPath);
        return take(saveAnswers, QString(), u"chooseTemplateSaveName"_qs);
    }

    // The hand-off to the serial-mail program, help, about, tip and showcase.
    QList<bool> serialMailStartAnswers, serialMailOfferAnswers, tipAnswers, showcaseAnswers;
    // Clicks made inside the about box and the showcase while they are shown.
    std::function<void(const AboutActions&)> aboutClicks;
    std::function<void(const std::function<void(const QString&)>&)> showcaseClicks;
    QStringList plainMessages, serialMailStartFiles;
    int serialMailOffers = 0, abouts = 0, tips = 0, showcases = 0;

    void plainMessage(const QString& text) override { plainMessages.append(text); }
    bool confirmSerialMailStart(const QString& messageFileName) override {
        serialMailStartFiles.append(messageFileName);
        return take(serialMailStartAnswers, false, u"confirmSerialMailStart"_qs);
    }
    bool offerSerialMailProgram() override {
        ++serialMailOffers;
        return take(serialMailOfferAnswers, false, u"offerSerialMailProgram"_qs);
    }
    void showAbout(const AboutActions& actions) override {
        ++abouts;
        if (aboutClicks)
            aboutClicks(actions);
    }
    // The tip and the showcase come unasked in every window test; an unscripted one is simply closed.
    bool showTip() override {
        ++tips;
        return !tipAnswers.isEmpty() && tipAnswers.takeFirst();
    }
    bool showShowcase(const std::function<void(const QString&)>& moreInfo) override {
        ++showcases;
        if (showcaseClicks)
            showcaseClicks(moreInfo);
        return !showcaseAnswers.isEmpty() && showcaseAnswers.takeFirst();
    }

    // News-text commands and colours.
    QList<LinkAnswer> linkAnswers;                // a cancel that leaves no text: {false, ""}
    QStringList linkShown;                        // what the field showed each time
    QList<std::optional<quint32>> colourAnswers;  // nullopt = cancel
    QList<quint32> colourShown;                   // the colour each dialog opened with
    LinkAnswer askHyperlink(const QString& address) override {
        linkShown.append(address);
        return take(linkAnswers, LinkAnswer{false, address}, u"askHyperlink"_qs);
    }
    std::optional<quint32> chooseColour(quint32 colour) override {
        colourShown.append(colour);
        return take(colourAnswers, std::optional<quint32>(), u"chooseColour"_qs);
    }

    // Pictures.
    QStringList pictureAnswers;              // empty string = cancel
    QList<std::optional<int>> widthAnswers;  // the width typed and "Ja", or nullopt for "Nein"
    QList<int> widthQuestions;               // the width each question showed
    QString choosePicture() override { return take(pictureAnswers, QString(), u"choosePicture"_qs); }
    bool askResizeWidth(int& resizeWidth) override {
        widthQuestions.append(resizeWidth);
        const std::optional<int> answer = take(widthAnswers, std::optional<int>(), u"askResizeWidth"_qs);
        if (answer)
            resizeWidth = *answer;
        return answer.has_value();
    }

    // Sending.
    QList<std::optional<QString>> passwordAnswers;  // nullopt = cancel
    QList<bool> testMailAnswers;
    QStringList passwordQuestions, testMailOffers;
    std::optional<QString> askPassword(const QString& question) override {
        passwordQuestions.append(question);
        return take(passwordAnswers, std::optional<QString>(), u"askPassword"_qs);
    }
    bool offerTestMail(const QString& text) override {
        testMailOffers.append(text);
        return take(testMailAnswers, false, u"offerTestMail"_qs);
    }

    // Sending to a list.
    QList<ResumeAnswer> resumeAnswers;
    QList<bool> closeWhileSendingAnswers;
    QStringList resumeQuestions, closeWhileSendingQuestions;
    int tipsBeforeFirstResumeQuestion = -1;
    ResumeAnswer askResumeCampaign(const QString& text) override {
        if (resumeQuestions.isEmpty())
            tipsBeforeFirstResumeQuestion = tips;
        resumeQuestions.append(text);
        return take(resumeAnswers, ResumeAnswer::Later, u"askResumeCampaign"_qs);
    }
    bool confirmCloseWhileSending(const QString& text) override {
        closeWhileSendingQuestions.append(text);
        return take(closeWhileSendingAnswers, false, u"confirmCloseWhileSending"_qs);
    }

private:
    template <class T>
    T take(QList<T>& answers, const T& cancel, const QString& question) {
        if (!answers.isEmpty())
            return answers.takeFirst();
        unexpected.append(question);
        return cancel;
    }
};

}  // namespace zw::test
