#pragma once
// The image cut dialog: a region of the open image, edited as four pixel
// numbers, averaged into a profile along X or Y and plotted in the plot
// window.
#include <QDialog>

#include <functional>
#include <string>
#include <vector>
#include "shell/gui/TaskDialog.h"

class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace raylen {

// Shows the plot window (loading it when needed) and plots the profile as
// its spectrum; returns the plot window's status. The plot window gives it.
using ImplotPlotter = std::function<std::string(const std::vector<float>& sngX, const std::vector<float>& sngY)>;

class FrmImplot : public TaskDialog<FrmImplot> {
    Q_OBJECT
public:
    explicit FrmImplot(ImplotPlotter plotter, QWidget* parent = nullptr);

    // Form_Load: size, the region box's pixels in the four boxes, X direction.
    void formLoad();
    void cmdOK_Click();
    void cmdCancel_Click();
    // Enter in a region box: the region is corrected and the box moved only.
    void regionEnter();

    QLabel* lblX = nullptr;
    QLabel* lblY = nullptr;
    QLineEdit* txtStartX = nullptr;
    QLineEdit* txtEndX = nullptr;
    QLineEdit* txtStartY = nullptr;
    QLineEdit* txtEndY = nullptr;
    QGroupBox* fraDirection = nullptr;
    QRadioButton* optHor = nullptr;
    QRadioButton* optVer = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
    QFrame* linWhite = nullptr;
    QFrame* linGray = nullptr;

private:
    ImplotPlotter plotter_;
};

// The dialog (modeless, owned by the main window); null while not loaded.
FrmImplot* frmImplot();
void showFrmImplot(const ImplotPlotter& plotter);
void unloadFrmImplot();

} // namespace raylen
