#pragma once

#include "platform/dialogs.h"

#include <deque>
#include <vector>

// Answers for the user: each question, file dialog and error box takes the next scripted
// answer and is recorded. Anything asked without an answer ready counts as unexpected.
class FakeDialogs : public Dialogs
{
public:
    std::deque<Reply> answers;
    // A full path to confirm, or an empty string to cancel.
    std::deque<QString> files;

    QStringList questions;
    QStringList errors;
    QStringList errorCaptions;
    std::vector<FileDialogRequest> fileRequests;
    int unexpected = 0;

    Reply askYesNo(const QString &caption, const QString &text) override
    {
        questions << caption + QLatin1Char('|') + text;
        if (answers.empty()) {
            ++unexpected;
            return Reply::Cancel;
        }
        const Reply answer = answers.front();
        answers.pop_front();
        return answer;
    }

    void showError(const QString &caption, const QString &text) override
    {
        errorCaptions << caption;
        errors << text;
    }

    std::optional<FileDialogResult> runFileDialog(const FileDialogRequest &request) override
    {
        fileRequests.push_back(request);
        if (files.empty()) {
            ++unexpected;
            return std::nullopt;
        }
        const QString file = files.front();
        files.pop_front();
        if (file.isEmpty())
            return std::nullopt;
        return FileDialogResult{file, request.filterIndex};
    }
};
