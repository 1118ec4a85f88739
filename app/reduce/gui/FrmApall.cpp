#include "reduce/gui/FrmApall.h"

#include "image/gui/FrmImage.h"
#include "platform/BasicError.h"
#include "plot/gui/PlotTaskLinks.h"
#include "platform/BasicRuntime.h"
#include "platform/Format.h"
#include "platform/UiService.h"
#include "fits/FitsSpectrum.h"
#include "reduce/Extract.h"
#include "image/DetectorNoise.h"
#include "reduce/ExtractHistory.h"
#include "reduce/ParamFile.h"
#include "reduce/RejectedPoints.h"
#include "reduce/ScanParam.h"
#include "reduce/Trace.h"
#include "state/AppState.h"
#include "files/FileAccess.h"
#include "shell/gui/DocumentLinks.h"
#include "shell/gui/FileIntake.h"
#include "shell/gui/Fonts.h"
#include "shell/gui/Help.h"
#include "shell/gui/MdiRaylen.h"
#include "shell/gui/FormSupport.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>

namespace raylen {

using namespace platform;

namespace {

const std::string kMsgNoRegion = "領域を指定して下さい";
const std::string kMsgBadNoise = "利得には正の数, 読み出しﾉｲｽﾞには 0 以上の数を指定してください";

const char* const prmFilter = "参照ﾌｧｲﾙ(*.prm)|*.prm|";
const std::string kCaptionNext = "次へ";
const std::string kCaptionSave = "保存";

std::string str(const QLineEdit* box) { return box->text().toStdString(); }

int32_t longOf(const QLineEdit* box) { return toLong(leadingNumber(str(box))); }

} // namespace

FrmApall* frmApall() { return FrmApall::loaded(); }

FrmApall::FrmApall(SpectrumView& plot, QWidget* parent) : TaskDialog(parent, taskScan), plot_(plot)
{
    setObjectName("frmApall");
    setWindowTitle(QString::fromUtf8("ｽｷｬﾝ"));
    buildPages();
    cmdReturn = new QPushButton(QString::fromUtf8("戻る"), this);
    cmdNext = new QPushButton(qt(kCaptionNext), this);
    cmdCancel = new QPushButton(QString::fromUtf8("ｷｬﾝｾﾙ"), this);
    cmdHelp = new QPushButton(QString::fromUtf8("ﾍﾙﾌﾟ"), this);
    cmdReturn->setObjectName("cmdReturn");
    cmdNext->setObjectName("cmdNext");
    cmdCancel->setObjectName("cmdCancel");
    cmdHelp->setObjectName("cmdHelp");
    cmdNext->setDefault(true);
    connect(cmdReturn, &QPushButton::clicked, this, &FrmApall::cmdReturn_Click);
    connect(cmdNext, &QPushButton::clicked, this, &FrmApall::cmdNext_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &FrmApall::cmdCancel_Click);
    connect(cmdHelp, &QPushButton::clicked, this, [] { dsHelp("scan"); });
    connect(cmdFit, &QPushButton::clicked, this, &FrmApall::cmdFit_Click);
    connect(chkRefScan, &QCheckBox::clicked, this, &FrmApall::chkRefScan_Click);
    connect(chkSkySub, &QCheckBox::clicked, this, &FrmApall::chkSkySub_Click);
    connect(cmdRefFileName, &QPushButton::clicked, this, &FrmApall::cmdRefFileName_Click);
    for (QLineEdit* box : {txtStartX, txtEndX, txtStartY, txtEndY})
        box->installEventFilter(this);
}

void FrmApall::buildPages()
{
    auto label = [](QWidget* parent, const char* name, const char* caption) {
        auto* l = new QLabel(QString::fromUtf8(caption), parent);
        l->setObjectName(name);
        return l;
    };
    auto box = [](QWidget* parent, const QString& name) {
        auto* t = new QLineEdit(parent);
        t->setObjectName(name);
        return t;
    };
    for (int page = 1; page <= 5; ++page) {
        picContena[static_cast<size_t>(page)] = new QFrame(this);
        picContena[static_cast<size_t>(page)]->setObjectName(QString("picContena%1").arg(page));
    }
    QFrame* p1 = picContena[1];
    chkRefScan = new QCheckBox(QString::fromUtf8("参照してスキャン"), p1);
    chkRefScan->setObjectName("chkRefScan");
    txtRefFileName = box(p1, "txtRefFileName");
    cmdRefFileName = new QPushButton(QString::fromUtf8("参照"), p1);
    cmdRefFileName->setObjectName("cmdRefFileName");

    QFrame* p2 = picContena[2];
    fraDirection = new QGroupBox(QString::fromUtf8("ｽｷｬﾝ方向"), p2);
    fraDirection->setObjectName("fraDirection");
    optHor = new QRadioButton(QString::fromUtf8("X 方向"), fraDirection);
    optVer = new QRadioButton(QString::fromUtf8("Y 方向"), fraDirection);
    optHor->setObjectName("optHor");
    optVer->setObjectName("optVer");
    lblRegion = label(p2, "lblRegion", "範囲の設定");
    lblX = label(p2, "lblX", "X");
    lblY = label(p2, "lblY", "Y");
    txtStartX = box(p2, "txtStartX");
    txtEndX = box(p2, "txtEndX");
    txtStartY = box(p2, "txtStartY");
    txtEndY = box(p2, "txtEndY");

    QFrame* p3 = picContena[3];
    lblScanWidth = label(p3, "lblScanWidth", "ｽｷｬﾝ幅");
    txtScanWidth = box(p3, "txtScanWidth");
    lblScanPixel = label(p3, "lblScanPixel", "ﾋﾟｸｾﾙ");
    chkSkySub = new QCheckBox(QString::fromUtf8("ｽｶｲの差し引き"), p3);
    chkSkySub->setObjectName("chkSkySub");
    lblSkyRegion = label(p3, "lblSkyRegion", "ｽｶｲの範囲");
    for (size_t i = 0; i < 2; ++i) {
        txtStartRegion[i] = box(p3, QString("txtStartRegion%1").arg(i));
        lblDot[i] = label(p3, "lblDot", "～");
        txtEndRegion[i] = box(p3, QString("txtEndRegion%1").arg(i));
    }
    lblSkyFitOrder = label(p3, "lblSkyFitOrder", "ﾌｨｯﾄ　次数");
    txtSkyFitOrder = box(p3, "txtSkyFitOrder");
    chkOptimal = new QCheckBox(QString::fromUtf8("最適抽出"), p3);
    chkOptimal->setObjectName("chkOptimal");
    lblCrSigma = label(p3, "lblCrSigma", "CR σ");
    txtCrSigma = box(p3, "txtCrSigma");
    txtCrSigma->setText(qt(Format(defaultCrSigma, "0.0")));
    lblGain = label(p3, "lblGain", "利得 (e/ADU)");
    txtGain = box(p3, "txtGain");
    lblRdNoise = label(p3, "lblRdNoise", "読み出しﾉｲｽﾞ (e)");
    txtRdNoise = box(p3, "txtRdNoise");
    lblNoiseNote = label(p3, "lblNoiseNote", "");
    lblNoiseNote->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    QFrame* p4 = picContena[4];
    lblOrder = label(p4, "lblOrder", "次数");
    txtOrder = box(p4, "txtOrder");
    reject.create(p4, "txt");
    cmdFit = new QPushButton(QString::fromUtf8("ﾌｨｯﾄ"), p4);
    cmdFit->setObjectName("cmdFit");
    lblResult = label(p4, "lblResult", "結果");
    lblResult->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    lblOK = label(picContena[5], "lblOK", "よろしいですか？");
}

std::string FrmApall::sfInitForm(const std::string& strFileName)
{
    return trapErrors("sfInitForm", [&]() -> std::string {
        setFixedSize(twipsToPixelsX(5400), twipsToPixelsY(3420));
        for (int page = 1; page <= 5; ++page)
            picContena[static_cast<size_t>(page)]->setGeometry(twipsRect(120, 120, 5160, 2520));
        chkRefScan->setGeometry(twipsRect(240, 240, 2400, 300));
        txtRefFileName->setGeometry(twipsRect(240, 720, 3600, 330));
        cmdRefFileName->setGeometry(twipsRect(3960, 705, 900, 360));
        fraDirection->setGeometry(twipsRect(120, 60, 1800, 1200));
        optHor->setGeometry(twipsRect(180, 300, 1400, 300));
        optVer->setGeometry(twipsRect(180, 720, 1400, 300));
        lblRegion->setGeometry(twipsRect(2160, 120, 1500, 300));
        lblX->setGeometry(twipsRect(2160, 540, 300, 300));
        txtStartX->setGeometry(twipsRect(2520, 510, 1080, 330));
        txtEndX->setGeometry(twipsRect(3720, 510, 1080, 330));
        lblY->setGeometry(twipsRect(2160, 1020, 300, 300));
        txtStartY->setGeometry(twipsRect(2520, 990, 1080, 330));
        txtEndY->setGeometry(twipsRect(3720, 990, 1080, 330));
        lblScanWidth->setGeometry(twipsRect(120, 150, 1200, 300));
        txtScanWidth->setGeometry(twipsRect(1440, 120, 840, 330));
        lblScanPixel->setGeometry(twipsRect(2400, 150, 900, 300));
        chkSkySub->setGeometry(twipsRect(120, 660, 2400, 300));
        lblSkyRegion->setGeometry(twipsRect(360, 1140, 1200, 300));
        for (size_t i = 0; i < 2; ++i) {
            const int left = 1560 + static_cast<int>(i) * 1800;
            txtStartRegion[i]->setGeometry(twipsRect(left, 1110, 660, 330));
            lblDot[i]->setGeometry(twipsRect(left + 690, 1140, 360, 300));
            txtEndRegion[i]->setGeometry(twipsRect(left + 1050, 1110, 660, 330));
        }
        lblSkyFitOrder->setGeometry(twipsRect(360, 1620, 1200, 300));
        txtSkyFitOrder->setGeometry(twipsRect(1560, 1590, 660, 330));
        chkOptimal->setGeometry(twipsRect(120, 2070, 1800, 300));
        lblCrSigma->setGeometry(twipsRect(2040, 2100, 600, 300));
        txtCrSigma->setGeometry(twipsRect(2640, 2070, 660, 330));
        lblGain->setGeometry(twipsRect(2640, 690, 1380, 300));
        txtGain->setGeometry(twipsRect(4080, 660, 900, 330));
        lblRdNoise->setGeometry(twipsRect(2400, 1620, 1620, 300));
        txtRdNoise->setGeometry(twipsRect(4080, 1590, 900, 330));
        lblNoiseNote->setGeometry(twipsRect(3420, 2010, 1740, 510));
        lblOrder->setGeometry(twipsRect(120, 150, 600, 300));
        txtOrder->setGeometry(twipsRect(840, 120, 660, 330));
        cmdFit->setGeometry(twipsRect(1680, 105, 1080, 360));
        reject.place(120, 2160);
        // Above the σ boxes: a label over them would take their clicks.
        lblResult->setGeometry(twipsRect(120, 600, 4920, 1500));
        lblOK->setGeometry(twipsRect(240, 960, 3000, 300));
        cmdReturn->setGeometry(twipsRect(600, 2880, 1080, 390));
        cmdNext->setGeometry(twipsRect(1800, 2880, 1080, 390));
        cmdCancel->setGeometry(twipsRect(3000, 2880, 1080, 390));
        cmdHelp->setGeometry(twipsRect(4200, 2880, 1080, 390));

        std::string name = strFileName, directory;
        std::string message = sfExtrFileName(strFileName, name, directory);
        if (!message.empty())
            return message;
        setWindowTitle(qt("ｽｷｬﾝ [ " + name + " ]"));
        intPage = 1;
        optHor->setChecked(true);
        txtRefFileName->setVisible(false);
        cmdRefFileName->setVisible(false);
        cmdNext->setEnabled(true);
        cmdReturn->setEnabled(false);
        dsSetNoise();
        dsShowPage();
        return std::string();
    });
}

void FrmApall::dsShowPage()
{
    for (int page = 1; page <= 5; ++page)
        picContena[static_cast<size_t>(page)]->setVisible(page == intPage);
    QFrame* current = picContena[static_cast<size_t>(intPage)];
    current->move(twipsToPixelsX(120), twipsToPixelsY(120));
    current->raise();
}

void FrmApall::dsSetScanRegion()
{
    FrmImage* image = frmImage();
    if (image == nullptr)
        return;
    const ShpBox& b = image->box();
    txtStartX->setText(qt(Format(b.left, "0")));
    txtEndX->setText(qt(Format(static_cast<double>(b.left) + b.width - 1, "0")));
    txtStartY->setText(qt(Format(b.top, "0")));
    txtEndY->setText(qt(Format(static_cast<double>(b.top) + b.height - 1, "0")));
}

void FrmApall::dsSetScanParam()
{
    const ScanParamValues values = scanParamValues(appState().typScanParam);
    auto text = [](int64_t value) { return qt(Format(static_cast<double>(value), "0")); };
    txtScanWidth->setText(text(values.scanWidth));
    chkSkySub->setChecked(values.skySub);
    chkSkySub_Click();
    txtStartRegion[0]->setText(text(values.skyOffsets[0]));
    txtEndRegion[0]->setText(text(values.skyOffsets[1]));
    txtStartRegion[1]->setText(text(values.skyOffsets[2]));
    txtEndRegion[1]->setText(text(values.skyOffsets[3]));
    txtSkyFitOrder->setText(text(values.skyFitOrder));
}

std::string FrmApall::dsGetScanParam()
{
    // A box counts by its leading numeric part (none reads 0), halves to even;
    // whether the number fits its member is the record's check.
    ScanParamValues values;
    std::string message = trapErrors(kGetScanParamLabel, [&] {
        auto whole = [](const QLineEdit* box) { return toWholeSaturated(leadingNumber(str(box))); };
        values.scanWidth = whole(txtScanWidth);
        values.skySub = chkSkySub->isChecked();
        values.skyOffsets = {whole(txtStartRegion[0]), whole(txtEndRegion[0]), whole(txtStartRegion[1]),
                             whole(txtEndRegion[1])};
        values.skyFitOrder = whole(txtSkyFitOrder);
        values.startX = whole(txtStartX);
        values.endX = whole(txtEndX);
        values.startY = whole(txtStartY);
        values.endY = whole(txtEndY);
    });
    if (message.empty())
        message = sfStoreScanParam(values, appState().typScanParam);
    if (message.empty()) {
        auto text = [](int64_t value) { return qt(Format(static_cast<double>(value), "0")); };
        txtStartRegion[0]->setText(text(values.skyOffsets[0]));
        txtEndRegion[0]->setText(text(values.skyOffsets[1]));
        txtStartRegion[1]->setText(text(values.skyOffsets[2]));
        txtEndRegion[1]->setText(text(values.skyOffsets[3]));
    }
    return message;
}

void FrmApall::dsScanSkySub(bool enabled)
{
    for (QWidget* w : std::initializer_list<QWidget*>{lblSkyRegion, txtStartRegion[0], txtEndRegion[0],
                                                       txtStartRegion[1], txtEndRegion[1], lblSkyFitOrder,
                                                       txtSkyFitOrder})
        w->setEnabled(enabled);
}

void FrmApall::dsSetNoise()
{
    const DetectorNoise noise = detectorNoise(appState().strHeader, std::nullopt, std::nullopt);
    txtGain->setText(QString::number(noise.gain, 'g', 6));
    txtRdNoise->setText(QString::number(noise.readNoise, 'g', 6));
    const char* note = noise.gainAssumed && noise.readNoiseAssumed ? "GAIN, RDNOISE が\nなく 1 と 0 を仮定"
                       : noise.gainAssumed                         ? "GAIN がなく\n利得 1 を仮定"
                                                                   : "RDNOISE がなく\nﾉｲｽﾞ 0 を仮定";
    lblNoiseNote->setText(QString::fromUtf8(note));
    lblNoiseNote->setVisible(noise.gainAssumed || noise.readNoiseAssumed);
}

bool FrmApall::readNoise(NoiseModel& noise) const
{
    bool gainRead = false, readNoiseRead = false;
    noise.gain = txtGain->text().trimmed().toDouble(&gainRead);
    noise.readNoise = txtRdNoise->text().trimmed().toDouble(&readNoiseRead);
    return gainRead && readNoiseRead && noise.gain > 0 && noise.readNoise >= 0;
}

void FrmApall::chkSkySub_Click()
{
    const bool on = chkSkySub->isChecked();
    appState().typScanParam.blnSkySub = on ? -1 : 0;
    dsScanSkySub(on);
}

void FrmApall::chkRefScan_Click()
{
    const bool on = chkRefScan->isChecked();
    txtRefFileName->setVisible(on);
    cmdRefFileName->setVisible(on);
}

void FrmApall::cmdRefFileName_Click()
{
    MdiRaylen* main = mdiRaylen();
    if (main == nullptr)
        return;
    AppState& s = appState();
    int filterIndex = 1;
    bool cancel = false;
    std::string message =
        sfBrowseFile(main->dlgOpenFile, s.strPrmFileName, browseOpen, "参照ﾌｧｲﾙを開く", prmFilter, filterIndex, cancel);
    if (!message.empty())
        MsgBox(message, vbCritical);
    std::string name = s.strPrmFileName, directory;
    sfExtrFileName(s.strPrmFileName, name, directory);
    txtRefFileName->setText(qt(name));
}

bool FrmApall::eventFilter(QObject* watched, QEvent* event)
{
    // Enter in a range box corrects the range and moves the region box.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            std::string message =
                sfCheckAndReset(RegionFields{txtStartX, txtEndX, txtStartY, txtEndY}, appState().typFitsInfo);
            if (!message.empty())
                MsgBox(message, vbCritical);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

std::string FrmApall::plotRegionFromBoxes()
{
    std::string message;
    int32_t x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    message = trapErrors("sfPlotRegion", [&] {
        x1 = longOf(txtStartX);
        x2 = longOf(txtEndX);
        y1 = longOf(txtStartY);
        y2 = longOf(txtEndY);
    });
    if (message.empty())
        message = sfPlotRegion(1, appState().sngImage, x1, x2, y1, y2, plot_);
    return message;
}

bool FrmApall::toSavePage(const std::string& message)
{
    if (!message.empty()) {
        MsgBox(message, vbCritical);
        return true;
    }
    intPage = 5;
    cmdNext->setText(qt(kCaptionSave));
    return true;
}

bool FrmApall::nextFromPage1()
{
    AppState& s = appState();
    if (!chkRefScan->isChecked()) {
        cmdReturn->setEnabled(true);
        intPage = 2;
        dsSetScanRegion();
        return true;
    }
    std::string name, directory;
    sfExtrFileName(s.strPrmFileName, name, directory);
    s.strPrmFileName = directory + str(txtRefFileName);
    if (!dfIsFileExist(s.strPrmFileName)) {
        MsgBox(kMsgRefMissing, vbExclamation);
        return true;
    }
    std::string message;
    {
        WaitCursor wait;
        message = extractWithUncertainty(true);
    }
    return toSavePage(message);
}

bool FrmApall::nextFromPage2()
{
    std::string message =
        sfCheckAndReset(RegionFields{txtStartX, txtEndX, txtStartY, txtEndY}, appState().typFitsInfo);
    // A region one pixel wide or high (what is left when no box was drawn)
    // has nothing to trace: say so before anything runs.
    if (message.empty() && (longOf(txtEndX) <= longOf(txtStartX) || longOf(txtEndY) <= longOf(txtStartY))) {
        MsgBox(kMsgNoRegion, vbExclamation);
        return true;
    }
    if (message.empty())
        message = plotRegionFromBoxes();
    if (!message.empty()) {
        MsgBox(message, vbCritical);
        return true;
    }
    intPage = 3;
    dsSetScanParam();
    return true;
}

bool FrmApall::nextFromPage3()
{
    AppState& s = appState();
    NoiseModel noise;
    if (!readNoise(noise)) {
        MsgBox(kMsgBadNoise, vbExclamation);
        return true;
    }
    std::string message = dsGetScanParam();
    if (message.empty()) {
        const ScanParam& p = s.typScanParam;
        WaitCursor wait;
        message = sfPlotPeak(0, s.sngImage, p.lngStartX, p.lngEndX, p.lngStartY, p.lngEndY, sngScanX, sngScanY, plot_);
    }
    if (!message.empty()) {
        MsgBox(message, vbCritical);
        return true;
    }
    intPage = 4;
    txtOrder->setText(qt(Format(s.typScanParam.intTraceOrder, "0")));
    cmdNext->setEnabled(false);
    return true;
}

bool FrmApall::nextFromPage4()
{
    if (plot_.isLoaded())
        plot_.dsErasePlotClone();
    std::string message;
    {
        WaitCursor wait;
        message = extractWithUncertainty(false);
    }
    return toSavePage(message);
}

std::string FrmApall::extractWithUncertainty(bool reference)
{
    AppState& s = appState();
    ExtractOptions options;
    if (!readNoise(options.noise))
        return kMsgBadNoise;
    ExtractResult result;
    std::string message;
    if (reference) {
        message = sfRefScanDataPro(s.strPrmFileName, s.sngImage, s.typFitsInfo, s.typScanParam, options, result,
                                   plot_);
    } else {
        options.skyReject = rejectOptions_;
        options.optimal = chkOptimal->isChecked();
        options.crSigma = leadingNumber(str(txtCrSigma));
        if (options.optimal && !(options.crSigma > 0))
            return "CR σ には正の数を指定してください";
        message = sfScanDataPro(s.typScanParam, s.sngImage, options, result, plot_);
    }
    if (!message.empty())
        return message;
    sngScanX = result.x;
    sngScanY = result.y;
    sngScanSigma = result.sigma;
    // What a FITS save of this spectrum carries: the frame's observation
    // cards and one HISTORY card of the extraction.
    SpectrumMeta meta;
    meta.xIsWavelength = false;
    meta.cards = observationCards(s.strHeader);
    addHistory(meta, extractionHistory(s.typScanParam, options, s.strFileName));
    s.specMeta = meta;
    s.sngSpecSigma = sngScanSigma;
    return plot_.sfPlotUncertainty(sngScanSigma);
}

bool FrmApall::nextFromPage5()
{
    std::string file;
    bool cancel = false;
    std::string message = plot_.sfSaveDataPro(sngScanX, sngScanY, file, cancel);
    if (message.empty() && cancel)
        return true;
    if (message.empty())
        message = sfWritePrmFile(file, appState().typScanParam);
    if (!message.empty()) {
        MsgBox(message, vbCritical);
        return true;
    }
    plot_.unload();
    close();
    return false;
}

void FrmApall::cmdNext_Click()
{
    bool stays = true;
    switch (intPage) {
    case 1: stays = nextFromPage1(); break;
    case 2: stays = nextFromPage2(); break;
    case 3: stays = nextFromPage3(); break;
    case 4: stays = nextFromPage4(); break;
    default: stays = nextFromPage5(); break;
    }
    if (stays)
        dsShowPage();
}

void FrmApall::cmdReturn_Click()
{
    if (plot_.isLoaded()) {
        plot_.dsErasePlot();
        plot_.dsErasePlotClone();
    }
    intPage = static_cast<int16_t>(std::max(1, intPage - 1));
    std::string message;
    if (intPage <= 3) {
        message = plotRegionFromBoxes();
        if (intPage == 1)
            cmdReturn->setEnabled(false);
        if (intPage == 3)
            cmdNext->setEnabled(true);
    } else {
        const ScanParam& p = appState().typScanParam;
        message = sfPlotPeak(0, appState().sngImage, p.lngStartX, p.lngEndX, p.lngStartY, p.lngEndY, sngScanX,
                             sngScanY, plot_);
        cmdNext->setText(qt(kCaptionNext));
        plot_.dsChangeData(false);
    }
    if (!message.empty()) {
        // The page number has already gone back; the old page stays in
        // front so the user can correct what failed there.
        MsgBox(message, vbCritical);
        return;
    }
    dsShowPage();
}

void FrmApall::cmdFit_Click()
{
    AppState& s = appState();
    RejectOptions options;
    if (!reject.read(options, "Scan"))
        return;
    TraceFit fit = fitTrace(str(txtOrder), sngScanX, sngScanY, s.typScanParam, options);
    if (!fit.status.empty()) {
        MsgBox(fit.status, fit.leastSquaresFailed ? vbExclamation : vbCritical);
        return;
    }
    QString result;
    for (const std::string& line : fit.resultLines)
        result += (result.isEmpty() ? QString() : QString("\n")) + qt(line);
    lblResult->setText(result);
    rejectOptions_ = options;
    std::string message = plot_.sfPlotLinClone(sngScanX, fit.fitY);
    // An empty set also takes away the marks of an earlier fit.
    if (message.empty()) {
        const PointSet marks = flaggedPoints(sngScanX, sngScanY, fit.rejected);
        message = plot_.sfPlotRejected(marks.x, marks.y);
    }
    if (!message.empty())
        MsgBox(message, vbCritical, "Scan");
    cmdNext->setEnabled(true);
}

void FrmApall::cmdCancel_Click()
{
    plot_.unload();
    close();
}

void showFrmApall(SpectrumView& plot)
{
    if (FrmApall::raiseLoaded())
        return;
    MdiRaylen* main = mdiRaylen();
    auto* dialog = new FrmApall(plot, main);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    std::string message = dialog->sfInitForm(appState().strFileName);
    if (!message.empty()) {
        MsgBox(message, vbCritical);
        dialog->discardUnloaded();
        return;
    }
    dialog->markLoaded();
    dialog->show();
}

void unloadFrmApall()
{
    FrmApall::closeLoaded();
}

} // namespace raylen
