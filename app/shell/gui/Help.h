#pragma once
// The program's help: the help file "Raylen09.hlp" beside the program (HTML),
// shown in a help window that opens on its index with an empty, focused
// search field.
#include "platform/UiService.h"

#include <string>

#include <QWidget>

class QLineEdit;
class QListWidget;
class QTextBrowser;

namespace raylen {

constexpr const char* helpFileName = "Raylen09.hlp";
// Partial-key search with no key.
constexpr int helpPartialKey = 261;

// The help file beside the program, or in the installed data folder.
std::string helpFilePath();

// Sets the help file and command on the main window's common dialog and
// shows help, on topic (an anchor of the help file) when one is given.
void dsHelp(const std::string& topic = {});

// The dialog service's help request: opens (or raises) the help window.
void showHelpFor(const platform::CommonDialog& dialog);
void closeHelpWindow();

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);
    // Loads the file and shows its index; false when it cannot be read.
    bool openFile(const QString& path, int command);
    // Selects the topic with this anchor and shows it; false when there is none.
    bool openTopic(const QString& anchor);

    QLineEdit* txtSearch = nullptr;
    QListWidget* lstIndex = nullptr;
    QTextBrowser* txtPage = nullptr;

private:
    void filterIndex(const QString& text);
    void showTopic();
};

// The open help window, if any.
HelpWindow* helpWindow();

} // namespace raylen
