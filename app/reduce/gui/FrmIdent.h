#pragma once
// The identification dialog: read a table of lamp wavelengths, attach to
// each the pixel of its line measured on the plotted comparison spectrum,
// fit the dispersion polynomial and save it as a dispersion file.
#include "plot/gui/PlotTaskLinks.h"
#include "numeric/SigmaReject.h"
#include "reduce/IdentGrid.h"
#include "reduce/Reidentify.h"
#include "reduce/gui/RejectFields.h"
#include "reduce/gui/ResidualPlot.h"
#include "shell/gui/TaskDialog.h"
#include "view/SpectrumView.h"

#include <array>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace raylen {

class FrmIdent : public TaskDialog<FrmIdent>, public IdentKeyTarget {
    Q_OBJECT
public:
    // plot is the view the dialog draws on; it must outlive the dialog.
    explicit FrmIdent(SpectrumView& plot, QWidget* parent = nullptr);
    ~FrmIdent() override;

    std::string sfInitForm(const std::string& strFileName, const std::string& strTableFileName);

    // Keys g, m and n of the plot window.
    std::string sfSearchGaussPeakPos(float sngX, const std::vector<float>& sngDataX,
                                     const std::vector<float>& sngDataY) override;
    std::string sfSearchPeakPos(float sngX, const std::vector<float>& sngDataX,
                                const std::vector<float>& sngDataY) override;
    void setCurrentPixelCell(const std::string& text) override;
    // Key l and the button: lines found from the fit of the rows so far.
    std::string autoIdentify() override;

    void cmdCompTable_Click();
    void cmdNext_Click();
    void cmdReturn_Click();
    void cmdCancel_Click();
    void cmdClear_Click();
    void cmdFit_Click();
    void txtSearch_Change();
    void txtHPFW_Change();
    void cmdAuto_Click();
    // The previous solution (a .dip, then optionally its lamp spectrum;
    // cancelling the second dialog goes on without it) identifies every
    // table line without marks.
    void cmdPrevious_Click();
    std::string reidentify(const std::string& dipFile, const std::string& lampFile);
    const LampShift& lampShift() const { return shift_; }
    // Leaves the current row out of the fit, or takes it in again.
    void cmdExclude_Click();
    const std::set<int>& excludedRows() const { return excluded_; }

    int intPage() const { return intPage_; }
    const IdentGrid& grid() const { return grid_; }
    // Moves the grid's current cell (row from 1, column 1 or 2).
    void setCurrentCell(int row, int col);
    int16_t searchWidth() const { return intSearch; }
    double halfWidth() const { return dblHPFW; }
    const std::vector<double>& coefficients() const { return dblA; }

    std::array<QFrame*, 4> picContena{};
    QLabel* lblCompTable = nullptr;
    QLineEdit* txtCompTable = nullptr;
    QPushButton* cmdCompTable = nullptr;
    QTableWidget* fg2 = nullptr;
    QLineEdit* txtEdit = nullptr;
    QLabel* lblSearch = nullptr;
    QLineEdit* txtSearch = nullptr;
    std::array<QLabel*, 2> lblPix{};
    QLabel* lblHPFW = nullptr;
    QLineEdit* txtHPFW = nullptr;
    QPushButton* cmdClear = nullptr;
    QLabel* lblTolerance = nullptr;
    QLineEdit* txtTolerance = nullptr;
    QPushButton* cmdAuto = nullptr;
    QPushButton* cmdExclude = nullptr;
    QPushButton* cmdPrevious = nullptr;
    RejectFields reject;
    QLabel* lblResidual = nullptr;
    QLabel* lblOrder = nullptr;
    QLineEdit* txtOrder = nullptr;
    QPushButton* cmdFit = nullptr;
    QLabel* lblResult = nullptr;
    ResidualPlot* picResidual = nullptr;
    QLabel* lblOK = nullptr;
    QPushButton* cmdReturn = nullptr;
    QPushButton* cmdNext = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdHelp = nullptr;

protected:
    void formUnloaded() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showPage();
    void layoutPages();
    void fitGridColumns();
    void dsFGridInit();
    void setCell(int row, int col, const std::string& text);
    // After m or g: the next row without a pixel becomes current.
    void moveToNextEmptyRow();
    std::string sfPlotGridData();
    std::string plotComparison();
    // The floating editor over the current cell.
    void MSFlexGridEdit(int KeyAscii);
    void storeEditor();
    void fg2_EnterCell(int row, int col, int previousRow, int previousCol);
    bool txtEdit_KeyDown(int key);
    // Fitted wavelength and residual columns and the RMS text.
    void showResiduals(const std::vector<double>& a, const std::vector<char>& rejected = {});
    void clearResidualColumns();

    int intPage_ = 1;
    IdentGrid grid_;
    std::vector<float> sngWave, sngPix, sngCompX, sngCompY;
    int16_t intSearch = 8;
    double dblHPFW = 1.0;
    std::vector<double> dblA;
    int16_t intOrder = 0;
    SpectrumView& plotter_;
    std::set<int> excluded_;
    LampShift shift_;
};

// The dialog while it is loaded, else null.
FrmIdent* frmIdent();
// Form_Load from the plot window's menu; a failure is shown.
void showFrmIdent(SpectrumView& plot);
void unloadFrmIdent();

} // namespace raylen
