#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "platform/Prompts.h"

namespace zw::test {

// Scripted answers for the modal questions, and a record of everything that was shown.
class FakePrompts : public Prompts {
public:
    // Answers, taken from the front; an exhausted script fails the test through the record.
    QList<CloseAnswer> closeAnswers;
    QStringList openAnswers;  // empty string = cancel
    QStringList saveAnswers;  // empty string = cancel

    QStringList informations;
    QStringList errors;
    int closeQuestions = 0;
    QStringList openStartFolders;
    QStringList saveSuggestions;
    QStringList saveStartFolders;
    QStringList unexpected;  // questions asked with no scripted answer left

    void information(const QString& text) override { informations.append(text); }
    void error(const QString& text) override { errors.append(text); }
    CloseAnswer askSaveChanges() override {
        ++closeQuestions;
        if (closeAnswers.isEmpty()) {
            unexpected.append(QStringLiteral("askSaveChanges"));
            return CloseAnswer::Cancel;
        }
        return closeAnswers.takeFirst();
    }
    QString chooseTemplateToOpen(const QString& startFolder) override {
        openStartFolders.append(startFolder);
        if (openAnswers.isEmpty()) {
            unexpected.append(QStringLiteral("chooseTemplateToOpen"));
            return {};
        }
        return openAnswers.takeFirst();
    }
    QString chooseTemplateSaveName(const QString& suggestedPath, const QString& startFolder) override {
        saveStartFolders.append(startFolder);
        saveSuggestions.append(suggestedPath);
        if (saveAnswers.isEmpty()) {
            unexpected.append(QStringLiteral("chooseTemplateSaveName"));
            return {};
        }
        return saveAnswers.takeFirst();
    }
};

}  // namespace zw::test
