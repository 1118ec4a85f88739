#include "image/gui/FrmDarkFlat.h"

#include "display/Bitmap.h"
#include "image/DarkFlat.h"
#include "image/gui/FrmImage.h"
#include "platform/BasicError.h"
#include "platform/Format.h"
#include "platform/UiService.h"
#include "state/AppState.h"
#include "files/FileAccess.h"
#include "shell/gui/FileIntake.h"
#include "shell/gui/Fonts.h"
#include "shell/gui/Help.h"
#include "shell/gui/MdiRaylen.h"
#include "shell/gui/ProgramSettings.h"
#include "shell/gui/FormSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

namespace raylen {

using namespace platform;

namespace {



} // namespace

FrmDarkFlat* frmDarkFlat() { return FrmDarkFlat::loaded(); }

FrmDarkFlat::FrmDarkFlat(QWidget* parent) : TaskDialog(parent, taskDarkFlat)
{
    setObjectName("frmDarkFlat");
    setWindowTitle(QString::fromUtf8("ﾀﾞｰｸ・ﾌﾗｯﾄ補正"));
    chkDark = new QCheckBox(QString::fromUtf8("ﾀﾞｰｸ ﾌｧｲﾙ"), this);
    txtDarkFileName = new QLineEdit(this);
    cmdDarkFileName = new QPushButton(QString::fromUtf8("参照"), this);
    chkFlat = new QCheckBox(QString::fromUtf8("ﾌﾗｯﾄ ﾌｧｲﾙ"), this);
    txtFlatFileName = new QLineEdit(this);
    cmdFlatFileName = new QPushButton(QString::fromUtf8("参照"), this);
    cmdOK = new QPushButton(QString::fromUtf8("実行"), this);
    cmdCancel = new QPushButton(QString::fromUtf8("ｷｬﾝｾﾙ"), this);
    cmdHelp = new QPushButton(QString::fromUtf8("ﾍﾙﾌﾟ"), this);
    linWhite = new QFrame(this);
    linGray = new QFrame(this);
    chkDark->setObjectName("chkDark");
    txtDarkFileName->setObjectName("txtDarkFileName");
    cmdDarkFileName->setObjectName("cmdDarkFileName");
    chkFlat->setObjectName("chkFlat");
    txtFlatFileName->setObjectName("txtFlatFileName");
    cmdFlatFileName->setObjectName("cmdFlatFileName");
    cmdOK->setObjectName("cmdOK");
    cmdCancel->setObjectName("cmdCancel");
    cmdHelp->setObjectName("cmdHelp");
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
    cmdOK->setDefault(true);

    connect(chkDark, &QCheckBox::clicked, this, &FrmDarkFlat::chkDark_Click);
    connect(chkFlat, &QCheckBox::clicked, this, &FrmDarkFlat::chkFlat_Click);
    connect(cmdDarkFileName, &QPushButton::clicked, this, &FrmDarkFlat::cmdDarkFileName_Click);
    connect(cmdFlatFileName, &QPushButton::clicked, this, &FrmDarkFlat::cmdFlatFileName_Click);
    connect(cmdOK, &QPushButton::clicked, this, &FrmDarkFlat::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &FrmDarkFlat::cmdCancel_Click);
    connect(cmdHelp, &QPushButton::clicked, this, [] { dsHelp(); });
}

std::string FrmDarkFlat::sfInitForm(const std::string& strFileName, const std::string& strDarkFileName,
                                    const std::string& strFlatFileName)
{
    return trapErrors("sfInitForm", [&] {
        setFixedSize(twipsToPixelsX(5400), twipsToPixelsY(2520));
        // Rows of check box, file name and browse button, then the etched
        // line and the command buttons.
        chkDark->setGeometry(twipsRect(120, 180, 1380, 300));
        txtDarkFileName->setGeometry(twipsRect(1560, 150, 2700, 330));
        cmdDarkFileName->setGeometry(twipsRect(4380, 135, 900, 360));
        chkFlat->setGeometry(twipsRect(120, 780, 1380, 300));
        txtFlatFileName->setGeometry(twipsRect(1560, 750, 2700, 330));
        cmdFlatFileName->setGeometry(twipsRect(4380, 735, 900, 360));
        linGray->setGeometry(twipsToPixelsX(120), twipsToPixelsY(1680), width() - 2 * twipsToPixelsX(120), 1);
        linWhite->setGeometry(twipsToPixelsX(120), twipsToPixelsY(1680) + 1, width() - 2 * twipsToPixelsX(120), 1);
        cmdOK->setGeometry(twipsRect(1860, 1860, 1080, 390));
        cmdCancel->setGeometry(twipsRect(3030, 1860, 1080, 390));
        cmdHelp->setGeometry(twipsRect(4200, 1860, 1080, 390));

        std::string name = strFileName, directory;
        std::string message = sfExtrFileName(strFileName, name, directory);
        if (!message.empty())
            return message;
        setWindowTitle(QString::fromStdString("ﾀﾞｰｸ・ﾌﾗｯﾄ補正 [ " + name + " ]"));
        txtDarkFileName->setText(QString::fromStdString(namePart(strDarkFileName)));
        txtFlatFileName->setText(QString::fromStdString(namePart(strFlatFileName)));
        chkDark->setChecked(false);
        chkFlat->setChecked(false);
        chkDark_Click();
        chkFlat_Click();
        cmdOK->setEnabled(false);
        return std::string();
    });
}

void FrmDarkFlat::fileControls(QCheckBox* check, QLineEdit* text, QPushButton* browse)
{
    const bool on = check->isChecked();
    text->setEnabled(on);
    browse->setEnabled(on);
    QPalette palette = text->palette();
    const QColor background = on ? QColor(255, 255, 255) : QApplication::palette().color(QPalette::Button);
    palette.setColor(QPalette::Active, QPalette::Base, background);
    palette.setColor(QPalette::Inactive, QPalette::Base, background);
    palette.setColor(QPalette::Disabled, QPalette::Base, background);
    text->setPalette(palette);
    cmdOK->setEnabled(chkDark->isChecked() || chkFlat->isChecked());
}

void FrmDarkFlat::chkDark_Click() { fileControls(chkDark, txtDarkFileName, cmdDarkFileName); }
void FrmDarkFlat::chkFlat_Click() { fileControls(chkFlat, txtFlatFileName, cmdFlatFileName); }

void FrmDarkFlat::browse(std::string& remembered, QLineEdit* text, const char* title)
{
    MdiRaylen* main = mdiRaylen();
    if (main == nullptr)
        return;
    int filterIndex = 1;
    bool cancel = false;
    std::string message = sfBrowseFile(main->dlgOpenFile, remembered, browseOpen, title, frameFilter, filterIndex,
                                       cancel);
    if (!message.empty()) {
        MsgBox(message, vbCritical);
        return;
    }
    if (!cancel)
        text->setText(QString::fromStdString(namePart(remembered)));
}

void FrmDarkFlat::cmdDarkFileName_Click() { browse(appState().strDarkFileName, txtDarkFileName, "ﾀﾞｰｸﾌｧｲﾙを開く"); }
void FrmDarkFlat::cmdFlatFileName_Click() { browse(appState().strFlatFileName, txtFlatFileName, "ﾌﾗｯﾄﾌｧｲﾙを開く"); }

void FrmDarkFlat::cmdOK_Click()
{
    AppState& s = appState();
    // The typed names are taken in the folders of the remembered paths.
    s.strDarkFileName = directoryPart(s.strDarkFileName) + txtDarkFileName->text().toStdString();
    s.strFlatFileName = directoryPart(s.strFlatFileName) + txtFlatFileName->text().toStdString();
    std::string message;
    {
        WaitCursor wait;
        message = sfDarkFlatPro(chkDark->isChecked(), chkFlat->isChecked());
    }
    if (!message.empty())
        MsgBox(message, vbExclamation);
    close();
}

void FrmDarkFlat::cmdCancel_Click() { close(); }

void showFrmDarkFlat()
{
    if (FrmDarkFlat::raiseLoaded())
        return;
    MdiRaylen* main = mdiRaylen();
    auto* dialog = new FrmDarkFlat(main);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    const AppState& s = appState();
    std::string message = dialog->sfInitForm(s.strFileName, s.strDarkFileName, s.strFlatFileName);
    if (!message.empty()) {
        MsgBox(message, vbExclamation);
        // Unloaded before anything was locked: the main window stays as it was.
        dialog->discardUnloaded();
        return;
    }
    dialog->markLoaded();
    dialog->show();
}

void unloadFrmDarkFlat()
{
    FrmDarkFlat::closeLoaded();
}

std::string sfDarkFlatPro(bool blnDark, bool blnFlat)
{
    return trapErrors("sfDarkFlatPro", [&]() -> std::string {
        AppState& s = appState();
        std::string message = sfDarkFlatCorrect(s.sngImage, s.typFitsInfo, s.strHeader, blnDark, s.strDarkFileName,
                                                blnFlat, s.strFlatFileName);
        if (!message.empty())
            return message;
        if (blnDark)
            rememberFile(RememberedFile::dark, s.strDarkFileName);
        if (blnFlat)
            rememberFile(RememberedFile::flat, s.strFlatFileName);
        // The image in memory differs from its file from here on.
        s.blnImageChanged = true;
        float maximum = 0.0f, minimum = 0.0f;
        message = sfCreateBitMap(s.sngImage, s.typFitsInfo.NAXIS1, s.typFitsInfo.NAXIS2, maximum, minimum,
                                 s.renderFile, true);
        if (!message.empty())
            return message;
        FrmImage* image = frmImage();
        message = image != nullptr ? image->sfInitForm(s.strFileName + " 変更")
                                   : trapMessage("sfDarkFlatPro", errObjectNotSet, errorDescription(errObjectNotSet));
        if (!message.empty()) {
            s.blnImageLoaded = false;
            return message;
        }
        if (MdiRaylen* main = mdiRaylen()) {
            main->txtMax->setText(QString::fromStdString(Format(maximum, "0")));
            main->txtMin->setText(QString::fromStdString(Format(minimum, "0")));
        }
        return std::string();
    });
}

} // namespace raylen
