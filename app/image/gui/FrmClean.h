#pragma once
// The cosmic-ray cleaning dialog: the detection's parameters, the noise
// model (from the frame's cards where it has them) and an optional file for
// the 0/1 frame of replaced pixels; cleans the open image.
#include "image/CosmicClean.h"
#include "shell/gui/TaskDialog.h"

#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace raylen {

class FrmClean : public TaskDialog<FrmClean> {
    Q_OBJECT
public:
    explicit FrmClean(QWidget* parent = nullptr);

    void initForm();
    void chkMask_Click();
    void cmdMaskFileName_Click();
    void cmdOK_Click();

    QLineEdit* txtSigClip = nullptr;
    QLineEdit* txtObjLim = nullptr;
    QLineEdit* txtGain = nullptr;
    QLineEdit* txtRdNoise = nullptr;
    QLabel* lblNoise = nullptr;
    QCheckBox* chkMask = nullptr;
    QLineEdit* txtMaskFileName = nullptr;
    QPushButton* cmdMaskFileName = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

private:
    std::string maskPath;
};

FrmClean* frmClean();
void showFrmClean();

// Cleans the open image; the mask file (when not empty) is written first,
// so a refused write leaves the image as it was. Reports the pixel count.
std::string sfCleanPro(const CleanParameters& parameters, const std::string& maskFile, size_t& cleaned);

} // namespace raylen
