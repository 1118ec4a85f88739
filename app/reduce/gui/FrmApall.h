#pragma once
// The extraction dialog: a five-page wizard from a region of the open image
// (or the aperture of an earlier parameter file) to a saved spectrum.
#include "reduce/NoiseModel.h"
#include "reduce/ScanParam.h"
#include "reduce/gui/RejectFields.h"

#include <QDialog>

#include <array>
#include <string>
#include <vector>
#include "shell/gui/TaskDialog.h"

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace raylen {

class SpectrumView;

class FrmApall : public TaskDialog<FrmApall> {
    Q_OBJECT
public:
    FrmApall(SpectrumView& plot, QWidget* parent = nullptr);

    std::string sfInitForm(const std::string& strFileName);
    void cmdNext_Click();
    void cmdReturn_Click();
    void cmdCancel_Click();
    void cmdFit_Click();
    void chkRefScan_Click();
    void chkSkySub_Click();
    void cmdRefFileName_Click();

    int16_t intPage = 1;
    std::vector<float> sngScanX, sngScanY;
    std::vector<float> sngScanSigma; // the extraction's uncertainty

    std::array<QFrame*, 6> picContena{}; // 1 … 5
    QPushButton* cmdReturn = nullptr;
    QPushButton* cmdNext = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdHelp = nullptr;
    // Page 1
    QCheckBox* chkRefScan = nullptr;
    QLineEdit* txtRefFileName = nullptr;
    QPushButton* cmdRefFileName = nullptr;
    // Page 2
    QGroupBox* fraDirection = nullptr;
    QRadioButton* optHor = nullptr;
    QRadioButton* optVer = nullptr;
    QLabel* lblRegion = nullptr;
    QLabel* lblX = nullptr;
    QLabel* lblY = nullptr;
    QLineEdit* txtStartX = nullptr;
    QLineEdit* txtEndX = nullptr;
    QLineEdit* txtStartY = nullptr;
    QLineEdit* txtEndY = nullptr;
    // Page 3
    QLabel* lblScanWidth = nullptr;
    QLineEdit* txtScanWidth = nullptr;
    QLabel* lblScanPixel = nullptr;
    QCheckBox* chkSkySub = nullptr;
    QLabel* lblSkyRegion = nullptr;
    std::array<QLineEdit*, 2> txtStartRegion{};
    std::array<QLineEdit*, 2> txtEndRegion{};
    std::array<QLabel*, 2> lblDot{};
    QLabel* lblSkyFitOrder = nullptr;
    QLineEdit* txtSkyFitOrder = nullptr;
    // Optimal (variance-weighted) extraction over the same aperture, with
    // its cosmic-ray rejection threshold in σ.
    QCheckBox* chkOptimal = nullptr;
    QLabel* lblCrSigma = nullptr;
    QLineEdit* txtCrSigma = nullptr;
    // The noise model of the uncertainty: the frame's GAIN and RDNOISE
    // cards, else 1 and 0 with the note shown.
    QLabel* lblGain = nullptr;
    QLineEdit* txtGain = nullptr;
    QLabel* lblRdNoise = nullptr;
    QLineEdit* txtRdNoise = nullptr;
    QLabel* lblNoiseNote = nullptr;
    // Page 4
    QLabel* lblOrder = nullptr;
    QLineEdit* txtOrder = nullptr;
    // Rejection in the trace fit and in every column's sky fit.
    RejectFields reject;
    QPushButton* cmdFit = nullptr;
    QLabel* lblResult = nullptr;
    // Page 5
    QLabel* lblOK = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    RejectOptions rejectOptions_;
    void buildPages();
    void dsShowPage();
    void dsSetScanRegion();
    void dsSetScanParam();
    std::string dsGetScanParam();
    void dsScanSkySub(bool enabled);
    // The noise boxes from the open frame's cards.
    void dsSetNoise();
    // The noise boxes read; false when either is not a usable number.
    bool readNoise(NoiseModel& noise) const;
    std::string plotRegionFromBoxes();
    // A spectrum was extracted (or the message shown): on to "保存".
    bool toSavePage(const std::string& message);
    // The extraction with its uncertainty, handed to the plot window.
    std::string extractWithUncertainty(bool reference);
    bool nextFromPage1();
    bool nextFromPage2();
    bool nextFromPage3();
    bool nextFromPage4();
    bool nextFromPage5();

    SpectrumView& plot_;
};

// The dialog while it is loaded, else null.
FrmApall* frmApall();
// Loads and shows the dialog (modeless, owned by the main window) on the
// open image, drawing on plot; brings it forward when it is already loaded.
void showFrmApall(SpectrumView& plot);
void unloadFrmApall();

} // namespace raylen
