// Runs the plot window tests in one application object, offscreen, with a
// component registry of their own.
#include "ProgramWindows.h"
#include "../support/IsolatedSettings.h"

#include <gtest/gtest.h>

#include <QApplication>

#include <cstdlib>
#include <filesystem>
#include <string>

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const auto registry = std::filesystem::temp_directory_path() / ("raylen-plot-test-" + std::to_string(::getpid()));
    std::filesystem::create_directories(registry);
    setenv("XDG_DATA_HOME", registry.c_str(), 1);
    testsupport::isolateSettings();
    QApplication app(argc, argv);
    raylen::ProgramWindows programWindows;
    // The plot window alone: its menus and keys open no task dialogs.
    raylen::PlotTasks noTasks;
    raylen::ServiceOverride<raylen::PlotTasks> plotWindowOnly(noTasks);
    raylen::ImageDialogs noDialogs;
    raylen::ServiceOverride<raylen::ImageDialogs> imageWindowOnly(noDialogs);
    ::testing::InitGoogleTest(&argc, argv);
    const int status = RUN_ALL_TESTS();
    std::error_code ignored;
    std::filesystem::remove_all(registry, ignored);
    return status;
}
