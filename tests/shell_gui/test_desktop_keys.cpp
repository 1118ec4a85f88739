// What a desktop user expects of any program: Qt's own buttons in the
// program's language, and the usual keys for open, save, print and quit.
#include "GuiHarness.h"
#include "image/gui/FrmImage.h"
#include "shell/gui/QtTranslations.h"

#include <QAction>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>
#include <QTest>

using namespace guitest;

TEST(DesktopKeys, QtDialogButtonsSpeakJapanese)
{
    QTranslator* translator = raylen::installQtTranslations(*QCoreApplication::instance());
    ASSERT_NE(translator, nullptr) << "Qt's Japanese translations are missing";
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    const QString yes = box.button(QMessageBox::Yes)->text();
    const QString cancel = box.button(QMessageBox::Cancel)->text();
    QCoreApplication::removeTranslator(translator);
    delete translator;
    EXPECT_TRUE(yes.startsWith(QString::fromUtf8("はい"))) << text(yes);
    EXPECT_TRUE(cancel.startsWith(QString::fromUtf8("キャンセル"))) << text(cancel);
}

TEST(DesktopKeys, ControlKeysReachTheFileMenu)
{
    Harness h;
    h.main->activateWindow();
    QApplication::setActiveWindow(h.main.get());
    QApplication::processEvents();
    int opened = 0, quit = 0;
    QObject::disconnect(h.main->mnuOpen, nullptr, nullptr, nullptr);
    QObject::disconnect(h.main->mnuExit, nullptr, nullptr, nullptr);
    QObject::connect(h.main->mnuOpen, &QAction::triggered, [&] { ++opened; });
    QObject::connect(h.main->mnuExit, &QAction::triggered, [&] { ++quit; });
    auto press = [&h](Qt::Key key) {
        QTest::keyClick(h.main.get(), key, Qt::ControlModifier);
        QApplication::processEvents();
    };
    press(Qt::Key_O);
    press(Qt::Key_Q);
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(quit, 1);
}

TEST(DesktopKeys, TheCurrentWindowsMenuTakesTheKeyUnambiguously)
{
    Harness h;
    TempDir dir;
    h.openThroughDialog(writeFits(dir.file("frame.fit"), 16, 8, 8, [](int x, int y) { return x + y; }));
    raylen::FrmImage* image = raylen::frmImage();
    ASSERT_NE(image, nullptr);
    int imageOpened = 0;
    QObject::disconnect(image->mnuOpen, nullptr, nullptr, nullptr);
    QObject::connect(image->mnuOpen, &QAction::triggered, [&] { ++imageOpened; });
    int mainOpened = 0;
    QObject::connect(h.main->mnuOpen, &QAction::triggered, [&] { ++mainOpened; });
    QApplication::setActiveWindow(h.main.get());
    QTest::keyClick(h.main.get(), Qt::Key_O, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_EQ(imageOpened, 1);
    EXPECT_EQ(mainOpened, 0);
}
