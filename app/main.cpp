// The window program.
#include "image/gui/ImageWindowLink.h"
#include "platform/QtUiService.h"
#include "platform/UiService.h"
#include "plot/gui/FrmPlot.h"
#include "plot/gui/MeasureLinks.h"
#include "reduce/gui/FrmApall.h"
#include "reduce/gui/FrmCalib.h"
#include "shell/AppState.h"
#include "shell/gui/FileIntake.h"
#include "shell/gui/Fonts.h"
#include "shell/gui/Help.h"
#include "shell/gui/MdiRaylen.h"
#include "shell/gui/SingleInstance.h"
#include "shell/gui/ToolBarIcons.h"

#include <QApplication>
#include <QTimer>
#include <QUrl>

#include <cstdlib>
#include <memory>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Raylen");
    raylen::installFontSubstitutions();
    raylen::registerPlotWindow();
    raylen::registerPlotMeasureWindows();
    raylen::registerReduceTaskDialogs();
    QApplication::setWindowIcon(raylen::programIcon());
    raylen::registerImageWindow();

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

    raylen::registerFrmApall();

    int status = 0;
    {
        auto window = std::make_unique<raylen::MdiRaylen>();
        windows.parent = window.get();
        window->show();
        // Files named on the command line open as a drop of them would: the last one.
        QList<QUrl> files;
        for (const QString& argument : QApplication::arguments().mid(1))
            if (!argument.startsWith('-'))
                files << QUrl::fromLocalFile(argument);
        if (!files.isEmpty())
            QTimer::singleShot(0, window.get(), [files] {
                std::string message = raylen::sfOpenFileOLEDrop(files, raylen::appState().strFileName);
                if (!message.empty())
                    platform::MsgBox(message, platform::vbCritical, "Raylen");
            });
        status = QApplication::exec();
        windows.parent = nullptr;
    }
    platform::setUiService(nullptr);
    return status;
}
