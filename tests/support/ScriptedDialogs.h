// Test stand-in for the dialogs: answers from queues the test fills, records what was shown.
#pragma once

#include "platform/Dialogs.h"

#include <deque>
#include <string>
#include <vector>

namespace velmora::testing
{

class ScriptedDialogs final : public platform::IDialogs
{
public:
    struct Shown {
        platform::MessageKind kind;
        QString text;
    };

    ScriptedDialogs() { previous_ = platform::setDialogs(this); }
    ~ScriptedDialogs() override { platform::setDialogs(previous_); }

    // What the next boxes answer; an empty queue answers the first button offered, the
    // default that Enter presses.
    std::deque<platform::Answer> answers;
    // What the next input boxes return; nullopt stands for Cancel. Empty queue: Cancel.
    std::deque<std::optional<QString>> inputs;
    // What the next open and save dialogs return; nullopt stands for Cancel. Empty: Cancel.
    std::deque<std::optional<QString>> files;

    std::vector<Shown> messages;
    std::vector<QString> inputPrompts;
    std::vector<platform::FileDialogRequest> fileRequests;

    platform::Answer message(platform::MessageKind kind, const QString &text,
                             const std::vector<platform::Answer> &buttons) override
    {
        messages.push_back({kind, text});
        if (!answers.empty()) {
            auto a = answers.front();
            answers.pop_front();
            return a;
        }
        return buttons.empty() ? platform::Answer::Ok : buttons.front();
    }

    std::optional<QString> input(const QString &caption, const QString &prompt, const QString &value) override
    {
        (void)value;
        inputPrompts.push_back(caption + QLatin1Char('|') + prompt);
        return next(inputs);
    }

    std::optional<QString> openFile(const platform::FileDialogRequest &request) override
    {
        fileRequests.push_back(request);
        return next(files);
    }

    std::optional<QString> saveFile(const platform::FileDialogRequest &request) override
    {
        fileRequests.push_back(request);
        return next(files);
    }

private:
    static std::optional<QString> next(std::deque<std::optional<QString>> &q)
    {
        if (q.empty() || !q.front()) {
            if (!q.empty())
                q.pop_front();
            return std::nullopt;
        }
        const QString value = *q.front();
        q.pop_front();
        return value;
    }

    platform::IDialogs *previous_ = nullptr;
};

} // namespace velmora::testing
