#include "shell/gui/MdiRaylen.h"
#include "shell/gui/ProgramSettings.h"

#include "platform/BasicError.h"
#include "platform/BasicRuntime.h"
#include "platform/Format.h"
#include "state/AppState.h"
#include "shell/gui/DocumentLinks.h"
#include "shell/gui/FileIntake.h"
#include "shell/gui/Fonts.h"
#include "shell/gui/FrmAbout.h"
#include "shell/gui/Help.h"
#include "shell/gui/ToolBarIcons.h"
#include "shell/gui/Version.h"
#include "shell/gui/WindowRegistry.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

namespace raylen {

namespace {

struct ButtonSpec {
    const char* key; // nullptr: separator
    const char* toolTip;
};

// The tool bar by index 1 … 19.
const ButtonSpec buttonSpecs[MdiRaylen::buttonCount] = {
    {"Open", "ファイルを開く"}, {nullptr, nullptr},       {"SaveAs", "名前を付けて保存"},
    {"Print", "印刷"},          {nullptr, nullptr},       {"Plot", "ﾌﾟﾛｯﾄ"},
    {"Scan", "ｽｷｬﾝ"},           {"DarkFlat", "ﾀﾞｰｸ･ﾌﾗｯﾄ補正"}, {"Header", "ﾍｯﾀﾞｰ情報"},
    {nullptr, nullptr},         {"Axis", "座標"},         {"Ident", "波長同定"},
    {"Dispcor", "波長較正"},    {"Fluxcalib", "強度較正"}, {"Normalize", "規格化"},
    {"FFT", "ﾌｰﾘｴ変換"},        {"Result", "測定結果"},   {nullptr, nullptr},
    {"Help", "ﾍﾙﾌﾟ"},
};

} // namespace

MdiRaylen* mdiRaylen() { return windowRegistry().mainWindow; }

MdiRaylen::MdiRaylen()
{
    windowRegistry().mainWindow = this;
    setObjectName("mdiRaylen");
    setWindowIcon(programIcon());
    buildMenus();
    buildToolBar();

    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    buildPanel();
    column->addWidget(picToolBar);
    mdiArea = new QMdiArea(central);
    mdiArea->setObjectName("mdiArea");
    mdiArea->setBackground(QColor(128, 128, 128));
    column->addWidget(mdiArea, 1);
    setCentralWidget(central);
    connect(mdiArea, &QMdiArea::subWindowActivated, this, &MdiRaylen::subWindowActivated);

    AppState& s = appState();
    dsInitForm();
    resize(twipsToPixelsX(9600), twipsToPixelsY(7200));
    restoreMainWindow(this);
    // The calibration files of the last session are offered again.
    for (auto [field, role] : {std::pair{&s.strDarkFileName, RememberedFile::dark},
                               std::pair{&s.strFlatFileName, RememberedFile::flat},
                               std::pair{&s.strTableFileName, RememberedFile::table}})
        if (field->empty())
            *field = rememberedFile(role);
    dsInitScanParam(s.typScanParam);
    s.intActiveWindow = windowImage;
}

MdiRaylen::~MdiRaylen()
{
    // The document area still reports activations while the base class
    // destroys the children; this object is gone by then.
    disconnect(mdiArea, nullptr, this, nullptr);
    if (windowRegistry().mainWindow == this)
        windowRegistry().mainWindow = nullptr;
}

void MdiRaylen::buildMenus()
{
    buildStandardMenus(this);
    connect(mnuOpen, &QAction::triggered, this, &MdiRaylen::mnuOpen_Click);
    ownMenus_ = standardMenus();
    showMenus(ownMenus_);
}

void MdiRaylen::buildToolBar()
{
    tlbtoolbar = addToolBar("tlbtoolbar");
    tlbtoolbar->setObjectName("tlbtoolbar");
    tlbtoolbar->setMovable(false);
    tlbtoolbar->setFloatable(false);
    tlbtoolbar->setIconSize(QSize(16, 16));
    tlbtoolbar->toggleViewAction()->setVisible(false);
    setContextMenuPolicy(Qt::NoContextMenu);
    buttons_.assign(buttonCount + 1, nullptr);
    for (int index = 1; index <= buttonCount; ++index) {
        const ButtonSpec& spec = buttonSpecs[index - 1];
        QAction* action = nullptr;
        if (spec.key == nullptr) {
            action = tlbtoolbar->addSeparator();
        } else {
            QString key = QString::fromLatin1(spec.key);
            action = tlbtoolbar->addAction(toolBarIcon(key), QString::fromUtf8(spec.toolTip));
            action->setToolTip(QString::fromUtf8(spec.toolTip));
            action->setData(key);
            action->setObjectName("tlb" + key);
            connect(action, &QAction::triggered, this, [this, key] { showCritical(sfToolBarAction(key)); });
        }
        buttons_[index] = action;
    }
}

void MdiRaylen::buildPanel()
{
    picToolBar = new QWidget;
    picToolBar->setObjectName("picToolBar");
    auto* row = new QHBoxLayout(picToolBar);
    row->setContentsMargins(6, 5, 6, 4);
    row->setSpacing(6);
    lblMax = new QLabel(QString::fromUtf8("最大"));
    txtMax = new QLineEdit;
    lblMin = new QLabel(QString::fromUtf8("最小"));
    txtMin = new QLineEdit;
    cmdAutoScale = new QPushButton(QString::fromUtf8("階調設定"));
    txtMax->setToolTip(QString::fromUtf8("表示の最大値"));
    txtMin->setToolTip(QString::fromUtf8("表示の最小値"));
    for (QLineEdit* box : {txtMax, txtMin}) {
        box->setFixedWidth(80);
        box->setAlignment(Qt::AlignRight);
    }
    lblX = new QLabel("x");
    lblY = new QLabel("y");
    lblCount = new QLabel("count");
    lblX->setMinimumWidth(60);
    lblY->setMinimumWidth(60);
    lblCount->setMinimumWidth(130);
    for (QLabel* label : {lblX, lblY, lblCount})
        label->setFont(gothicFont(10));
    auto* gap = new QFrame;
    gap->setFrameShape(QFrame::VLine);
    gap->setFrameShadow(QFrame::Sunken);
    row->addWidget(lblMax);
    row->addWidget(txtMax);
    row->addSpacing(4);
    row->addWidget(lblMin);
    row->addWidget(txtMin);
    row->addSpacing(4);
    row->addWidget(cmdAutoScale);
    row->addSpacing(8);
    row->addWidget(gap);
    row->addSpacing(8);
    row->addWidget(lblX);
    row->addWidget(lblY);
    row->addWidget(lblCount);
    row->addStretch(1);
    lblMax->setObjectName("lblMax");
    txtMax->setObjectName("txtMax");
    lblMin->setObjectName("lblMin");
    txtMin->setObjectName("txtMin");
    cmdAutoScale->setObjectName("cmdAutoScale");
    lblX->setObjectName("lblX");
    lblY->setObjectName("lblY");
    lblCount->setObjectName("lblCount");

    // The etched line between the tool bar and the panel.
    linSep1 = new QFrame(picToolBar);
    linSep2 = new QFrame(picToolBar);
    linSep1->setObjectName("linSep1");
    linSep2->setObjectName("linSep2");
    for (QFrame* line : {linSep1, linSep2}) {
        line->setFrameShape(QFrame::NoFrame);
        line->setAutoFillBackground(true);
    }
    QPalette dark = linSep1->palette();
    dark.setColor(QPalette::Window, QColor(128, 128, 128));
    linSep1->setPalette(dark);
    QPalette light = linSep2->palette();
    light.setColor(QPalette::Window, Qt::white);
    linSep2->setPalette(light);
    picToolBar->installEventFilter(this);

    connect(cmdAutoScale, &QPushButton::clicked, this, &MdiRaylen::cmdAutoScale_Click);
    connect(txtMax, &QLineEdit::returnPressed, this, &MdiRaylen::cmdAutoScale_Click);
    connect(txtMin, &QLineEdit::returnPressed, this, &MdiRaylen::cmdAutoScale_Click);
}

bool MdiRaylen::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == picToolBar && event->type() == QEvent::Resize)
        layoutSeparators();
    return QMainWindow::eventFilter(watched, event);
}

void MdiRaylen::layoutSeparators()
{
    // From 10 twips in from each side; 20 twips between the two lines.
    const int inset = twipsToPixelsX(10);
    const int width = std::max(0, picToolBar->width() - 2 * inset);
    linSep1->setGeometry(inset, 0, width, 1);
    linSep2->setGeometry(inset, std::max(1, twipsToPixelsY(20)), width, 1);
}

QAction* MdiRaylen::button(int index) const
{
    if (index < 1 || index > buttonCount)
        return nullptr;
    return buttons_[static_cast<size_t>(index)];
}

QAction* MdiRaylen::buttonByKey(const QString& key) const
{
    for (int index = 1; index <= buttonCount; ++index)
        if (buttons_[static_cast<size_t>(index)]->data().toString() == key)
            return buttons_[static_cast<size_t>(index)];
    return nullptr;
}

void MdiRaylen::setButtonsEnabled(std::initializer_list<const char*> keys, bool blnEnabled)
{
    for (const char* key : keys)
        buttonByKey(QString::fromLatin1(key))->setEnabled(blnEnabled);
}

void MdiRaylen::dsInitForm()
{
    dsMnuFileNone();
    // Files dropped on the window, the panel or the read-out labels open.
    for (QWidget* target : std::initializer_list<QWidget*>{this, picToolBar, lblX, lblY, lblCount})
        target->setAcceptDrops(true);
}

void MdiRaylen::dsMnuFileNone()
{
    AppState& s = appState();
    s.blnImageLoaded = false;
    s.blnPlotLoaded = false;
    s.intTaskMode = taskNone;
    setVersionCaption();
    dsTxtMaxMinEnabled(false);
    for (QAction* item : {mnuClose, mnuSaveAs, mnuSetPrinter, mnuPrint})
        item->setEnabled(false);
    mnuGraph->setEnabled(false);
    mnuImage->setEnabled(false);
    mnuGraph->menuAction()->setEnabled(false);
    mnuImage->menuAction()->setEnabled(false);
    setButtonsEnabled({"SaveAs", "Print", "Plot", "Scan", "DarkFlat", "Header", "Axis", "Ident", "Dispcor",
                       "Fluxcalib", "Normalize", "FFT", "Result"},
                      false);
    refreshMenuBar();
}

void MdiRaylen::dsTxtMaxMinEnabled(bool blnEnabled)
{
    for (QWidget* control : std::initializer_list<QWidget*>{lblMax, lblMin, txtMax, txtMin, cmdAutoScale})
        control->setEnabled(blnEnabled);
}

void MdiRaylen::dsMenuToolEnabled(bool blnEnabled)
{
    const int16_t current = appState().intActiveWindow;
    if (current == windowImage) {
        if (ImageWindowLink* image = loadedImageWindow())
            image->setTaskMenusEnabled(blnEnabled);
        dsTxtMaxMinEnabled(blnEnabled);
    } else if (current == windowPlot) {
        if (PlotWindowLink* plot = plotWindowLink(); plot != nullptr && plot->isLoaded())
            plot->setTaskMenusEnabled(blnEnabled);
    }
    setButtonsEnabled({"SaveAs", "Print"}, blnEnabled);
    if (current == windowImage)
        setButtonsEnabled({"Plot", "Scan", "DarkFlat", "Header"}, blnEnabled);
    if (current == windowPlot)
        setButtonsEnabled({"Ident", "Dispcor", "Fluxcalib", "Normalize", "FFT"}, blnEnabled);
}

std::string MdiRaylen::sfApply()
{
    return platform::trapErrors("sfApply", [&]() -> std::string {
        AppState& s = appState();
        float maximum = static_cast<float>(platform::leadingNumber(txtMax->text().toStdString()));
        float minimum = static_cast<float>(platform::leadingNumber(txtMin->text().toStdString()));
        std::string message = sfCreateBitMap(s.sngImage, s.typFitsInfo.NAXIS1, s.typFitsInfo.NAXIS2, maximum,
                                             minimum, s.renderFile, false);
        if (!message.empty())
            return message;
        txtMax->setText(qt(platform::Format(maximum, "0")));
        txtMin->setText(qt(platform::Format(minimum, "0")));
        ImageWindowLink* image = loadedImageWindow();
        if (image == nullptr)
            platform::raise(platform::errObjectNotSet);
        return image->sfInitForm(s.strFileName);
    });
}

void MdiRaylen::cmdAutoScale_Click()
{
    std::string message;
    {
        WaitCursor wait;
        message = sfApply();
    }
    if (!message.empty()) {
        platform::MsgBox(message, platform::vbExclamation);
        unloadImageWindow();
    }
}

void MdiRaylen::mnuOpen_Click()
{
    showCritical(sfOpenFileDlg(dlgOpenFile, appState().strFileName));
}

void MdiRaylen::mnuExit_Click() { close(); }

void MdiRaylen::mnuVersion_Click()
{
    FrmAbout about(this);
    about.exec();
}

std::string MdiRaylen::sfToolBarAction(const QString& key)
{
    return platform::trapErrors("sfToolBarAction", [&] {
        const int16_t current = appState().intActiveWindow;
        ImageWindowLink* image = loadedImageWindow();
        PlotWindowLink* plot = plotWindowLink();
        const bool plotLoaded = plot != nullptr && plot->isLoaded();
        // Commands of a window that is not loaded do nothing.
        auto toPlot = [&](const char* plotKey) {
            if (plotLoaded)
                plot->toolBarAction(plotKey);
        };
        if (key == "Open") {
            if (current == windowImage && image != nullptr)
                image->toolBarAction("Open");
            else if (current == windowPlot && plotLoaded)
                plot->toolBarAction("Open");
            else
                mnuOpen_Click();
        } else if (key == "SaveAs") {
            if (current == windowImage) {
                if (buttonByKey("Axis")->isEnabled() && plotLoaded)
                    plot->toolBarAction("SaveAs");
                else if (image != nullptr)
                    image->toolBarAction("SaveAs");
            } else if (current == windowPlot) {
                toPlot("SaveAs");
            }
        } else if (key == "Plot" || key == "Scan" || key == "DarkFlat" || key == "Header") {
            if (image == nullptr)
                return;
            image->toolBarAction(key.toStdString());
        } else if (key == "Help") {
            dsHelp();
        } else {
            const std::string plotKey = key.toStdString();
            toPlot(plotKey.c_str());
        }
    });
}

void MdiRaylen::setVersionCaption(const std::string& strFile)
{
    std::string caption = versionCaption();
    if (!strFile.empty())
        caption += " [" + strFile + "]";
    setWindowTitle(qt(caption));
}

QMdiSubWindow* MdiRaylen::addDocumentWindow(QWidget* window, const QSize& preferredInner)
{
    QMdiSubWindow* frame = mdiArea->addSubWindow(window);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    frame->setWindowIcon(programIcon());
    // As large as the picture needs, within the document area.
    const QSize area = mdiArea->viewport()->size();
    const QSize chrome = frame->sizeHint() - window->sizeHint();
    QSize wanted = preferredInner + QSize(std::max(chrome.width(), 8), std::max(chrome.height(), 30));
    frame->resize(wanted.boundedTo(area.expandedTo(QSize(200, 150))));
    frame->move(0, 0);
    frame->show();
    mdiArea->setActiveSubWindow(frame);
    return frame;
}

void MdiRaylen::subWindowActivated(QMdiSubWindow* window)
{
    // Leaving the main window (a dialog took the focus) keeps the menus.
    if (window == nullptr && !mdiArea->subWindowList().isEmpty())
        return;
    refreshMenuBar();
    if (window != nullptr)
        if (auto* document = dynamic_cast<DocumentWindow*>(window->widget()))
            document->formActivate();
}

void MdiRaylen::refreshMenuBar()
{
    QMdiSubWindow* current = mdiArea ? mdiArea->activeSubWindow() : nullptr;
    if (current == nullptr && mdiArea != nullptr) {
        const QList<QMdiSubWindow*> windows = mdiArea->subWindowList(QMdiArea::ActivationHistoryOrder);
        if (!windows.isEmpty())
            current = windows.last();
    }
    auto* document = current ? dynamic_cast<DocumentWindow*>(current->widget()) : nullptr;
    showMenus(document ? document->documentMenus() : ownMenus_);
}

void MdiRaylen::showMenus(const QList<QMenu*>& menus)
{
    QList<QAction*> wanted;
    for (QMenu* menu : menus)
        wanted << menu->menuAction();
    if (menuBar()->actions() == wanted)
        return;
    menuBar()->clear();
    for (QAction* action : wanted)
        menuBar()->addAction(action);
}

void MdiRaylen::closeEvent(QCloseEvent* event)
{
    // Every document window runs its own unload first; one that refuses
    // (the save question cancelled) keeps the program running.
    if (!unloadImageWindow()) {
        event->ignore();
        return;
    }
    if (PlotWindowLink* plot = plotWindowLink(); plot != nullptr && plot->isLoaded()) {
        plot->unload();
        if (plot->isLoaded()) {
            event->ignore();
            return;
        }
    }
    mdiArea->closeAllSubWindows();
    if (!mdiArea->subWindowList().isEmpty()) {
        event->ignore();
        return;
    }
    closeHelpWindow();
    rememberMainWindow(this);
    event->accept();
}

void MdiRaylen::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void MdiRaylen::dropEvent(QDropEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    event->acceptProposedAction();
    // Opened after the drop has finished, so that the dragging program is
    // not held by a question or a message.
    QTimer::singleShot(0, this, [urls] { showCritical(sfOpenFileOLEDrop(urls, appState().strFileName)); });
}

} // namespace raylen
