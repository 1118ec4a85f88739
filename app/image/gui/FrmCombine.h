#pragma once
// The frame combining dialog: a list of frames, the method, the rejection
// and the scaling, whether the uncertainty is saved beside it, and the file
// the result is saved to; the result then opens as the image.
#include "image/Combine.h"
#include "shell/gui/TaskDialog.h"

#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace raylen {

class FrmCombine : public TaskDialog<FrmCombine> {
    Q_OBJECT
public:
    explicit FrmCombine(QWidget* parent = nullptr);

    void cmdAdd_Click();
    void cmdRemove_Click();
    void cboReject_Click();
    void cmdOutput_Click();
    void cmdOK_Click();
    std::vector<std::string> files() const;

    QListWidget* lstFiles = nullptr;
    QPushButton* cmdAdd = nullptr;
    QPushButton* cmdRemove = nullptr;
    QComboBox* cboMethod = nullptr;
    QComboBox* cboReject = nullptr;
    QLineEdit* txtLow = nullptr;
    QLineEdit* txtHigh = nullptr;
    QComboBox* cboScale = nullptr;
    QCheckBox* chkError = nullptr;
    QLineEdit* txtOutput = nullptr;
    QPushButton* cmdOutput = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

private:
    void updateEnabled();
    std::string browsed;
};

FrmCombine* frmCombine();
void showFrmCombine();

// Opens the saved result as the image, after the save question for a
// changed one (whose cancel keeps it, the result staying on disk).
std::string sfOpenCombined(const std::string& output);

} // namespace raylen
