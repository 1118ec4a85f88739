#include "reduce/gui/FrmIdent.h"

#include "platform/BasicError.h"
#include "platform/Format.h"
#include "platform/UiService.h"
#include "plot/gui/FrmPlot.h"
#include "platform/BasicRuntime.h"
#include "reduce/AutoIdentify.h"
#include "reduce/Dispersion.h"
#include "reduce/DispersionResiduals.h"
#include "reduce/LineMeasure.h"
#include "reduce/RejectedPoints.h"
#include "reduce/WavelengthTable.h"
#include "reduce/gui/WizardSupport.h"
#include "state/AppState.h"
#include "files/FileAccess.h"
#include "shell/gui/FileIntake.h"
#include "shell/gui/Fonts.h"
#include "shell/gui/Help.h"
#include "shell/gui/MdiRaylen.h"
#include "shell/gui/ProgramSettings.h"
#include "shell/gui/FormSupport.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>

namespace raylen {

using namespace platform;

namespace {

const char* const dialogCaption = "波長同定";
const QColor enteredCellColour(255, 255, 192); // &HC0FFFF
const QColor cellColour(255, 255, 255);
constexpr int rowNumberWidth = 450;
// A caret position past any text puts the caret at the end.
constexpr int caretAtEnd = 1000;
constexpr int keyBackspace = 8, keySpace = 32;
// Shown beside the wavelength and pixel: fitted wavelength and residual.
constexpr int residualColumns = 2;
constexpr int fittedColumn = IdentGrid::Cols - 1, residualColumn = IdentGrid::Cols;
// Wavelength and pixel side by side fit the grid; the added fit columns scroll.
constexpr int gridColumnTwips = 1140;
const QColor excludedColour(128, 128, 128);
const QColor includedColour(0, 0, 0);

} // namespace

FrmIdent* frmIdent() { return FrmIdent::loaded(); }

FrmIdent::FrmIdent(SpectrumView& plot, QWidget* parent) : TaskDialog(parent, taskIdent), plotter_(plot)
{
    setObjectName("frmIdent");
    setWindowTitle(qt(dialogCaption));
    for (size_t i = 0; i < picContena.size(); ++i) {
        picContena[i] = new QFrame(this);
        picContena[i]->setObjectName(QString("picContena%1").arg(i + 1));
    }
    QFrame* page1 = picContena[0];
    QFrame* page2 = picContena[1];
    QFrame* page3 = picContena[2];
    QFrame* page4 = picContena[3];
    lblCompTable = new QLabel(qt("波長ﾃｰﾌﾞﾙﾌｧｲﾙ"), page1);
    txtCompTable = new QLineEdit(page1);
    cmdCompTable = new QPushButton(qt("参照"), page1);
    fg2 = new QTableWidget(page2);
    txtEdit = new QLineEdit(page2);
    lblSearch = new QLabel(qt("範囲"), page2);
    txtSearch = new QLineEdit(page2);
    lblPix[0] = new QLabel(qt("ﾋﾟｸｾﾙ"), page2);
    lblHPFW = new QLabel(qt("半値幅"), page2);
    txtHPFW = new QLineEdit(page2);
    lblPix[1] = new QLabel(qt("ﾋﾟｸｾﾙ"), page2);
    cmdClear = new QPushButton(qt("全部取り消し"), page2);
    lblTolerance = new QLabel(qt("許容"), page2);
    txtTolerance = new QLineEdit(qt("1"), page2);
    cmdAuto = new QPushButton(qt("自動同定"), page2);
    cmdExclude = new QPushButton(qt("除外/戻す"), page2);
    cmdPrevious = new QPushButton(qt("前回の解"), page2);
    cmdPrevious->setObjectName("cmdPrevious");
    reject.create(page3, "txt");
    lblResidual = new QLabel(page3);
    lblOrder = new QLabel(qt("次数"), page3);
    txtOrder = new QLineEdit(qt("2"), page3);
    cmdFit = new QPushButton(qt("ﾌｨｯﾄ"), page3);
    lblResult = new QLabel(qt("結果"), page3);
    picResidual = new ResidualPlot(page3);
    lblOK = new QLabel(qt("分散パラメーターを保存してよろしいですか？"), page4);
    cmdReturn = new QPushButton(qt("戻る"), this);
    cmdNext = new QPushButton(qt("次へ"), this);
    cmdCancel = new QPushButton(qt("ｷｬﾝｾﾙ"), this);
    cmdHelp = new QPushButton(qt("ﾍﾙﾌﾟ"), this);
    const std::pair<QWidget*, const char*> names[] = {
        {lblCompTable, "lblCompTable"}, {txtCompTable, "txtCompTable"}, {cmdCompTable, "cmdCompTable"},
        {fg2, "fg2"}, {txtEdit, "txtEdit"}, {lblSearch, "lblSearch"}, {txtSearch, "txtSearch"},
        {lblPix[0], "lblPix0"}, {lblHPFW, "lblHPFW"}, {txtHPFW, "txtHPFW"}, {lblPix[1], "lblPix1"},
        {cmdClear, "cmdClear"}, {lblOrder, "lblOrder"}, {txtOrder, "txtOrder"}, {cmdFit, "cmdFit"},
        {lblResult, "lblResult"}, {lblOK, "lblOK"}, {cmdReturn, "cmdReturn"}, {cmdNext, "cmdNext"},
        {cmdCancel, "cmdCancel"}, {cmdHelp, "cmdHelp"}, {lblTolerance, "lblTolerance"},
        {txtTolerance, "txtTolerance"}, {cmdAuto, "cmdAuto"}, {cmdExclude, "cmdExclude"}, {lblResidual, "lblResidual"}};
    for (const auto& [widget, name] : names)
        widget->setObjectName(name);
    lblResult->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblResult->setTextInteractionFlags(Qt::TextSelectableByMouse);

    fg2->setColumnCount(IdentGrid::Cols - 1 + residualColumns);
    fg2->horizontalHeader()->setDefaultSectionSize(twipsToPixelsX(gridColumnTwips));
    fg2->setEditTriggers(QAbstractItemView::NoEditTriggers);
    fg2->setSelectionMode(QAbstractItemView::NoSelection);
    fg2->setTabKeyNavigation(false);
    fg2->verticalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    fg2->installEventFilter(this);
    fg2->viewport()->installEventFilter(this);
    txtEdit->hide();
    txtEdit->installEventFilter(this);

    connect(cmdCompTable, &QPushButton::clicked, this, &FrmIdent::cmdCompTable_Click);
    connect(cmdNext, &QPushButton::clicked, this, &FrmIdent::cmdNext_Click);
    connect(cmdReturn, &QPushButton::clicked, this, &FrmIdent::cmdReturn_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &FrmIdent::cmdCancel_Click);
    connect(cmdClear, &QPushButton::clicked, this, &FrmIdent::cmdClear_Click);
    connect(cmdFit, &QPushButton::clicked, this, &FrmIdent::cmdFit_Click);
    connect(cmdAuto, &QPushButton::clicked, this, &FrmIdent::cmdAuto_Click);
    connect(cmdExclude, &QPushButton::clicked, this, &FrmIdent::cmdExclude_Click);
    connect(cmdPrevious, &QPushButton::clicked, this, &FrmIdent::cmdPrevious_Click);
    connect(cmdHelp, &QPushButton::clicked, this, [] { dsHelp("ident"); });
    connect(txtSearch, &QLineEdit::textChanged, this, &FrmIdent::txtSearch_Change);
    connect(txtHPFW, &QLineEdit::textChanged, this, &FrmIdent::txtHPFW_Change);
    connect(fg2, &QTableWidget::currentCellChanged, this,
            [this](int row, int col, int previousRow, int previousCol) {
                fg2_EnterCell(row + 1, col + 1, previousRow + 1, previousCol + 1);
            });
    connect(fg2, &QTableWidget::cellDoubleClicked, this, [this](int, int) { MSFlexGridEdit(keySpace); });
}

FrmIdent::~FrmIdent() { unloadOnce(); }

void FrmIdent::layoutPages()
{
    setFixedSize(twipsToPixelsX(5520), twipsToPixelsY(4680));
    for (QFrame* page : picContena)
        page->setGeometry(twipsRect(120, 120, 5280, 3720));
    lblCompTable->setGeometry(twipsRect(120, 240, 2400, 300));
    txtCompTable->setGeometry(twipsRect(120, 600, 3900, 330));
    cmdCompTable->setGeometry(twipsRect(4140, 585, 960, 360));
    fg2->setGeometry(twipsRect(0, 0, 3300, 3720));
    fg2->verticalHeader()->setFixedWidth(twipsToPixelsX(rowNumberWidth));
    lblSearch->setGeometry(twipsRect(3420, 150, 720, 300));
    txtSearch->setGeometry(twipsRect(4140, 120, 600, 330));
    lblPix[0]->setGeometry(twipsRect(4800, 150, 480, 300));
    lblHPFW->setGeometry(twipsRect(3420, 630, 720, 300));
    txtHPFW->setGeometry(twipsRect(4140, 600, 600, 330));
    lblPix[1]->setGeometry(twipsRect(4800, 630, 480, 300));
    cmdClear->setGeometry(twipsRect(3420, 3240, 1800, 390));
    lblTolerance->setGeometry(twipsRect(3420, 1110, 720, 300));
    txtTolerance->setGeometry(twipsRect(4140, 1080, 600, 330));
    cmdAuto->setGeometry(twipsRect(3420, 1560, 1800, 390));
    cmdExclude->setGeometry(twipsRect(3420, 2040, 1800, 390));
    cmdPrevious->setGeometry(twipsRect(3420, 2520, 1800, 390));
    reject.place(2640, 150);
    lblResidual->setGeometry(twipsRect(120, 3240, 5040, 360));
    lblOrder->setGeometry(twipsRect(120, 180, 600, 300));
    txtOrder->setGeometry(twipsRect(780, 150, 600, 330));
    cmdFit->setGeometry(twipsRect(1560, 120, 1000, 390));
    // The heading across, the coefficients below it on the left and their
    // residuals plotted on the right.
    lblResult->setGeometry(twipsRect(120, 720, 5040, 2400));
    picResidual->setGeometry(twipsRect(2460, 1080, 2700, 2040));
    lblOK->setGeometry(twipsRect(120, 1200, 5040, 600));
    cmdReturn->setGeometry(twipsRect(840, 4020, 1080, 390));
    cmdNext->setGeometry(twipsRect(2010, 4020, 1080, 390));
    cmdCancel->setGeometry(twipsRect(3180, 4020, 1080, 390));
    cmdHelp->setGeometry(twipsRect(4350, 4020, 1080, 390));
    fitGridColumns();
}

void FrmIdent::fitGridColumns()
{
    // Every column in view without scrolling sideways: the grid grows to
    // its columns, and the dialog with it.
    const QFontMetrics metrics = fg2->fontMetrics();
    const int padding = metrics.horizontalAdvance(QStringLiteral("00"));
    // The widest value and the heading of each column.
    const std::pair<const char*, const char*> widest[] = {
        {"00000.000", "   波長"}, {"00000.00", "ピクセル"}, {"00000.000", "ﾌｨｯﾄ波長"}, {"-000.000 棄却", "残差"}};
    int needed = fg2->verticalHeader()->width() + fg2->verticalScrollBar()->sizeHint().width() + 2 * fg2->frameWidth();
    for (int col = 0; col < static_cast<int>(std::size(widest)); ++col) {
        const int width = std::max(metrics.horizontalAdvance(qt(widest[col].first)),
                                   metrics.horizontalAdvance(qt(widest[col].second))) + padding;
        fg2->setColumnWidth(col, width);
        needed += width;
    }
    const int grow = needed - fg2->width();
    if (grow <= 0)
        return;
    fg2->resize(needed, fg2->height());
    for (QWidget* w : picContena[1]->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (w != fg2)
            w->move(w->x() + grow, w->y());
    for (QFrame* page : picContena)
        page->resize(page->width() + grow, page->height());
    for (QPushButton* button : {cmdReturn, cmdNext, cmdCancel, cmdHelp})
        button->move(button->x() + grow, button->y());
    setFixedSize(width() + grow, height());
}

void FrmIdent::showPage() { bringToFront({picContena.begin(), picContena.end()}, static_cast<size_t>(intPage_ - 1)); }

std::string FrmIdent::sfInitForm(const std::string& strFileName, const std::string& strTableFileName)
{
    return trapErrors("sfInitForm", [&]() -> std::string {
        layoutPages();
        setWindowTitle(qt(std::string(dialogCaption) + " [ " + namePart(strFileName) + " ]"));
        intPage_ = 1;
        showPage();
        cmdReturn->setEnabled(false);
        FrmPlot* plot = frmPlot();
        if (plot == nullptr)
            return trapMessage("sfInitForm", errObjectNotSet, errorDescription(errObjectNotSet));
        std::string message = plot->sfGetBufData(sngCompX, sngCompY);
        if (!message.empty())
            return message;
        txtCompTable->setText(qt(namePart(strTableFileName)));
        intSearch = 8;
        dblHPFW = 1.0;
        return {};
    });
}

void FrmIdent::cmdCompTable_Click()
{
    MdiRaylen* main = mdiRaylen();
    if (main == nullptr)
        return;
    int filterIndex = 1;
    bool cancel = false;
    std::string message = sfBrowseFile(main->dlgOpenFile, appState().strTableFileName, browseOpen,
                                       "波長ﾃｰﾌﾞﾙﾌｧｲﾙを開く", "波長ﾃｰﾌﾞﾙﾌｧｲﾙ(*.dat)|*.dat|", filterIndex, cancel);
    if (!message.empty()) {
        MsgBox(message, vbExclamation, dialogCaption);
        return;
    }
    if (!cancel)
        txtCompTable->setText(qt(namePart(appState().strTableFileName)));
}

void FrmIdent::dsFGridInit()
{
    raylen::dsFGridInit(grid_, sngWave);
    const QSignalBlocker block(fg2);
    fg2->setRowCount(grid_.Rows() - 1);
    fg2->setHorizontalHeaderLabels({qt(grid_.text(0, 1)), qt(grid_.text(0, 2)), qt("ﾌｨｯﾄ波長"), qt("残差")});
    excluded_.clear();
    QStringList numbers;
    for (int row = 1; row < grid_.Rows(); ++row) {
        numbers << qt(grid_.text(row, IdentGrid::colNumber));
        for (int col = 1; col < IdentGrid::Cols; ++col) {
            auto* item = new QTableWidgetItem(qt(grid_.text(row, col)));
            item->setBackground(cellColour);
            fg2->setItem(row - 1, col - 1, item);
        }
        for (int col = fittedColumn; col <= residualColumn; ++col) {
            auto* item = new QTableWidgetItem();
            item->setFlags(Qt::ItemIsEnabled);
            fg2->setItem(row - 1, col, item);
        }
    }
    fg2->setVerticalHeaderLabels(numbers);
    if (grid_.Rows() > 1) {
        fg2->setCurrentCell(grid_.Row() - 1, 1);
        if (QTableWidgetItem* item = fg2->currentItem())
            item->setBackground(enteredCellColour);
    }
}

void FrmIdent::setCell(int row, int col, const std::string& text)
{
    grid_.setText(row, col, text);
    if (QTableWidgetItem* item = fg2->item(row - 1, col - 1))
        item->setText(qt(text));
}

void FrmIdent::setCurrentCell(int row, int col) { fg2->setCurrentCell(row - 1, col - 1); }

void FrmIdent::setCurrentPixelCell(const std::string& text) { setCell(grid_.Row(), IdentGrid::colPixel, text); }

std::string FrmIdent::sfSearchPeakPos(float sngX, const std::vector<float>& sngDataX,
                                      const std::vector<float>& sngDataY)
{
    std::string cell = grid_.text(grid_.Row(), IdentGrid::colPixel);
    std::string message = raylen::sfSearchPeakPos(sngX, sngDataX, sngDataY, intSearch, plotter_, cell);
    setCurrentPixelCell(cell);
    if (message.empty())
        moveToNextEmptyRow();
    return message;
}

void FrmIdent::moveToNextEmptyRow()
{
    // The next line to mark is the next one not measured yet.
    for (int row = grid_.Row() + 1; row < grid_.Rows(); ++row)
        if (grid_.text(row, IdentGrid::colPixel).empty()) {
            setCurrentCell(row, fg2->currentColumn() >= 0 ? fg2->currentColumn() + 1 : IdentGrid::colPixel);
            return;
        }
}

std::string FrmIdent::sfSearchGaussPeakPos(float sngX, const std::vector<float>& sngDataX,
                                           const std::vector<float>& sngDataY)
{
    std::string cell = grid_.text(grid_.Row(), IdentGrid::colPixel);
    std::string message =
        raylen::sfSearchGaussPeakPos(sngX, sngDataX, sngDataY, intSearch, dblHPFW, plotter_, cell);
    setCurrentPixelCell(cell);
    if (message.empty())
        moveToNextEmptyRow();
    return message;
}

std::string FrmIdent::sfPlotGridData()
{
    plotter_.Show();
    std::string message = plotter_.sfPlotSym(sngPix, sngWave);
    if (!message.empty())
        return message;
    plotter_.dsErasePlotClone();
    plotter_.dsAutoScale();
    return {};
}

std::string FrmIdent::plotComparison() { return plotter_.sfPlotLin(sngCompX, sngCompY); }

void FrmIdent::cmdNext_Click()
{
    AppState& s = appState();
    std::string message;
    switch (intPage_) {
    case 1: {
        s.strTableFileName = directoryPart(s.strTableFileName) + txtCompTable->text().toStdString();
        if (!dfIsFileExist(s.strTableFileName)) {
            MsgBox("波長テーブルファイルが存在しません。", vbExclamation);
            return;
        }
        message = sfOpenCompFile(s.strTableFileName, sngWave);
        if (!message.empty()) {
            MsgBox(message, vbCritical);
            return;
        }
        rememberFile(RememberedFile::table, s.strTableFileName);
        intPage_ = 2;
        cmdReturn->setEnabled(true);
        dsFGridInit();
        txtEdit->clear();
        txtSearch->setText(qt(Format(intSearch, "0")));
        txtHPFW->setText(qt(Format(dblHPFW, "0.0")));
        s.intTaskMode = taskIdent;
        // The marks of this page are keys pressed on the plot.
        if (FrmPlot* plot = frmPlot())
            plot->takeKeys();
        break;
    }
    case 2: {
        storeEditor();
        // Excluded rows keep their pixel in the grid but stay out of the fit.
        IdentGrid used = grid_;
        for (int row : excluded_)
            if (row < used.Rows())
                used.setText(row, IdentGrid::colPixel, "");
        message = sfInputGridData(used, sngWave, sngPix);
        if (!message.empty()) {
            MsgBox(message, vbExclamation);
            return;
        }
        message = sfPlotGridData();
        if (!message.empty()) {
            MsgBox(message, vbCritical);
            return;
        }
        intPage_ = 3;
        cmdNext->setEnabled(false);
        lblResidual->clear();
        s.intTaskMode = taskNone;
        break;
    }
    case 3:
        plotter_.dsSymCrossEnabled(false);
        message = sfPlotCalibComp(sngCompX, sngCompY, dblA, plotter_);
        if (!message.empty()) {
            MsgBox(message, vbCritical);
            return;
        }
        intPage_ = 4;
        cmdNext->setText(qt("保存"));
        break;
    case 4: {
        std::string path;
        message = dfEditDipFileName(s.strFileName, path);
        MdiRaylen* main = mdiRaylen();
        if (message.empty() && main == nullptr)
            message = trapMessage("cmdNext_Click", errObjectNotSet, errorDescription(errObjectNotSet));
        if (!message.empty()) {
            MsgBox(message, vbCritical);
            return;
        }
        int filterIndex = 1;
        bool cancel = false;
        message = sfBrowseFile(main->dlgOpenFile, path, browseSave, "dipﾌｧｲﾙの保存", "dipﾌｧｲﾙ(*.dip)|*.dip|",
                               filterIndex, cancel);
        if (message.empty() && cancel)
            return;
        if (message.empty())
            message = sfWriteDispFactor(path, intOrder, dblA);
        if (!message.empty()) {
            MsgBox(message, vbCritical);
            return;
        }
        close();
        return;
    }
    default:
        break;
    }
    showPage();
}

void FrmIdent::cmdReturn_Click()
{
    storeEditor();
    plotter_.dsErasePlot();
    plotter_.dsErasePlotClone();
    intPage_ = std::max(1, intPage_ - 1);
    std::string message;
    AppState& s = appState();
    switch (intPage_) {
    case 1:
        message = plotComparison();
        cmdReturn->setEnabled(false);
        s.intTaskMode = taskNone;
        break;
    case 2:
        message = plotComparison();
        plotter_.dsSymCrossEnabled(false);
        s.intTaskMode = taskIdent;
        cmdNext->setEnabled(true);
        break;
    case 3:
        message = sfPlotGridData();
        cmdNext->setEnabled(false);
        cmdNext->setText(qt("次へ"));
        break;
    default:
        break;
    }
    if (!message.empty()) {
        MsgBox(message, vbCritical);
        return;
    }
    showPage();
}

void FrmIdent::cmdCancel_Click()
{
    plotter_.dsSymCrossEnabled(false);
    std::string message = plotComparison();
    if (!message.empty()) {
        MsgBox(message, vbCritical);
        return;
    }
    close();
}

void FrmIdent::cmdClear_Click()
{
    clearPixelColumn(grid_);
    for (int row = 1; row < grid_.Rows(); ++row)
        setCell(row, IdentGrid::colPixel, "");
    excluded_.clear();
    clearResidualColumns();
}

void FrmIdent::cmdFit_Click()
{
    try {
        intOrder = orderFromText(txtOrder->text().toStdString());
    } catch (const BasicError& e) {
        MsgBox(trapMessage("cmdFit_Click", e), vbCritical);
        return;
    }
    RejectOptions options;
    if (!reject.read(options, dialogCaption))
        return;
    std::vector<ResidualRow> rows = identifiedRows(grid_, excluded_);
    std::vector<double> a;
    std::string message = sfDispersionFitRows(rows, intOrder, options, a);
    if (!message.empty()) {
        MsgBox(message, vbExclamation);
        return;
    }
    // One flag per fitted line, in the order of sngPix.
    std::vector<char> rejected;
    for (const ResidualRow& r : rows)
        if (!r.excluded)
            rejected.push_back(r.rejected ? 1 : 0);
    dblA = a;
    lblResult->setText(qt(dispersionResultText(intOrder, dblA)));
    message = sfPlotDispersionCurve(sngPix, dblA, plotter_);
    if (!message.empty()) {
        MsgBox(message, vbCritical);
        return;
    }
    showResiduals(dblA, rejected);
    // Rejected lines are marked beside the fitted curve; an empty set also
    // takes away the marks of an earlier fit.
    const PointSet marks = flaggedPoints(sngPix, sngWave, rejected);
    message = plotter_.sfPlotRejected(marks.x, marks.y);
    if (!message.empty())
        MsgBox(message, vbCritical);
    cmdNext->setEnabled(true);
}

void FrmIdent::txtSearch_Change()
{
    try {
        intSearch = searchWidthFromText(txtSearch->text().toStdString());
    } catch (const BasicError& e) {
        MsgBox(trapMessage("txtSearch_Change", e), vbCritical);
    }
}

void FrmIdent::txtHPFW_Change() { dblHPFW = halfWidthFromText(txtHPFW->text().toStdString()); }

void FrmIdent::fg2_EnterCell(int row, int col, int previousRow, int previousCol)
{
    // Leaving a cell stores what the editor holds.
    if (txtEdit->isVisible() && previousRow >= 1 && previousCol >= 1 && previousCol < IdentGrid::Cols &&
        previousRow < grid_.Rows()) {
        setCell(previousRow, previousCol, txtEdit->text().toStdString());
        txtEdit->hide();
    }
    if (QTableWidgetItem* item = fg2->item(previousRow - 1, previousCol - 1))
        item->setBackground(cellColour);
    if (QTableWidgetItem* item = fg2->item(row - 1, col - 1))
        item->setBackground(enteredCellColour);
    if (row >= 1 && row < grid_.Rows())
        grid_.setRow(row);
}

void FrmIdent::storeEditor()
{
    if (!txtEdit->isVisible())
        return;
    const int row = fg2->currentRow() + 1, col = fg2->currentColumn() + 1;
    if (row >= 1 && col >= 1 && col < IdentGrid::Cols)
        setCell(row, col, txtEdit->text().toStdString());
    txtEdit->hide();
}

void FrmIdent::MSFlexGridEdit(int KeyAscii)
{
    const int row = fg2->currentRow(), col = fg2->currentColumn();
    // The residual columns are shown, never typed into.
    if (row < 0 || col < 0 || col >= fittedColumn)
        return;
    if (KeyAscii > keySpace || KeyAscii < 0) {
        txtEdit->setText(QString(QChar(KeyAscii)));
        txtEdit->setCursorPosition(1);
    } else {
        txtEdit->setText(qt(grid_.text(row + 1, col + 1)));
        txtEdit->setCursorPosition(std::min(caretAtEnd, static_cast<int>(txtEdit->text().size())));
    }
    const QRect cell = fg2->visualRect(fg2->model()->index(row, col));
    const QPoint topLeft = fg2->viewport()->mapTo(picContena[1], cell.topLeft());
    // Mapped through the viewport, so the grid's border is already counted.
    txtEdit->setGeometry(QRect(topLeft, cell.size()));
    txtEdit->show();
    txtEdit->raise();
    txtEdit->setFocus();
}

bool FrmIdent::txtEdit_KeyDown(int key)
{
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        fg2->setFocus();
        return true;
    case Qt::Key_Escape:
        txtEdit->hide();
        fg2->setFocus();
        return true;
    case Qt::Key_Up:
        if (grid_.Row() > 1) {
            fg2->setFocus();
            QApplication::processEvents();
            fg2->setCurrentCell(grid_.Row() - 2, fg2->currentColumn());
        }
        return true;
    case Qt::Key_Down:
        if (grid_.Row() < grid_.Rows() - 1) {
            fg2->setFocus();
            QApplication::processEvents();
            fg2->setCurrentCell(grid_.Row(), fg2->currentColumn());
        }
        return true;
    default:
        return false;
    }
}

bool FrmIdent::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtEdit && event->type() == QEvent::KeyPress)
        return txtEdit_KeyDown(static_cast<QKeyEvent*>(event)->key());
    if (watched == fg2 && event->type() == QEvent::FocusIn)
        storeEditor();
    if (watched == fg2 && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Backspace) {
            MSFlexGridEdit(keyBackspace);
            return true;
        }
        const QString text = key->text();
        if (text.size() == 1 && (text[0] == '.' || (text[0] >= '0' && text[0] <= '9'))) {
            MSFlexGridEdit(text[0].unicode());
            return true;
        }
    }
    return TaskDialog::eventFilter(watched, event);
}

void FrmIdent::clearResidualColumns()
{
    for (int row = 0; row < fg2->rowCount(); ++row)
        for (int col = fittedColumn; col <= residualColumn; ++col)
            if (QTableWidgetItem* item = fg2->item(row, col))
                item->setText(QString());
    picResidual->clear();
}

void FrmIdent::showResiduals(const std::vector<double>& a, const std::vector<char>& rejected)
{
    std::vector<ResidualRow> rows = identifiedRows(grid_, excluded_);
    size_t used = 0;
    for (ResidualRow& r : rows)
        if (!r.excluded) {
            r.rejected = used < rejected.size() && rejected[used] != 0;
            ++used;
        }
    const ResidualTable table = dispersionResiduals(rows, a);
    clearResidualColumns();
    for (const ResidualRow& r : table.rows) {
        std::string residual = Format(r.residual, "0.000");
        if (r.excluded)
            residual += " 除外";
        else if (r.rejected)
            residual += " 棄却";
        if (QTableWidgetItem* item = fg2->item(r.row - 1, fittedColumn))
            item->setText(qt(Format(r.fitted, "0.000")));
        if (QTableWidgetItem* item = fg2->item(r.row - 1, residualColumn))
            item->setText(qt(residual));
    }
    lblResidual->setText(qt("RMS=" + Format(table.rms, "0.0000") + " (" + std::to_string(used) + "本)"));
    picResidual->setResiduals(table);
}

void FrmIdent::cmdExclude_Click()
{
    const int row = grid_.Row();
    if (row < 1 || row >= grid_.Rows())
        return;
    const bool exclude = excluded_.insert(row).second;
    if (!exclude)
        excluded_.erase(row);
    for (int col = 0; col <= residualColumn; ++col)
        if (QTableWidgetItem* item = fg2->item(row - 1, col))
            item->setForeground(exclude ? excludedColour : includedColour);
    if (QTableWidgetItem* item = fg2->item(row - 1, residualColumn))
        item->setText(exclude ? qt("除外") : QString());
}

std::string FrmIdent::autoIdentify()
{
    if (intPage_ != 2)
        return {};
    storeEditor();
    AutoIdentifySettings settings;
    settings.search = intSearch;
    settings.halfWidth = dblHPFW;
    try {
        settings.order = orderFromText(txtOrder->text().toStdString());
    } catch (const BasicError& e) {
        return trapMessage("cmdAuto_Click", e);
    }
    settings.tolerance = leadingNumber(txtTolerance->text().toStdString());
    if (!(settings.tolerance > 0))
        return "許容範囲は正の数で指定してください";
    std::vector<double> a;
    int added = 0;
    std::string message = sfAutoIdentify(grid_, excluded_, sngCompX, sngCompY, settings, a, added);
    if (!message.empty())
        return message;
    for (int row = 1; row < grid_.Rows(); ++row)
        if (QTableWidgetItem* item = fg2->item(row - 1, IdentGrid::colPixel - 1))
            item->setText(qt(grid_.text(row, IdentGrid::colPixel)));
    showResiduals(a);
    return {};
}

void FrmIdent::cmdAuto_Click()
{
    std::string message = autoIdentify();
    if (!message.empty())
        MsgBox(message, vbExclamation, dialogCaption);
}

void FrmIdent::formUnloaded()
{
    const AppState& s = appState();
    // Closed at any page, as by ｷｬﾝｾﾙ: the lines are drawn as lines again.
    plotter_.dsSymCrossEnabled(false);
    if (FrmPlot* plot = loadedFrmPlot()) {
        std::string message = plot->sfPlotLin(s.sngSpecX, s.sngSpecY);
        if (!message.empty())
            MsgBox(message, vbCritical);
    }
}

void showFrmIdent(SpectrumView& plot)
{
    if (FrmIdent::raiseLoaded())
        return;
    auto* dialog = new FrmIdent(plot, mdiRaylen());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    const AppState& s = appState();
    std::string message = dialog->sfInitForm(s.strFileName, s.strTableFileName);
    if (!message.empty()) {
        MsgBox(message, vbCritical);
        dialog->discardUnloaded();
        return;
    }
    dialog->markLoaded();
    dialog->show();
}

void unloadFrmIdent() { FrmIdent::closeLoaded(); }

} // namespace raylen
