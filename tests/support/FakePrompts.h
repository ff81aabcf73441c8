#pragma once

#include <QList>
#include <QString>
#include <QStringList>

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

    // Preview and single mail.
    QStringList plainMessages;
    void plainMessage(const QString& text) override { plainMessages.append(text); }

private:
    template <class T>
    T take(QList<T>& answers, const T& cancel, const QString& question) {
        if (!answers.isEmpty()) return answers.takeFirst();
        unexpected.append(question);
        return cancel;
    }
};

}  // namespace zw::test
