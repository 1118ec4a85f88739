#pragma once
// The replaceable message-box and common-dialog service. The window program
// installs the Qt implementation; tests install ScriptedUiService, which
// answers from a script and records every text, icon and title shown.
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// MsgBox style bits, as Basic numbers them.
enum MsgBoxStyle : int {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbAbortRetryIgnore = 2,
    vbYesNoCancel = 3,
    vbYesNo = 4,
    vbRetryCancel = 5,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
    vbDefaultButton2 = 256,
    vbDefaultButton3 = 512,
    vbSystemModal = 4096,
};

enum MsgBoxResult : int {
    vbOK = 1,
    vbCancel = 2,
    vbAbort = 3,
    vbRetry = 4,
    vbIgnore = 5,
    vbYes = 6,
    vbNo = 7,
};

inline int msgBoxButtons(int style) { return style & 0x0F; }
inline int msgBoxIcon(int style) { return style & 0xF0; }

enum class DialogMode { Open = 1, Save = 2, Printer = 3, Help = 4 };

// The common dialog control's properties that the system uses.
struct CommonDialog {
    std::string DialogTitle;
    std::string Filter;      // "text|pattern|text|pattern|..."
    int FilterIndex = 1;     // 1-based
    std::string FileName;
    bool CancelError = false;
    std::string HelpFile;
    int HelpCommand = 0;
    std::string HelpKey; // the topic to open on; empty: the index
    std::string InitDir; // where a file dialog starts when FileName names no folder
};

// One "text|pattern" entry of a filter string.
struct FilterEntry {
    std::string text;
    std::string pattern;
};
std::vector<FilterEntry> parseFilter(const std::string& filter);

class UiService {
public:
    virtual ~UiService() = default;
    // Shows a message box; returns one of MsgBoxResult.
    virtual int msgBox(const std::string& prompt, int style, const std::string& title) = 0;
    // Shows a common dialog; false when the user cancelled. On success the
    // dialog's FileName and FilterIndex hold the choice.
    virtual bool showDialog(CommonDialog& dialog, DialogMode mode) = 0;
};

// The installed service (a console fallback when none was installed).
UiService& ui();
// Installs a service; returns the previous one. nullptr restores the fallback.
UiService* setUiService(UiService* service);

// Basic's MsgBox on the installed service.
int MsgBox(const std::string& prompt, int style = vbOKOnly, const std::string& title = "Raylen");

// Test double: answers from queues and records everything shown.
class ScriptedUiService : public UiService {
public:
    struct Shown {
        std::string prompt;
        int style = 0;
        std::string title;
        int icon() const { return msgBoxIcon(style); }
        int buttons() const { return msgBoxButtons(style); }
    };
    struct DialogCall {
        CommonDialog dialog; // as the caller set it up
        DialogMode mode;
    };
    struct DialogAnswer {
        bool cancel = false;
        std::string fileName;
        int filterIndex = 0; // 0 keeps the caller's index
    };

    int msgBox(const std::string& prompt, int style, const std::string& title) override;
    bool showDialog(CommonDialog& dialog, DialogMode mode) override;

    // Answers used in order; an empty queue answers OK / Yes (the first button).
    std::deque<int> answers;
    std::deque<DialogAnswer> dialogAnswers;
    // Optional hook run when a message box is shown (after recording).
    std::function<void(const Shown&)> onMessage;

    std::vector<Shown> shown;
    std::vector<DialogCall> dialogs;

    void answerDialog(std::string fileName, int filterIndex = 0) { dialogAnswers.push_back({false, std::move(fileName), filterIndex}); }
    void cancelDialog() { dialogAnswers.push_back({true, {}, 0}); }
};

// Installs a service for the lifetime of a scope.
class ScopedUiService {
public:
    explicit ScopedUiService(UiService* service) : previous_(setUiService(service)) {}
    ~ScopedUiService() { setUiService(previous_); }
    ScopedUiService(const ScopedUiService&) = delete;
    ScopedUiService& operator=(const ScopedUiService&) = delete;

private:
    UiService* previous_;
};

} // namespace platform
