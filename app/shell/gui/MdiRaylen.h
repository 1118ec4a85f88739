#pragma once
// The main window: menus while no document window is current, the tool bar
// that starts every command, the display-range panel with the cursor
// read-out, the document area, and the one common dialog of the program.
#include "shell/gui/FormSupport.h"
#include "shell/gui/StandardMenus.h"
#include "platform/UiService.h"

#include <QMainWindow>
#include <QString>

#include <initializer_list>
#include <string>
#include <vector>

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QPushButton;
class QToolBar;

namespace raylen {

class MdiRaylen : public QMainWindow, public StandardMenus {
    Q_OBJECT
public:
    // MDIForm_Load: call only after the single-instance check.
    MdiRaylen();
    ~MdiRaylen() override;

    // Tool bar button by its 1-based index (separators count), or by key.
    QAction* button(int index) const;
    QAction* buttonByKey(const QString& key) const;
    void setButtonsEnabled(std::initializer_list<const char*> keys, bool blnEnabled);
    static constexpr int buttonCount = 19;

    void dsInitForm();
    void dsMnuFileNone();
    void dsTxtMaxMinEnabled(bool blnEnabled);
    void dsMenuToolEnabled(bool blnEnabled);
    std::string sfApply();
    std::string sfToolBarAction(const QString& key);
    // Version caption, with " [" + path + "]" when a file is given.
    void setVersionCaption(const std::string& strFile = {});

    void cmdAutoScale_Click();
    void mnuOpen_Click();
    void mnuExit_Click();
    void mnuVersion_Click();

    // Adds a document window to the document area and shows it.
    QMdiSubWindow* addDocumentWindow(QWidget* window, const QSize& preferredInner);
    // Shows the menus of the current document window, or the main menus.
    void refreshMenuBar();
    QMdiArea* documentArea() const { return mdiArea; }

    // Controls, by their names.
    QToolBar* tlbtoolbar = nullptr;
    QWidget* picToolBar = nullptr;
    QLabel* lblMax = nullptr;
    QLineEdit* txtMax = nullptr;
    QLabel* lblMin = nullptr;
    QLineEdit* txtMin = nullptr;
    QPushButton* cmdAutoScale = nullptr;
    QLabel* lblX = nullptr;
    QLabel* lblY = nullptr;
    QLabel* lblCount = nullptr;
    QFrame* linSep1 = nullptr;
    QFrame* linSep2 = nullptr;
    platform::CommonDialog dlgOpenFile;


protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void buildToolBar();
    void buildPanel();
    void layoutSeparators();
    void subWindowActivated(QMdiSubWindow* window);
    void showMenus(const QList<QMenu*>& menus);

    QMdiArea* mdiArea = nullptr;
    std::vector<QAction*> buttons_; // index 0 unused
    QList<QMenu*> ownMenus_;
};

// The one main window (null before it is created and after it is gone).
MdiRaylen* mdiRaylen();

} // namespace raylen
