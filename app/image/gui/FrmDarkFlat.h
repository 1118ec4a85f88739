#pragma once
// The dark/flat dialog: choose a dark and/or a flat frame and correct the
// open image with them.
#include <QDialog>

#include <string>
#include "shell/gui/TaskDialog.h"

class QCheckBox;
class QFrame;
class QLineEdit;
class QPushButton;

namespace raylen {

class FrmDarkFlat : public TaskDialog<FrmDarkFlat> {
    Q_OBJECT
public:
    explicit FrmDarkFlat(QWidget* parent = nullptr);

    std::string sfInitForm(const std::string& strFileName, const std::string& strDarkFileName,
                           const std::string& strFlatFileName);
    void chkDark_Click();
    void chkFlat_Click();
    void cmdDarkFileName_Click();
    void cmdFlatFileName_Click();
    void cmdOK_Click();
    void cmdCancel_Click();
    // Drops a dialog whose load failed, without the unload handler.

    QCheckBox* chkDark = nullptr;
    QLineEdit* txtDarkFileName = nullptr;
    QPushButton* cmdDarkFileName = nullptr;
    QCheckBox* chkFlat = nullptr;
    QLineEdit* txtFlatFileName = nullptr;
    QPushButton* cmdFlatFileName = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdHelp = nullptr;
    QFrame* linWhite = nullptr;
    QFrame* linGray = nullptr;

private:
    void fileControls(QCheckBox* check, QLineEdit* text, QPushButton* browse);
    void browse(std::string& remembered, QLineEdit* text, const char* title);
};

// Dialog (modeless, owned by the main window); null while not loaded.
FrmDarkFlat* frmDarkFlat();
void showFrmDarkFlat();
void unloadFrmDarkFlat();

// The correction of the open image with the dialog's choices: correction,
// re-render, the image window again with " 変更" in its caption.
std::string sfDarkFlatPro(bool blnDark, bool blnFlat);

} // namespace raylen
