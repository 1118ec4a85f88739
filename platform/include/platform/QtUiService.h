#pragma once
// The dialog service of the window program: Qt message boxes, file dialogs
// and print dialogs.
#include "platform/UiService.h"

#include <functional>

class QPrinter;
class QWidget;

namespace platform {

class QtUiService : public UiService {
public:
    int msgBox(const std::string& prompt, int style, const std::string& title) override;
    bool showDialog(CommonDialog& dialog, DialogMode mode) override;

    // Parent of the dialogs (the main window); may be null.
    QWidget* parent = nullptr;
    // Shows help for a dialog in help mode (set by the program).
    std::function<void(const CommonDialog&)> helpHandler;
};

// The printer kept for the whole run (the print dialog record).
QPrinter& sharedPrinter();

} // namespace platform
