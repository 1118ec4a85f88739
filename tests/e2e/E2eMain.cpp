// Runs the end-to-end test in one application object, offscreen, wired as
// the window program wires itself, with a component registry of its own.
#include "ProgramWindows.h"
#include "../support/IsolatedSettings.h"

#include <gtest/gtest.h>

#include <QApplication>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const auto registry = std::filesystem::temp_directory_path() / ("raylen-e2e-test-" + std::to_string(::getpid()));
    std::filesystem::create_directories(registry);
    setenv("XDG_DATA_HOME", registry.c_str(), 1);
    testsupport::isolateSettings();
    QApplication app(argc, argv);
    raylen::ProgramWindows programWindows;
    ::testing::InitGoogleTest(&argc, argv);
    const int status = RUN_ALL_TESTS();
    std::error_code ignored;
    std::filesystem::remove_all(registry, ignored);
    return status;
}
