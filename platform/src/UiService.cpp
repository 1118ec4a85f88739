#include "platform/UiService.h"

#include <cstdio>
#include <mutex>

namespace platform {

namespace {

// Without windows (batch use) messages go to standard error and every
// question takes its first button; dialogs are cancelled.
class ConsoleUiService : public UiService {
public:
    int msgBox(const std::string& prompt, int style, const std::string& title) override
    {
        std::fprintf(stderr, "%s: %s\n", title.c_str(), prompt.c_str());
        switch (msgBoxButtons(style)) {
        case vbYesNoCancel:
        case vbYesNo: return vbYes;
        case vbAbortRetryIgnore: return vbAbort;
        case vbRetryCancel: return vbRetry;
        default: return vbOK;
        }
    }
    bool showDialog(CommonDialog&, DialogMode) override { return false; }
};

ConsoleUiService consoleService;
UiService* installed = nullptr;
std::mutex installLock;

int firstButton(int style)
{
    switch (msgBoxButtons(style)) {
    case vbYesNoCancel:
    case vbYesNo: return vbYes;
    case vbAbortRetryIgnore: return vbAbort;
    case vbRetryCancel: return vbRetry;
    default: return vbOK;
    }
}

} // namespace

std::vector<FilterEntry> parseFilter(const std::string& filter)
{
    std::vector<FilterEntry> entries;
    std::vector<std::string> parts;
    std::string current;
    for (char c : filter) {
        if (c == '|') {
            parts.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty())
        parts.push_back(current);
    for (size_t i = 0; i + 1 < parts.size(); i += 2)
        entries.push_back({parts[i], parts[i + 1]});
    return entries;
}

UiService& ui()
{
    std::lock_guard<std::mutex> guard(installLock);
    return installed ? *installed : consoleService;
}

UiService* setUiService(UiService* service)
{
    std::lock_guard<std::mutex> guard(installLock);
    UiService* previous = installed;
    installed = service;
    return previous;
}

int MsgBox(const std::string& prompt, int style, const std::string& title)
{
    return ui().msgBox(prompt, style, title);
}

int ScriptedUiService::msgBox(const std::string& prompt, int style, const std::string& title)
{
    shown.push_back({prompt, style, title});
    if (onMessage)
        onMessage(shown.back());
    if (answers.empty())
        return firstButton(style);
    int answer = answers.front();
    answers.pop_front();
    return answer;
}

bool ScriptedUiService::showDialog(CommonDialog& dialog, DialogMode mode)
{
    dialogs.push_back({dialog, mode});
    if (dialogAnswers.empty())
        return false;
    DialogAnswer answer = dialogAnswers.front();
    dialogAnswers.pop_front();
    if (answer.cancel)
        return false;
    dialog.FileName = answer.fileName;
    if (answer.filterIndex > 0)
        dialog.FilterIndex = answer.filterIndex;
    return true;
}

} // namespace platform
