// The window program.
#include "ProgramWindows.h"
#include "shell/gui/QtTranslations.h"
#include "platform/QtUiService.h"
#include "platform/UiService.h"
#include "shell/gui/CommandLine.h"
#include "shell/gui/ComponentSetup.h"
#include "shell/gui/Help.h"
#include "shell/gui/MdiRaylen.h"
#include "shell/gui/SingleInstance.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {
constexpr const char* alreadyRunning = "Raylen は既に起動しています";
} // namespace

int main(int argc, char** argv)
{
    // Answered before Qt starts, so that they need no display.
    const raylen::CommandLine early = raylen::parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (early.version) {
        std::printf("%s\n", raylen::versionLine().c_str());
        return 0;
    }
    if (early.help) {
        std::fputs(raylen::usageText().c_str(), stdout);
        return 0;
    }
    if (!early.error.empty()) {
        std::fprintf(stderr, "%s\n%s", early.error.c_str(), raylen::usageText().c_str());
        return 2;
    }

    QApplication app(argc, argv);
    // Qt has taken its own options (-platform, -style, ...) and their values out of argv.
    const raylen::CommandLine line = raylen::parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    raylen::ProgramWindows programWindows;
    raylen::installQtTranslations(app);

    // RAYLEN_CONSOLE_UI=1 leaves the console dialog service in place:
    // messages go to standard error and questions take their first button,
    // for runs without anyone at the screen.
    platform::QtUiService windows;
    const bool console = std::getenv("RAYLEN_CONSOLE_UI") != nullptr;
    if (!console) {
        windows.helpHandler = [](const platform::CommonDialog& dialog) { raylen::showHelpFor(dialog); };
        platform::setUiService(&windows);
    }

    // RAYLEN_REPORT_OPEN=1 (for scripts and tests): after opening the
    // files, print the windows' captions and quit; status 1 when the open
    // failed.
    const bool report = std::getenv("RAYLEN_REPORT_OPEN") != nullptr;
    raylen::SingleInstance instance;
    if (!instance.acquired()) {
        // The running copy opens the files; without files it is only told of.
        if (!line.files.isEmpty() && instance.handOver(line.files)) {
            platform::setUiService(nullptr);
            return 0;
        }
        // A run asked to report must not wait on a box nobody answers.
        if (report) {
            std::fprintf(stderr, "Raylen: %s\n", alreadyRunning);
            platform::setUiService(nullptr);
            return 1;
        }
        platform::MsgBox(alreadyRunning, platform::vbOKOnly, "Raylen");
        platform::setUiService(nullptr);
        return 0;
    }

    // An installed program registers the chart component for this user.
    if (std::string failure = raylen::registerInstalledComponent(); !failure.empty())
        std::fprintf(stderr, "raylen: %s\n", failure.c_str());

    int status = 0;
    {
        auto window = std::make_unique<raylen::MdiRaylen>();
        windows.parent = window.get();
        window->show();
        instance.serve([main = window.get()](const QStringList& files) {
            main->activateWindow();
            main->raise();
            if (std::string message = raylen::openCommandLineFiles(files); !message.empty())
                platform::MsgBox(message, platform::vbCritical, "Raylen");
        });
        QTimer::singleShot(0, window.get(), [files = line.files, report] {
            std::string message = raylen::openCommandLineFiles(files);
            if (report) {
                std::fputs(raylen::openWindowCaptions().c_str(), stdout);
                if (!message.empty())
                    std::fprintf(stderr, "%s\n", message.c_str());
                QApplication::exit(message.empty() ? 0 : 1);
            } else if (!message.empty())
                platform::MsgBox(message, platform::vbCritical, "Raylen");
        });
        status = QApplication::exec();
        windows.parent = nullptr;
    }
    platform::setUiService(nullptr);
    return status;
}
