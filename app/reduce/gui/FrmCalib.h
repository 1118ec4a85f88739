#pragma once
// The calibration dialog: dispersion correction, flux calibration,
// continuum normalisation or the Fourier amplitude spectrum of the spectrum
// in the plot window, previewed there and taken over on "完了". Added
// tasks: the instrument response from a standard star (saved as a .sns on
// "完了") and the radial-velocity correction of the wavelength scale.
#include "reduce/gui/CalibPanels.h"
#include "reduce/gui/RejectFields.h"
#include "shell/gui/ProgramSettings.h"
#include "shell/gui/TaskDialog.h"
#include "spectrum/Spectrum.h"
#include "view/SpectrumView.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace raylen {

class FrmCalib : public TaskDialog<FrmCalib> {
    Q_OBJECT
public:
    // plot is the view the dialog draws on; it must outlive the dialog.
    explicit FrmCalib(SpectrumView& plot, QWidget* parent = nullptr);
    ~FrmCalib() override;

    std::string sfInitForm(const std::string& strFileName, int16_t intTaskMode);

    void cmdCalibFile_Click();
    void txtCalibFile_Change();
    void cmdNext_Click();
    void cmdReturn_Click();
    void cmdCancel_Click();
    void cmdFit_Click();

    int intPage() const { return intPage_; }
    int16_t task() const { return intTask; }

    std::array<QFrame*, 2> picContena{};
    std::array<QFrame*, 3> picChild{};
    QLabel* lblCalibFile = nullptr;
    QLabel* lblCalibKind = nullptr; // which file the task wants
    QLineEdit* txtCalibFile = nullptr;
    QPushButton* cmdCalibFile = nullptr;
    // Dispersion correction onto a linear grid (step: empty for the mean dispersion).
    QCheckBox* chkLinear = nullptr;
    QLabel* lblStep = nullptr;
    QLineEdit* txtStep = nullptr;
    QLabel* lblCont = nullptr;
    QLabel* lblOrder = nullptr;
    QLineEdit* txtOrder = nullptr;
    RejectFields reject; // continuum fit
    QPushButton* cmdFit = nullptr;
    QLabel* lblFFT = nullptr;
    QLabel* lblOK = nullptr;
    QPushButton* cmdReturn = nullptr;
    QPushButton* cmdNext = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdHelp = nullptr;
    QWidget* picAtmosphere = nullptr; // flux calibration's exposure and atmosphere
    AtmosphereFields atmosphere;
    SensFuncPanel sens;
    BaryCorrPanel bary;

    void cmdStandard_Click();
    const SensFuncResult& sensResult() const { return sensResult_; }
    double velocity() const { return velocity_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void formUnloaded() override;

private:
    // Offers the file last used for this task when the box is empty.
    void prefillCalibFile(RememberedFile role);
    void layoutPages();
    void showPage();
    std::string runTask();
    void plotUnchanged();
    void layoutAddedPage(QWidget* page);
    std::string runFluxCalib(const Spectrum& in);
    std::string runSensFunc();
    std::string runBaryCorr(const Spectrum& in);
    bool saveSensFile();

    int intPage_ = 1;
    int16_t intTask = 0;
    std::string strCalibFileName, strDlgTitle, strDlgFilter;
    std::vector<double> dblA, dblCont;
    std::vector<float> sngNewX, sngNewY;
    // The previewed spectrum with its uncertainty and cards.
    Spectrum pending_;
    int16_t intContOrder = 0;
    SpectrumView& plotter_;
    bool finished = false;
    SensFuncResult sensResult_;
    double velocity_ = 0;
};

FrmCalib* frmCalib();
// Form_Load for the task already set in intTaskMode; a failure is shown.
void showFrmCalib(SpectrumView& plot);
void unloadFrmCalib();

} // namespace raylen
