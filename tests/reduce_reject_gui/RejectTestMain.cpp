// Runs the rejection tests in one application object, offscreen, with the
// windows and dialogs the program registers and a component registry of
// their own.
#include "image/gui/ImageWindowLink.h"
#include "ProgramWindows.h"
#include "plot/gui/FrmPlot.h"
#include "plot/gui/PlotWindowView.h"
#include "reduce/gui/FrmApall.h"
#include "reduce/gui/FrmCalib.h"
#include "shell/gui/Fonts.h"

#include <gtest/gtest.h>

#include <QApplication>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const auto registry = std::filesystem::temp_directory_path() / ("raylen-reject-test-" + std::to_string(::getpid()));
    std::filesystem::create_directories(registry);
    setenv("XDG_DATA_HOME", registry.c_str(), 1);
    QApplication app(argc, argv);
    raylen::PlotWindowView plotView;
    raylen::installFontSubstitutions();
    raylen::registerPlotWindow();
    raylen::registerReduceTaskDialogs(plotView);
    raylen::ImageWindow imageWindow;
    raylen::setImageWindowLink(&imageWindow);
    raylen::registerFrmApall(plotView);
    raylen::ProgramWindows::wireTaskUnloading();
    ::testing::InitGoogleTest(&argc, argv);
    const int status = RUN_ALL_TESTS();
    std::error_code ignored;
    std::filesystem::remove_all(registry, ignored);
    return status;
}
