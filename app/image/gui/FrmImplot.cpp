#include "image/gui/FrmImplot.h"

#include "image/ImageCut.h"
#include "image/gui/FrmImage.h"
#include "platform/BasicError.h"
#include "platform/BasicRuntime.h"
#include "platform/Format.h"
#include "platform/UiService.h"
#include "state/AppState.h"
#include "shell/gui/DocumentLinks.h"
#include "shell/gui/FileIntake.h"
#include "shell/gui/Fonts.h"
#include "shell/gui/MdiRaylen.h"
#include "shell/gui/FormSupport.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>

#include <utility>

namespace raylen {

using namespace platform;

namespace {


constexpr int formWidthTwips = 3720;
constexpr int formHeightTwips = 2055;
constexpr int16_t directionX = 0;
constexpr int16_t directionY = -1;

QString formatted(int32_t value) { return QString::fromStdString(Format(value, "0")); }

int32_t boxValue(const QLineEdit* box) { return toLong(leadingNumber(box->text().toStdString())); }

} // namespace

FrmImplot* frmImplot() { return FrmImplot::loaded(); }

FrmImplot::FrmImplot(ImplotPlotter plotter, QWidget* parent)
    : TaskDialog(parent, std::nullopt), plotter_(std::move(plotter))
{
    setObjectName("frmImplot");
    setWindowTitle(QString::fromUtf8("プロット"));
    lblX = new QLabel("X", this);
    lblY = new QLabel("Y", this);
    txtStartX = new QLineEdit(this);
    txtEndX = new QLineEdit(this);
    txtStartY = new QLineEdit(this);
    txtEndY = new QLineEdit(this);
    fraDirection = new QGroupBox(QString::fromUtf8("方向"), this);
    optHor = new QRadioButton(QString::fromUtf8("X 方向"), fraDirection);
    optVer = new QRadioButton(QString::fromUtf8("Y 方向"), fraDirection);
    cmdOK = new QPushButton("OK", this);
    cmdCancel = new QPushButton(QString::fromUtf8("ｷｬﾝｾﾙ"), this);
    linWhite = new QFrame(this);
    linGray = new QFrame(this);
    lblX->setObjectName("lblX");
    lblY->setObjectName("lblY");
    txtStartX->setObjectName("txtStartX");
    txtEndX->setObjectName("txtEndX");
    txtStartY->setObjectName("txtStartY");
    txtEndY->setObjectName("txtEndY");
    fraDirection->setObjectName("fraDirection");
    optHor->setObjectName("optHor");
    optVer->setObjectName("optVer");
    cmdOK->setObjectName("cmdOK");
    cmdCancel->setObjectName("cmdCancel");
    linWhite->setObjectName("linWhite");
    linGray->setObjectName("linGray");
    for (QFrame* line : {linWhite, linGray}) {
        line->setFrameShape(QFrame::NoFrame);
        line->setAutoFillBackground(true);
    }
    QPalette white = linWhite->palette();
    white.setColor(QPalette::Window, Qt::white);
    linWhite->setPalette(white);
    QPalette grey = linGray->palette();
    grey.setColor(QPalette::Window, QColor(128, 128, 128));
    linGray->setPalette(grey);
    // Enter in a region box corrects the region; it must not press OK.
    for (QPushButton* button : {cmdOK, cmdCancel}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    for (QLineEdit* box : {txtStartX, txtEndX, txtStartY, txtEndY})
        connect(box, &QLineEdit::returnPressed, this, &FrmImplot::regionEnter);
    connect(cmdOK, &QPushButton::clicked, this, &FrmImplot::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &FrmImplot::cmdCancel_Click);
}

void FrmImplot::formLoad()
{
    setFixedSize(twipsToPixelsX(formWidthTwips), twipsToPixelsY(formHeightTwips));
    lblX->setGeometry(twipsRect(120, 300, 300, 300));
    lblY->setGeometry(twipsRect(120, 780, 300, 300));
    txtStartX->setGeometry(twipsRect(480, 270, 900, 330));
    txtEndX->setGeometry(twipsRect(1440, 270, 900, 330));
    txtStartY->setGeometry(twipsRect(480, 750, 900, 330));
    txtEndY->setGeometry(twipsRect(1440, 750, 900, 330));
    fraDirection->setGeometry(twipsRect(2460, 60, 1140, 1020));
    optHor->setGeometry(twipsRect(120, 300, 960, 300));
    optVer->setGeometry(twipsRect(120, 660, 960, 300));
    linGray->setGeometry(twipsToPixelsX(120), twipsToPixelsY(1200), twipsToPixelsX(3480 - 120), 1);
    linWhite->setGeometry(twipsToPixelsX(120), twipsToPixelsY(1210), twipsToPixelsX(3480 - 120), 1);
    cmdOK->setGeometry(twipsRect(1200, 1320, 1080, 360));
    cmdCancel->setGeometry(twipsRect(2400, 1320, 1080, 360));
    optHor->setChecked(true);

    if (const FrmImage* image = frmImage()) {
        const ShpBox& box = image->box();
        txtStartX->setText(formatted(box.left));
        txtEndX->setText(formatted(box.left + box.width - 1));
        txtStartY->setText(formatted(box.top));
        txtEndY->setText(formatted(box.top + box.height - 1));
    }
    if (MdiRaylen* main = mdiRaylen())
        main->dsMenuToolEnabled(false);
}

void FrmImplot::regionEnter()
{
    showCritical(sfCheckAndReset({txtStartX, txtEndX, txtStartY, txtEndY}, appState().typFitsInfo));
}

void FrmImplot::cmdOK_Click()
{
    AppState& s = appState();
    std::string message = sfCheckAndReset({txtStartX, txtEndX, txtStartY, txtEndY}, s.typFitsInfo);
    if (!message.empty()) {
        showCritical(message);
        return;
    }
    const int16_t direction = optHor->isChecked() ? directionX : directionY;
    std::vector<float> x, y;
    message = trapErrors("cmdOK_Click", [&] {
        return sfImplotData(s.sngImage, direction, boxValue(txtStartX), boxValue(txtEndX), boxValue(txtStartY),
                            boxValue(txtEndY), x, y);
    });
    if (!message.empty()) {
        showCritical(message);
        return;
    }
    // Without a plot window in the program there is nowhere to show it.
    if (!plotter_)
        return;
    message = plotter_(x, y);
    if (!message.empty()) {
        showCritical(message);
        return;
    }
    close();
}

void FrmImplot::cmdCancel_Click() { close(); }

void showFrmImplot(const ImplotPlotter& plotter)
{
    if (FrmImplot::raiseLoaded())
        return;
    auto* dialog = new FrmImplot(plotter, mdiRaylen());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->markLoaded();
    dialog->formLoad();
    dialog->show();
}

void unloadFrmImplot()
{
    FrmImplot::closeLoaded();
}

} // namespace raylen
