// The window program.
#include "platform/QtUiService.h"
#include "platform/UiService.h"
#include "shell/gui/Fonts.h"
#include "shell/gui/Help.h"
#include "shell/gui/MdiRaylen.h"
#include "shell/gui/SingleInstance.h"
#include "shell/gui/ToolBarIcons.h"

#include <QApplication>

#include <cstdlib>
#include <memory>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Raylen");
    raylen::installFontSubstitutions();
    QApplication::setWindowIcon(raylen::programIcon());

    // RAYLEN_CONSOLE_UI=1 leaves the console dialog service in place:
    // messages go to standard error and questions take their first button,
    // for runs without anyone at the screen.
    platform::QtUiService windows;
    const bool console = std::getenv("RAYLEN_CONSOLE_UI") != nullptr;
    if (!console) {
        windows.helpHandler = [](const platform::CommonDialog& dialog) { raylen::showHelpFor(dialog); };
        platform::setUiService(&windows);
    }

    raylen::SingleInstance instance;
    if (!instance.acquired()) {
        platform::MsgBox("Raylen は既に起動しています", platform::vbOKOnly, "Raylen");
        platform::setUiService(nullptr);
        return 0;
    }

    int status = 0;
    {
        auto window = std::make_unique<raylen::MdiRaylen>();
        windows.parent = window.get();
        window->show();
        status = QApplication::exec();
        windows.parent = nullptr;
    }
    platform::setUiService(nullptr);
    return status;
}
