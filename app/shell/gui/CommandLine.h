#pragma once
// The window program's command line: `raylen [--version] [--help] [FILE...]`.
// Files open as a drop of them on the main window would (the last one),
// through the same routine as the File menu.
#include <QStringList>

#include <string>
#include <vector>

namespace raylen {

struct CommandLine {
    bool version = false;
    bool help = false;
    QStringList files;
    // Set for an unknown option; the program prints it with the usage.
    std::string error;
};

// Reads the arguments after the program name. Decided before any window
// exists, so --version and --help work without a display.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

// "raylen 0.9.0".
std::string versionLine();
std::string usageText();

// Opens the files of the command line; returns the message the open
// routine gave (empty when it opened or nothing was named).
std::string openCommandLineFiles(const QStringList& files);

// The MDI windows' captions, one a line, in the order they were opened.
std::string openWindowCaptions();

} // namespace raylen
