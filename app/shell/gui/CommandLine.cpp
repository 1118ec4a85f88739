#include "shell/gui/CommandLine.h"

#include "shell/gui/FileIntake.h"
#include "shell/gui/MdiRaylen.h"
#include "shell/gui/Version.h"
#include "state/AppState.h"

#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QUrl>

#include <set>

namespace raylen {

namespace {

// Options QApplication takes for itself; they pass through to it.
bool isQtOption(std::string argument)
{
    static const std::set<std::string> names{
        "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry", "geometry", "qwindowicon",
        "icon", "qwindowtitle", "title", "reverse", "session", "display", "name", "style", "stylesheet",
        "widgetcount", "nograb", "dograb", "sync", "visual", "ncols", "cmap", "qmljsdebugger"};
    argument.erase(0, argument.find_first_not_of('-'));
    return names.count(argument.substr(0, argument.find('='))) > 0;
}

} // namespace

CommandLine parseCommandLine(const std::vector<std::string>& arguments)
{
    CommandLine line;
    bool onlyFiles = false;
    for (const std::string& argument : arguments) {
        if (!onlyFiles && argument == "--")
            onlyFiles = true;
        else if (!onlyFiles && (argument == "--version" || argument == "-v"))
            line.version = true;
        else if (!onlyFiles && (argument == "--help" || argument == "-h"))
            line.help = true;
        else if (!onlyFiles && argument.size() > 1 && argument.front() == '-') {
            if (line.error.empty() && !isQtOption(argument))
                line.error = "raylen: unknown option " + argument;
        } else
            line.files << QString::fromLocal8Bit(argument.c_str());
    }
    return line;
}

std::string versionLine()
{
    return "raylen " + std::to_string(versionMajor) + "." + std::to_string(versionMinor) + "." +
           std::to_string(versionRevision);
}

std::string usageText()
{
    return "Usage: raylen [--version] [--help] [FILE...]\n"
           "Opens the window program; a FITS image opens in the image window, a spectrum\n"
           "(text or one-dimensional FITS) in the plot window. Of several files the last\n"
           "one opens, as when they are dropped on the main window.\n"
           "Batch reduction: raylen-cli --help\n";
}

std::string openCommandLineFiles(const QStringList& files)
{
    QList<QUrl> urls;
    // Absolute paths, so that captions and later saves do not depend on the
    // directory the program was started in.
    for (const QString& file : files)
        urls << QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath());
    if (urls.isEmpty())
        return {};
    return sfOpenFileOLEDrop(urls, appState().strFileName);
}

std::string openWindowCaptions()
{
    std::string captions;
    if (MdiRaylen* main = mdiRaylen())
        for (QMdiSubWindow* child : main->documentArea()->subWindowList(QMdiArea::CreationOrder))
            captions += child->windowTitle().toStdString() + "\n";
    return captions;
}

} // namespace raylen
