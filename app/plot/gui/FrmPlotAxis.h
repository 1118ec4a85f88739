#pragma once
// The axis dialog: X and Y ranges of the plot, automatic or typed, and the
// logarithmic Y axis.
#include <QDialog>

#include <string>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace raylen {

class FrmPlotAxis : public QDialog {
    Q_OBJECT
public:
    explicit FrmPlotAxis(QWidget* parent = nullptr);

    std::string sfInitForm();
    std::string sfSetAxis();
    void chkAutoX_Click();
    void chkAutoY_Click();
    void cmdOK_Click();
    void cmdCancel_Click();

    QCheckBox* chkAutoX = nullptr;
    QCheckBox* chkAutoY = nullptr;
    QCheckBox* chkLogY = nullptr;
    QLabel* lblMax = nullptr;
    QLabel* lblMin = nullptr;
    QLineEdit* txtMaxX = nullptr;
    QLineEdit* txtMinX = nullptr;
    QLineEdit* txtMaxY = nullptr;
    QLineEdit* txtMinY = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
    QFrame* linWhite = nullptr;
    QFrame* linGray = nullptr;
};

// The dialog while it is loaded, else null.
FrmPlotAxis* frmPlotAxis();
// Form_Load and show, modeless and owned by the main window.
void showFrmPlotAxis();
void unloadFrmPlotAxis();

} // namespace raylen
