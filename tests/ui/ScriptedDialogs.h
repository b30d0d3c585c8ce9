#pragma once
// A dialog service for tests: answers come from scripts, every request is recorded,
// and nothing modal is ever opened.
#include "DialogService.h"

#include <QDialog>

#include <deque>
#include <functional>
#include <string>
#include <vector>

class ScriptedDialogs : public DialogService {
public:
    struct FileRequest {
        std::string dialog;
        QString initialFile;
    };
    struct Message {
        QString title;
        QString text;
    };

    // Answers for the next dialogs, in order; nullopt or none left: cancelled.
    std::deque<std::optional<QString>> fileAnswers;
    std::deque<std::optional<QColor>> colorAnswers;
    std::deque<std::optional<int>> scaleAnswers;
    std::deque<UnsavedChangesAnswer> unsavedAnswers; // none left: Cancel
    std::vector<QString> unsavedQuestions;
    std::vector<bool> unsavedOfferedSave;
    std::deque<OpenedFolderAnswer> openedFolderAnswers; // none left: Cancel
    std::vector<QString> openedFolderQuestions;
    std::deque<bool> confirmAnswers; // none left: No
    std::vector<QString> confirmQuestions;
    std::deque<std::optional<QString>> lineAnswers;
    std::vector<QString> lineRequests; // the text each line editor started with

    std::vector<FileRequest> fileRequests;
    std::vector<QColor> colorRequests;
    std::vector<std::vector<QColor>> colorCustoms; // the custom colours each colour dialog offered
    std::vector<int> scaleRequests; // the scale each scale dialog started with
    std::vector<Message> errors;
    std::vector<Message> warnings;
    std::vector<QDialog*> modals;

    // Run while the error box, or a modal window, "is open".
    std::function<void()> whileErrorShown;
    std::function<void(QDialog&)> whileModalShown;

    void ShowError(const QString& title, const QString& text) override
    {
        errors.push_back({title, text});
        if (whileErrorShown)
            whileErrorShown();
    }
    void ShowWarning(const QString& title, const QString& text) override { warnings.push_back({title, text}); }
    UnsavedChangesAnswer AskUnsavedChanges(const QString& text, bool offerSave) override
    {
        unsavedQuestions.push_back(text);
        unsavedOfferedSave.push_back(offerSave);
        if (unsavedAnswers.empty())
            return UnsavedChangesAnswer::Cancel;
        const UnsavedChangesAnswer answer = unsavedAnswers.front();
        unsavedAnswers.pop_front();
        return answer;
    }
    OpenedFolderAnswer AskWriteIntoOpened(const QString& text) override
    {
        openedFolderQuestions.push_back(text);
        if (openedFolderAnswers.empty())
            return OpenedFolderAnswer::Cancel;
        const OpenedFolderAnswer answer = openedFolderAnswers.front();
        openedFolderAnswers.pop_front();
        return answer;
    }
    bool Confirm(const QString& text) override
    {
        confirmQuestions.push_back(text);
        if (confirmAnswers.empty())
            return false;
        const bool answer = confirmAnswers.front();
        confirmAnswers.pop_front();
        return answer;
    }
    void ShowModal(QDialog& dialog) override
    {
        modals.push_back(&dialog);
        dialog.show();
        if (whileModalShown)
            whileModalShown(dialog);
    }

protected:
    std::optional<QString> RunFileDialog(const FileDialogSettings& settings, const QString& initialFile) override
    {
        fileRequests.push_back({settings.objectName, initialFile});
        return Next(fileAnswers);
    }
    std::optional<QColor> RunColorDialog(const QColor& initial, const std::vector<QColor>& custom) override
    {
        colorRequests.push_back(initial);
        colorCustoms.push_back(custom);
        return Next(colorAnswers);
    }
    std::optional<int> RunScaleDialog(const QString&, int initial, int) override
    {
        scaleRequests.push_back(initial);
        return Next(scaleAnswers);
    }
    std::optional<QString> RunLineDialog(const QString&, const QString& text) override
    {
        lineRequests.push_back(text);
        return Next(lineAnswers);
    }

private:
    template <typename T>
    static std::optional<T> Next(std::deque<std::optional<T>>& answers)
    {
        std::optional<T> answer;
        if (!answers.empty()) {
            answer.swap(answers.front());
            answers.pop_front();
        }
        return answer;
    }
};
