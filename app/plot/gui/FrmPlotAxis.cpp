#include "plot/gui/FrmPlotAxis.h"
#include "shell/gui/WindowRegistry.h"

#include "platform/BasicError.h"
#include "platform/BasicRuntime.h"
#include "platform/Format.h"
#include "platform/UiService.h"
#include "plot/PlotChart.h"
#include "plot/gui/FrmPlot.h"
#include "shell/gui/Fonts.h"
#include "shell/gui/MdiRaylen.h"
#include "shell/gui/FormSupport.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

namespace raylen {

using namespace platform;

namespace {

constexpr int dialogHeightTwips = 2595;
constexpr int dialogWidthTwips = 3735;

QString fmt(float value) { return QString::fromStdString(Format(value, "0")); }

float leading(const QLineEdit* box) { return static_cast<float>(leadingNumber(box->text().toStdString())); }

// A separator line between two points given in twips.
QFrame* etched(QWidget* parent, const char* name, int y, const QColor& colour)
{
    auto* line = new QFrame(parent);
    line->setObjectName(name);
    line->setGeometry(twipsToPixelsX(60), twipsToPixelsY(y), twipsToPixelsX(3540 - 60), 1);
    line->setAutoFillBackground(true);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, colour);
    line->setPalette(palette);
    return line;
}

} // namespace

FrmPlotAxis* frmPlotAxis() { return windowRegistry().loaded<FrmPlotAxis>(); }

FrmPlotAxis::FrmPlotAxis(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmPlotAxis");
    setWindowTitle(QString::fromUtf8("座標"));
    setFixedSize(twipsToPixelsX(dialogWidthTwips), twipsToPixelsY(dialogHeightTwips));
    auto label = [this](const char* name, const char* text, QRect at) {
        auto* created = new QLabel(QString::fromUtf8(text), this);
        created->setObjectName(name);
        created->setGeometry(at);
        created->setAlignment(Qt::AlignCenter);
        return created;
    };
    auto check = [this](const char* name, const char* text, QRect at) {
        auto* created = new QCheckBox(QString::fromUtf8(text), this);
        created->setObjectName(name);
        created->setGeometry(at);
        return created;
    };
    auto box = [this](const char* name, QRect at) {
        auto* created = new QLineEdit(this);
        created->setObjectName(name);
        created->setGeometry(at);
        created->setFont(gothicFont(9));
        connect(created, &QLineEdit::returnPressed, this, &FrmPlotAxis::cmdOK_Click);
        return created;
    };
    lblMax = label("lblMax", "最大", twipsRect(1680, 120, 900, 240));
    lblMin = label("lblMin", "最小", twipsRect(2640, 120, 900, 240));
    chkAutoX = check("chkAutoX", "X 軸（自動）", twipsRect(120, 420, 1500, 300));
    txtMaxX = box("txtMaxX", twipsRect(1680, 420, 900, 300));
    txtMinX = box("txtMinX", twipsRect(2640, 420, 900, 300));
    chkAutoY = check("chkAutoY", "Y 軸（自動）", twipsRect(120, 840, 1500, 300));
    txtMaxY = box("txtMaxY", twipsRect(1680, 840, 900, 300));
    txtMinY = box("txtMinY", twipsRect(2640, 840, 900, 300));
    chkLogY = check("chkLogY", "Y 軸 対数ｽｹｰﾙ", twipsRect(120, 1260, 2400, 300));
    linGray = etched(this, "linGray", 1740, QColor(128, 128, 128));
    linWhite = etched(this, "linWhite", 1750, QColor(255, 255, 255));
    cmdOK = new QPushButton("OK", this);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setGeometry(twipsRect(1200, 1860, 1100, 360));
    cmdCancel = new QPushButton(QString::fromUtf8("閉じる"), this);
    cmdCancel->setObjectName("cmdCancel");
    cmdCancel->setGeometry(twipsRect(2400, 1860, 1100, 360));
    // Enter in a range box applies; the buttons must not take it first.
    cmdOK->setAutoDefault(false);
    cmdCancel->setAutoDefault(false);
    connect(chkAutoX, &QCheckBox::clicked, this, &FrmPlotAxis::chkAutoX_Click);
    connect(chkAutoY, &QCheckBox::clicked, this, &FrmPlotAxis::chkAutoY_Click);
    connect(cmdOK, &QPushButton::clicked, this, &FrmPlotAxis::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &FrmPlotAxis::cmdCancel_Click);
}

std::string FrmPlotAxis::sfInitForm()
{
    return trapErrors("sfInitForm", [&] {
        FrmPlot* plot = loadedFrmPlot();
        if (plot == nullptr)
            platform::raise(errObjectNotSet);
        bool automatic = false;
        float maximum = 0, minimum = 0;
        plot->dsGetRangeAxisX(automatic, maximum, minimum);
        chkAutoX->setChecked(automatic);
        chkAutoX_Click();
        txtMaxX->setText(fmt(maximum));
        txtMinX->setText(fmt(minimum));
        automatic = false;
        int16_t style = axisStyleLinear;
        plot->dsGetRangeAxisY(automatic, maximum, minimum, style);
        chkAutoY->setChecked(automatic);
        chkAutoY_Click();
        txtMaxY->setText(fmt(maximum));
        txtMinY->setText(fmt(minimum));
        chkLogY->setChecked(style == axisStyleLog);
    });
}

std::string FrmPlotAxis::sfSetAxis()
{
    return trapErrors("sfSetAxis", [&] {
        FrmPlot* plot = loadedFrmPlot();
        if (plot == nullptr)
            platform::raise(errObjectNotSet);
        if (chkAutoX->isChecked())
            plot->dsSetRangeAxisX(true, 0, 0);
        else
            plot->dsSetRangeAxisX(false, leading(txtMaxX), leading(txtMinX));
        const int16_t style = chkLogY->isChecked() ? axisStyleLog : axisStyleLinear;
        if (chkAutoY->isChecked())
            plot->dsSetRangeAxisY(true, 0, 0, style);
        else
            plot->dsSetRangeAxisY(false, leading(txtMaxY), leading(txtMinY), style);
    });
}

void FrmPlotAxis::chkAutoX_Click()
{
    txtMaxX->setEnabled(!chkAutoX->isChecked());
    txtMinX->setEnabled(!chkAutoX->isChecked());
}

void FrmPlotAxis::chkAutoY_Click()
{
    txtMaxY->setEnabled(!chkAutoY->isChecked());
    txtMinY->setEnabled(!chkAutoY->isChecked());
}

void FrmPlotAxis::cmdOK_Click()
{
    const std::string message = sfSetAxis();
    if (!message.empty())
        MsgBox(message, vbCritical);
}

void FrmPlotAxis::cmdCancel_Click() { unloadFrmPlotAxis(); }

void showFrmPlotAxis()
{
    if (FrmPlotAxis* loaded = frmPlotAxis()) {
        loaded->show();
        loaded->raise();
        return;
    }
    auto* dialog = new FrmPlotAxis(mdiRaylen());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    windowRegistry().setLoaded(dialog);
    const std::string message = dialog->sfInitForm();
    if (!message.empty()) {
        MsgBox(message, vbCritical);
        unloadFrmPlotAxis();
        return;
    }
    dialog->show();
}

void unloadFrmPlotAxis()
{
    if (FrmPlotAxis* dialog = frmPlotAxis()) {
        windowRegistry().setLoaded<FrmPlotAxis>(nullptr);
        dialog->close();
        dialog->deleteLater();
    }
}

} // namespace raylen
