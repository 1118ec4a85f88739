#include "image/gui/FrmClean.h"

#include "files/FileAccess.h"
#include "fits/FitsData.h"
#include "image/DetectorNoise.h"
#include "image/gui/ChangedImage.h"
#include "platform/BasicError.h"
#include "platform/UiService.h"
#include "shell/gui/FileIntake.h"
#include "shell/gui/FormSupport.h"
#include "shell/gui/MdiRaylen.h"
#include "state/AppState.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace raylen {

using namespace platform;

namespace {

const char* const parameterMessage = "宇宙線除去のﾊﾟﾗﾒｰﾀが正しくありません";

QString number(double value) { return QString::number(value, 'g', 6); }

bool readNumber(const QLineEdit* field, double& value)
{
    bool ok = false;
    value = field->text().trimmed().toDouble(&ok);
    return ok;
}

} // namespace

FrmClean* frmClean() { return FrmClean::loaded(); }

FrmClean::FrmClean(QWidget* parent) : TaskDialog(parent, std::nullopt)
{
    setObjectName("frmClean");
    auto field = [this](const char* name) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(name);
        return edit;
    };
    txtSigClip = field("txtSigClip");
    txtObjLim = field("txtObjLim");
    txtGain = field("txtGain");
    txtRdNoise = field("txtRdNoise");
    txtMaskFileName = field("txtMaskFileName");
    lblNoise = new QLabel(this);
    lblNoise->setObjectName("lblNoise");
    chkMask = new QCheckBox(qt("除去した画素のﾏｽｸを保存"), this);
    chkMask->setObjectName("chkMask");
    cmdMaskFileName = new QPushButton(qt("参照"), this);
    cmdMaskFileName->setObjectName("cmdMaskFileName");
    cmdOK = new QPushButton(qt("実行"), this);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(qt("ｷｬﾝｾﾙ"), this);
    cmdCancel->setObjectName("cmdCancel");

    auto* form = new QFormLayout;
    form->addRow(qt("ｼｸﾞﾏｸﾘｯﾌﾟ"), txtSigClip);
    form->addRow(qt("天体の限界"), txtObjLim);
    form->addRow(qt("利得 (e/ADU)"), txtGain);
    form->addRow(qt("読み出しﾉｲｽﾞ (e)"), txtRdNoise);
    auto* maskRow = new QHBoxLayout;
    maskRow->addWidget(txtMaskFileName, 1);
    maskRow->addWidget(cmdMaskFileName);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* whole = new QVBoxLayout(this);
    whole->addLayout(form);
    whole->addWidget(lblNoise);
    whole->addWidget(chkMask);
    whole->addLayout(maskRow);
    whole->addStretch(1);
    whole->addLayout(buttons);

    connect(chkMask, &QCheckBox::clicked, this, &FrmClean::chkMask_Click);
    connect(cmdMaskFileName, &QPushButton::clicked, this, &FrmClean::cmdMaskFileName_Click);
    connect(cmdOK, &QPushButton::clicked, this, &FrmClean::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QWidget::close);
}

void FrmClean::initForm()
{
    const AppState& s = appState();
    setWindowTitle(qt("宇宙線除去 [ " + namePart(s.strFileName) + " ]"));
    const CleanParameters defaults;
    const DetectorNoise noise = detectorNoise(s.strHeader, std::nullopt, std::nullopt);
    txtSigClip->setText(number(defaults.sigmaClip));
    txtObjLim->setText(number(defaults.objectLimit));
    txtGain->setText(number(noise.gain));
    txtRdNoise->setText(number(noise.readNoise));
    lblNoise->setText(qt(detectorNoiseNote(noise)).trimmed());
    lblNoise->setVisible(noise.gainAssumed || noise.readNoiseAssumed);
    chkMask->setChecked(false);
    chkMask_Click();
}

void FrmClean::chkMask_Click()
{
    txtMaskFileName->setEnabled(chkMask->isChecked());
    cmdMaskFileName->setEnabled(chkMask->isChecked());
}

void FrmClean::cmdMaskFileName_Click()
{
    MdiRaylen* main = mdiRaylen();
    if (main == nullptr)
        return;
    int filterIndex = 1;
    bool cancel = false;
    std::string message =
        sfBrowseFile(main->dlgOpenFile, maskPath, browseSave, "ﾏｽｸを保存", frameFilter, filterIndex, cancel);
    if (!message.empty())
        MsgBox(message, vbCritical);
    else if (!cancel)
        txtMaskFileName->setText(qt(maskPath));
}

void FrmClean::cmdOK_Click()
{
    CleanParameters p;
    if (!readNumber(txtSigClip, p.sigmaClip) || !readNumber(txtObjLim, p.objectLimit) ||
        !readNumber(txtGain, p.gain) || !readNumber(txtRdNoise, p.readNoise)) {
        MsgBox(parameterMessage, vbExclamation);
        return;
    }
    const std::string mask = chkMask->isChecked() ? txtMaskFileName->text().trimmed().toStdString() : std::string();
    if (chkMask->isChecked() && mask.empty()) {
        MsgBox("ﾌｧｲﾙ名を入力してください", vbExclamation);
        return;
    }
    size_t cleaned = 0;
    std::string message;
    {
        WaitCursor wait;
        message = sfCleanPro(p, mask, cleaned);
    }
    if (!message.empty()) {
        // The parameters can be mended and tried again; the image is as it was.
        MsgBox(message, vbExclamation);
        return;
    }
    close();
    MsgBox("宇宙線 " + std::to_string(cleaned) + " 画素を除去しました", vbInformation);
}

void showFrmClean()
{
    if (FrmClean::raiseLoaded())
        return;
    auto* dialog = new FrmClean(mdiRaylen());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->initForm();
    dialog->markLoaded();
    dialog->show();
}

std::string sfCleanPro(const CleanParameters& parameters, const std::string& maskFile, size_t& cleaned)
{
    AppState& s = appState();
    SingleImage image = s.sngImage;
    HeaderCards header = s.strHeader;
    CleanResult result;
    std::string message = sfCleanCosmicRays(image, header, parameters, result);
    if (message.empty() && !maskFile.empty()) {
        HeaderCards maskHeader = header;
        message = sfSaveImgSng(maskFile, maskHeader, replacedPixelFrame(result));
    }
    if (!message.empty())
        return message;
    s.sngImage.swap(image);
    s.strHeader.swap(header);
    cleaned = result.cleaned;
    return sfShowChangedImage("sfCleanPro");
}

} // namespace raylen
