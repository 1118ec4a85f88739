#include "image/gui/FrmCombine.h"

#include "files/FileAccess.h"
#include "fits/FitsData.h"
#include "image/ErrorExtension.h"
#include "platform/BasicError.h"
#include "platform/UiService.h"
#include "shell/gui/DocumentLinks.h"
#include "shell/gui/FileIntake.h"
#include "shell/gui/FormSupport.h"
#include "shell/gui/MdiRaylen.h"
#include "state/AppState.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace raylen {

using namespace platform;

namespace {

// Combo entries in the order of the enumerations.
const char* const methodCaptions[] = {"ﾒｼﾞｱﾝ", "平均", "合計"};
const char* const rejectCaptions[] = {"なし", "ｼｸﾞﾏｸﾘｯﾌﾟ", "最小・最大"};
const char* const scaleCaptions[] = {"なし", "ﾒｼﾞｱﾝ", "露出時間"};

QComboBox* combo(QWidget* parent, const char* name, std::initializer_list<const char*> captions)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    for (const char* caption : captions)
        box->addItem(qt(caption));
    return box;
}

} // namespace

FrmCombine* frmCombine() { return FrmCombine::loaded(); }

FrmCombine::FrmCombine(QWidget* parent) : TaskDialog(parent, std::nullopt)
{
    setObjectName("frmCombine");
    setWindowTitle(qt("ﾌﾚｰﾑ合成"));
    lstFiles = new QListWidget(this);
    lstFiles->setObjectName("lstFiles");
    auto button = [this](const char* name, const char* caption) {
        auto* b = new QPushButton(qt(caption), this);
        b->setObjectName(name);
        return b;
    };
    auto field = [this](const char* name) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(name);
        return edit;
    };
    cmdAdd = button("cmdAdd", "追加");
    cmdRemove = button("cmdRemove", "削除");
    cboMethod = combo(this, "cboMethod", {methodCaptions[0], methodCaptions[1], methodCaptions[2]});
    cboReject = combo(this, "cboReject", {rejectCaptions[0], rejectCaptions[1], rejectCaptions[2]});
    cboScale = combo(this, "cboScale", {scaleCaptions[0], scaleCaptions[1], scaleCaptions[2]});
    chkError = new QCheckBox(qt("誤差 ±1σ の画像(ERR)も保存"), this);
    chkError->setObjectName("chkError");
    txtLow = field("txtLow");
    txtHigh = field("txtHigh");
    txtOutput = field("txtOutput");
    cmdOutput = button("cmdOutput", "参照");
    cmdOK = button("cmdOK", "実行");
    cmdOK->setDefault(true);
    cmdCancel = button("cmdCancel", "ｷｬﾝｾﾙ");

    auto* listButtons = new QVBoxLayout;
    listButtons->addWidget(cmdAdd);
    listButtons->addWidget(cmdRemove);
    listButtons->addStretch(1);
    auto* listRow = new QHBoxLayout;
    listRow->addWidget(lstFiles, 1);
    listRow->addLayout(listButtons);
    auto* limits = new QHBoxLayout;
    limits->addWidget(txtLow);
    limits->addWidget(new QLabel(qt(":"), this));
    limits->addWidget(txtHigh);
    auto* outputRow = new QHBoxLayout;
    outputRow->addWidget(txtOutput, 1);
    outputRow->addWidget(cmdOutput);
    auto* form = new QFormLayout;
    form->addRow(qt("合成方法"), cboMethod);
    form->addRow(qt("除外"), cboReject);
    form->addRow(qt("下限:上限"), limits);
    form->addRow(qt("規格化"), cboScale);
    form->addRow(QString(), chkError);
    form->addRow(qt("保存先"), outputRow);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* whole = new QVBoxLayout(this);
    whole->addLayout(listRow, 1);
    whole->addLayout(form);
    whole->addLayout(buttons);

    connect(cmdAdd, &QPushButton::clicked, this, &FrmCombine::cmdAdd_Click);
    connect(cmdRemove, &QPushButton::clicked, this, &FrmCombine::cmdRemove_Click);
    connect(cboReject, qOverload<int>(&QComboBox::activated), this, &FrmCombine::cboReject_Click);
    connect(cmdOutput, &QPushButton::clicked, this, &FrmCombine::cmdOutput_Click);
    connect(cmdOK, &QPushButton::clicked, this, &FrmCombine::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QWidget::close);
    connect(lstFiles, &QListWidget::itemSelectionChanged, this, &FrmCombine::updateEnabled);
    connect(txtOutput, &QLineEdit::textChanged, this, &FrmCombine::updateEnabled);
    cboReject_Click();
}

std::vector<std::string> FrmCombine::files() const
{
    std::vector<std::string> list;
    for (int i = 0; i < lstFiles->count(); ++i)
        list.push_back(lstFiles->item(i)->text().toStdString());
    return list;
}

void FrmCombine::updateEnabled()
{
    cmdRemove->setEnabled(!lstFiles->selectedItems().isEmpty());
    cmdOK->setEnabled(lstFiles->count() > 0 && !txtOutput->text().trimmed().isEmpty());
}

void FrmCombine::cmdAdd_Click()
{
    MdiRaylen* main = mdiRaylen();
    if (main == nullptr)
        return;
    int filterIndex = 1;
    bool cancel = false;
    std::string message =
        sfBrowseFile(main->dlgOpenFile, browsed, browseOpen, "合成するﾌﾚｰﾑ", frameFilter, filterIndex, cancel);
    if (!message.empty())
        MsgBox(message, vbCritical);
    else if (!cancel)
        lstFiles->addItem(qt(browsed));
    updateEnabled();
}

void FrmCombine::cmdRemove_Click()
{
    for (QListWidgetItem* item : lstFiles->selectedItems())
        delete item;
    updateEnabled();
}

// The limits follow the rejection: σ multiples for clipping, value counts
// for min/max, nothing without rejection.
void FrmCombine::cboReject_Click()
{
    const int reject = cboReject->currentIndex();
    const CombineOptions defaults;
    txtLow->setEnabled(reject != 0);
    txtHigh->setEnabled(reject != 0);
    if (reject == 1) {
        txtLow->setText(QString::number(defaults.low));
        txtHigh->setText(QString::number(defaults.high));
    } else if (reject == 2) {
        txtLow->setText(QString::number(defaults.dropLow));
        txtHigh->setText(QString::number(defaults.dropHigh));
    } else {
        txtLow->clear();
        txtHigh->clear();
    }
    updateEnabled();
}

void FrmCombine::cmdOutput_Click()
{
    MdiRaylen* main = mdiRaylen();
    if (main == nullptr)
        return;
    int filterIndex = 1;
    bool cancel = false;
    std::string output = txtOutput->text().toStdString();
    std::string message = sfBrowseFile(main->dlgOpenFile, output, browseSave, "合成結果を保存", frameFilter,
                                       filterIndex, cancel);
    if (!message.empty())
        MsgBox(message, vbCritical);
    else if (!cancel)
        txtOutput->setText(qt(output));
}

void FrmCombine::cmdOK_Click()
{
    CombineOptions o;
    o.method = static_cast<CombineMethod>(cboMethod->currentIndex());
    o.reject = static_cast<CombineReject>(cboReject->currentIndex());
    o.scale = static_cast<CombineScale>(cboScale->currentIndex());
    bool lowOk = true, highOk = true;
    if (o.reject == CombineReject::sigmaClip) {
        o.low = txtLow->text().trimmed().toDouble(&lowOk);
        o.high = txtHigh->text().trimmed().toDouble(&highOk);
    } else if (o.reject == CombineReject::minMax) {
        o.dropLow = txtLow->text().trimmed().toInt(&lowOk);
        o.dropHigh = txtHigh->text().trimmed().toInt(&highOk);
    }
    if (!lowOk || !highOk) {
        MsgBox("数値を入力してください", vbExclamation);
        return;
    }
    const std::vector<std::string> list = files();
    const std::string output = txtOutput->text().trimmed().toStdString();
    for (const std::string& file : list)
        if (file == output) {
            MsgBox("入力ﾌｧｲﾙと同じﾌｧｲﾙには書き込めません: " + output, vbExclamation);
            return;
        }
    const bool withError = chkError->isChecked();
    SingleImage image, sigma;
    HeaderCards header;
    std::string message;
    {
        WaitCursor wait;
        message = sfCombineFrames(list, o, image, header, withError ? &sigma : nullptr);
        if (message.empty())
            message = withError ? sfSaveImgSngWithError(output, header, image, sigma)
                                : sfSaveImgSng(output, header, image);
    }
    if (!message.empty()) {
        // The choices stay for a mended try.
        MsgBox(message, vbExclamation);
        return;
    }
    close();
    showCritical(sfOpenCombined(output));
}

void showFrmCombine()
{
    if (FrmCombine::raiseLoaded())
        return;
    auto* dialog = new FrmCombine(mdiRaylen());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->markLoaded();
    dialog->show();
}

std::string sfOpenCombined(const std::string& output)
{
    AppState& s = appState();
    // A changed image is not replaced without the save question.
    if (ImageWindowLink* image = loadedImageWindow(); s.blnImageChanged && image != nullptr) {
        bool cancel = false;
        image->dfUnloadForm(cancel);
        if (cancel)
            return {};
    }
    s.strFileName = output;
    WaitCursor wait;
    return sfOpenFilePro(output);
}

} // namespace raylen
