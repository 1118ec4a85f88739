// Runs the widget tests in one application object, offscreen.
#include "image/gui/ImageWindowLink.h"
#include "shell/gui/Fonts.h"
#include "../support/IsolatedSettings.h"

#include <gtest/gtest.h>

#include <QApplication>

#include <cstdlib>

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    testsupport::isolateSettings();
    QApplication app(argc, argv);
    raylen::installFontSubstitutions();
    raylen::ImageWindow imageWindow;
    raylen::setImageWindowLink(&imageWindow);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
