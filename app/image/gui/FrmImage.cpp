#include "image/gui/FrmImage.h"
#include "shell/gui/WindowRegistry.h"

#include "image/gui/FrmClean.h"
#include "image/gui/FrmCombine.h"
#include "image/gui/FrmDarkFlat.h"
#include "image/gui/FrmDispHdr.h"
#include "image/gui/ImageSave.h"
#include "image/gui/PicImage.h"
#include "platform/BasicError.h"
#include "platform/BasicRuntime.h"
#include "platform/Format.h"
#include "state/AppState.h"
#include "files/FileAccess.h"
#include "shell/gui/FileIntake.h"
#include "shell/gui/Help.h"
#include "shell/gui/MdiRaylen.h"
#include "shell/gui/FormSupport.h"

#include <QAction>
#include <QCloseEvent>
#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QScrollBar>
#include <QToolButton>

#include <limits>

namespace raylen {

using namespace platform;

namespace {

// A scroll distance: at 1:1 a 16-bit integer as the design has it (the
// overflow error beyond); a zoomed picture may be larger.
int barInteger(double value, bool designScale)
{
    if (designScale)
        return toInteger(value);
    return static_cast<int>(std::clamp(std::nearbyint(value), 0.0, static_cast<double>(std::numeric_limits<int>::max())));
}

// Large and small change of a scroll bar: the quotients rounded halves to even.
void setChanges(QScrollBar* bar, int maximum, int largeDivisor, int smallDivisor, bool designScale)
{
    bar->setPageStep(barInteger(maximum / static_cast<double>(largeDivisor) + 1, designScale));
    bar->setSingleStep(barInteger(maximum / static_cast<double>(smallDivisor) + 1, designScale));
}

} // namespace

FrmImage* frmImage() { return windowRegistry().loaded<FrmImage>(); }

FrmImage::FrmImage(QWidget* parent) : QWidget(parent)
{
    setObjectName("frmImage");
    picWindow = new QWidget(this);
    picWindow->setObjectName("picWindow");
    picWindow->setAutoFillBackground(true);
    QPalette dark = picWindow->palette();
    dark.setColor(QPalette::Window, QColor(128, 128, 128));
    picWindow->setPalette(dark);
    picImage = new PicImage(shpBox, picWindow);
    hsbImage = new QScrollBar(Qt::Horizontal, this);
    vsbImage = new QScrollBar(Qt::Vertical, this);
    hsbImage->setObjectName("hsbImage");
    vsbImage->setObjectName("vsbImage");
    connect(hsbImage, &QScrollBar::valueChanged, this, [this](int value) { picImage->move(-value, picImage->y()); });
    connect(vsbImage, &QScrollBar::valueChanged, this, [this](int value) { picImage->move(picImage->x(), -value); });
    picImage->onPress = [this](Qt::MouseButton button, Qt::MouseButtons, QPoint at) { picMouseDown(button, at); };
    picImage->onMove = [this](Qt::MouseButtons buttons, QPoint at) { picMouseMove(buttons, at); };
    picImage->onRelease = [this](Qt::MouseButton button, Qt::MouseButtons, QPoint at) { picMouseUp(button, at); };
    buildMenus();
    buildView();
}

FrmImage::~FrmImage()
{
    if (!unloaded)
        formUnload();
}

void FrmImage::buildMenus()
{
    auto item = [this](QMenu* menu, const char* name, const char* caption, void (FrmImage::*handler)()) {
        QAction* action = menu->addAction(QString::fromUtf8(caption));
        action->setObjectName(name);
        if (handler != nullptr)
            connect(action, &QAction::triggered, this, handler);
        return action;
    };
    auto menu = [this](const char* name, const char* caption) {
        auto* created = new QMenu(QString::fromUtf8(caption), this);
        created->setObjectName(name);
        return created;
    };
    buildStandardMenus(this);
    connect(mnuOpen, &QAction::triggered, this, &FrmImage::mnuOpen_Click);
    connect(mnuClose, &QAction::triggered, this, &FrmImage::mnuClose_Click);
    connect(mnuSaveAs, &QAction::triggered, this, &FrmImage::mnuSaveAs_Click);
    mnuPlot = item(mnuImage, "mnuPlot", "ﾌﾟﾛｯﾄ(&P)", &FrmImage::mnuPlot_Click);
    mnuScan = item(mnuImage, "mnuScan", "ｽｷｬﾝ(&S)", &FrmImage::mnuScan_Click);
    mnuImage->addSeparator()->setObjectName("mnuSepImage1");
    mnuDarkFlat = item(mnuImage, "mnuDarkFlat", "ﾀﾞｰｸ・ﾌﾗｯﾄ補正(&D)", &FrmImage::mnuDarkFlat_Click);
    mnuClean = item(mnuImage, "mnuClean", "宇宙線除去(&C)", &FrmImage::mnuClean_Click);
    mnuCombine = item(mnuImage, "mnuCombine", "ﾌﾚｰﾑ合成(&M)", &FrmImage::mnuCombine_Click);
    mnuImage->addSeparator()->setObjectName("mnuSepImage2");
    mnuDispHdr = item(mnuImage, "mnuDispHdr", "ﾍｯﾀﾞｰ情報(&I)", &FrmImage::mnuDispHdr_Click);
    // The box's pop-up menu is never in the menu bar.
    mnuBox = menu("mnuBox", "BOX");
    mnuBoxSet = item(mnuBox, "mnuBoxSet", "設定", nullptr);
    mnuBoxSet->setCheckable(true);
    connect(mnuBoxSet, &QAction::triggered, this, [this] {
        const FitsInfo& info = appState().typFitsInfo;
        dsMnuBoxSet(info.NAXIS1, info.NAXIS2);
    });
    mnuBoxRemove = item(mnuBox, "mnuBoxRemove", "消去", &FrmImage::dsMnuBoxRemove);
}

QList<QMenu*> FrmImage::documentMenus() const { return standardMenus(); }

std::string FrmImage::sfInitForm(const std::string& strFileName)
{
    return trapErrors("sfInitForm", [&]() -> std::string {
        dsMnuBoxRemove();
        std::string name = strFileName, directory;
        std::string message = sfExtrFileName(strFileName, name, directory);
        if (!message.empty())
            return message;
        setWindowTitle(qt("ｲﾒｰｼﾞ [ " + name + " ]"));
        message = picImage->loadPicture(appState().renderFile);
        if (!message.empty())
            return message;
        if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()); frame != nullptr && frame->isMinimized())
            frame->showNormal();
        stretchStale_ = true;
        if (view_.rendered())
            picImage->showGrey(nullptr);
        layoutWindow(true);
        shpBox.left = shpBox.top = 0;
        shpBox.width = shpBox.height = 1;
        picImage->update();
        return {};
    });
}

void FrmImage::layoutWindow(bool initial)
{
    const int barWidth = vsbImage->sizeHint().width();
    const int barHeight = hsbImage->sizeHint().height();
    if (!initial && (width() == 0 || height() == 0))
        return;
    const int viewWidth = std::max(0, width() - barWidth);
    const int viewHeight = std::max(0, height() - barHeight);
    picWindow->setGeometry(0, 0, viewWidth, viewHeight);
    hsbImage->setGeometry(0, viewHeight, viewWidth, barHeight);
    vsbImage->setGeometry(viewWidth, 0, barWidth, viewHeight);
    cmdView->setGeometry(viewWidth, viewHeight, barWidth, barHeight);
    if (view_.fit) {
        view_.zoom = fitFactor(picImage->imageWidth(), picImage->imageHeight(), viewWidth, viewHeight);
        picImage->setScale(ViewScale{view_.zoom});
    }
    const bool designScale = picImage->scale().factor == 1.0;
    picImage->move(0, 0);

    struct Axis {
        QScrollBar* bar;
        int picture, view;
    };
    for (const Axis& axis : {Axis{hsbImage, picImage->pictureWidth(), viewWidth},
                             Axis{vsbImage, picImage->pictureHeight(), viewHeight}}) {
        const int maximum = axis.picture > axis.view ? barInteger(axis.picture - axis.view, designScale)
                                                     : toInteger(axis.picture - axis.view);
        const QSignalBlocker quiet(axis.bar);
        axis.bar->setRange(0, std::max(0, maximum));
        if (initial)
            axis.bar->setValue(0);
        if (maximum > 0) {
            if (initial)
                setChanges(axis.bar, maximum, 5, 50, designScale);
            else
                setChanges(axis.bar, maximum, 2, 20, designScale);
        }
        // A bar is in use only while the picture is larger than the viewport.
        axis.bar->setEnabled(maximum > 0);
    }
    picImage->move(-hsbImage->value(), -vsbImage->value());
}

void FrmImage::resizeEvent(QResizeEvent*)
{
    std::string message = trapErrors("Form_Resize", [&] { layoutWindow(false); });
    showCritical(message);
}

void FrmImage::formActivate()
{
    if (appState().intTaskMode == taskNone)
        dsSetMenuWhenImage();
}

void FrmImage::dsSetMenuWhenImage()
{
    MdiRaylen* main = mdiRaylen();
    if (main == nullptr)
        return;
    mnuClose->setEnabled(true);
    mnuSaveAs->setEnabled(true);
    mnuPrint->setEnabled(false);
    mnuSetPrinter->setEnabled(false);
    mnuGraph->menuAction()->setEnabled(false);
    main->setButtonsEnabled({"SaveAs", "Plot", "Scan", "DarkFlat", "Header"}, true);
    main->setButtonsEnabled({"Print", "Axis", "Ident", "Dispcor", "Fluxcalib", "Normalize", "FFT", "Result"}, false);
    main->dsTxtMaxMinEnabled(true);
}

void FrmImage::dsMnuBoxSet(int32_t lngXLen, int32_t lngYLen)
{
    blnBoxFixed = raylen::dsMnuBoxSet(shpBox, blnBoxFixed, lngXLen, lngYLen);
    mnuBoxSet->setChecked(blnBoxFixed);
    if (blnBoxFixed)
        picImage->unsetCursor();
    picImage->update();
}

void FrmImage::dsMnuBoxRemove()
{
    raylen::dsMnuBoxRemove(shpBox);
    blnBoxFixed = false;
    mnuBoxSet->setChecked(false);
    picImage->unsetCursor();
    picImage->update();
}

void FrmImage::setBox(int32_t left, int32_t top, int32_t width, int32_t height)
{
    if (width < 0 || height < 0)
        platform::raise(errInvalidProperty);
    shpBox.left = left;
    shpBox.top = top;
    shpBox.width = width;
    shpBox.height = height;
    picImage->update();
}

void FrmImage::applyPointer()
{
    switch (boxPointer(shpBox)) {
    case BoxPointer::Move: picImage->setCursor(Qt::SizeAllCursor); break;
    case BoxPointer::WestEast: picImage->setCursor(Qt::SizeHorCursor); break;
    case BoxPointer::NorthSouth: picImage->setCursor(Qt::SizeVerCursor); break;
    case BoxPointer::Default: picImage->unsetCursor(); break;
    }
}

void FrmImage::picMouseDown(Qt::MouseButton button, QPoint at)
{
    if (button == Qt::LeftButton) {
        if (!blnBoxFixed) {
            dsSetShpBoxTag(shpBox, at.x(), at.y());
            dsShpBoxMouseDown(shpBox, drag, at.x(), at.y());
            picImage->update();
        }
    } else if (button == Qt::RightButton) {
        const QPoint screen(picImage->scale().screenOf(at.x()), picImage->scale().screenOf(at.y()));
        if (shpBox.visible)
            mnuBox->popup(picImage->mapToGlobal(screen));
        else
            viewMenu->menu->popup(picImage->mapToGlobal(screen));
    } else {
        MsgBox("picImage_MouseDown", vbCritical, "Error");
    }
}

void FrmImage::showReadOut(QPoint at)
{
    MdiRaylen* main = mdiRaylen();
    if (main == nullptr)
        return;
    main->lblX->setText(qt("x " + Format(at.x(), "0")));
    main->lblY->setText(qt("y " + Format(at.y(), "0")));
    const SingleImage& image = appState().sngImage;
    if (image.contains(at.x(), at.y()))
        main->lblCount->setText(qt("count " + Format(image(at.x(), at.y()), "0.0")));
}

void FrmImage::autoScroll(QPoint at)
{
    // A step that would leave the bar's range is skipped.
    auto step = [](QScrollBar* bar, int delta) {
        const int value = bar->value() + delta;
        if (value >= bar->minimum() && value <= bar->maximum())
            bar->setValue(value);
    };
    // The pointer's image pixel against the visible part, in screen pixels.
    const int x = picImage->scale().screenOf(at.x()), y = picImage->scale().screenOf(at.y());
    if (x < hsbImage->value())
        step(hsbImage, -hsbImage->singleStep());
    else if (x > hsbImage->value() + picWindow->width())
        step(hsbImage, hsbImage->singleStep());
    if (y < vsbImage->value())
        step(vsbImage, -vsbImage->singleStep());
    else if (y > vsbImage->value() + picWindow->height())
        step(vsbImage, vsbImage->singleStep());
}

void FrmImage::picMouseMove(Qt::MouseButtons buttons, QPoint at)
{
    showReadOut(at);
    if (blnBoxFixed)
        return;
    if (buttons & Qt::LeftButton) {
        autoScroll(at);
        dsShpBoxMouseMove(shpBox, drag, at.x(), at.y());
        picImage->update();
    } else if (shpBox.visible) {
        dsSetShpBoxTag(shpBox, at.x(), at.y());
        applyPointer();
    }
}

void FrmImage::picMouseUp(Qt::MouseButton button, QPoint at)
{
    if (button == Qt::LeftButton && !blnBoxFixed) {
        dsShpBoxMouseUp(shpBox, drag, at.x(), at.y());
        picImage->update();
    }
}

void FrmImage::mnuOpen_Click()
{
    if (appState().blnImageChanged) {
        bool cancel = false;
        dfUnloadForm(cancel);
        if (cancel)
            return;
    }
    if (MdiRaylen* main = mdiRaylen())
        showCritical(sfOpenFileDlg(main->dlgOpenFile, appState().strFileName));
}

void FrmImage::mnuClose_Click() { unloadFrmImage(); }

void FrmImage::mnuSaveAs_Click()
{
    AppState& s = appState();
    bool cancel = false;
    std::string message = sfSaveImgSngPro(s.strFileName, s.strHeader, s.sngImage, cancel);
    if (message.empty() && !cancel)
        s.blnImageChanged = false;
    showCritical(message);
}

void FrmImage::mnuPlot_Click()
{
    imageDialogs().showImageCut();
}

void FrmImage::mnuScan_Click()
{
    imageDialogs().showScan();
}

void FrmImage::mnuDarkFlat_Click() { showFrmDarkFlat(); }
void FrmImage::mnuClean_Click() { showFrmClean(); }
void FrmImage::mnuCombine_Click() { showFrmCombine(); }

void FrmImage::mnuDispHdr_Click()
{
    FrmDispHdr viewer(mdiRaylen());
    viewer.exec();
}

void FrmImage::closeEvent(QCloseEvent* event)
{
    if (unloaded) {
        event->accept();
        return;
    }
    bool cancel = false;
    dfUnloadForm(cancel);
    if (cancel) {
        event->ignore();
        return;
    }
    formUnload();
    event->accept();
}

void FrmImage::formUnload()
{
    unloaded = true;
    windowRegistry().forget<FrmImage>(this);
    std::string message = trapErrors("Form_Unload", [&] {
        if (PlotWindowLink* plot = plotWindowLink(); plot != nullptr && plot->isLoaded())
            plot->unload();
        imageDialogs().unloadAll();
        unloadFrmDarkFlat();
        if (MdiRaylen* main = mdiRaylen())
            main->dsInitForm();
    });
    AppState& s = appState();
    s.blnImageLoaded = false;
    s.blnImageChanged = false;
    showCritical(message);
}

void showFrmImage()
{
    MdiRaylen* main = mdiRaylen();
    if (main == nullptr || frmImage() != nullptr)
        return;
    auto* window = new FrmImage;
    windowRegistry().setLoaded(window);
    std::string message = window->sfInitForm(appState().strFileName);
    if (!message.empty()) {
        MsgBox(message, vbCritical);
        appState().blnImageLoaded = false;
        windowRegistry().setLoaded<FrmImage>(nullptr);
        window->deleteLater();
        return;
    }
    appState().blnImageLoaded = true;
    const QSize inner(window->picImage->pictureWidth() + window->vsbImage->sizeHint().width(),
                      window->picImage->pictureHeight() + window->hsbImage->sizeHint().height());
    main->addDocumentWindow(window, inner);
    window->sfInitForm(appState().strFileName);
    window->formActivate();
}

bool unloadFrmImage()
{
    FrmImage* window = frmImage();
    if (window == nullptr)
        return true;
    QWidget* frame = window->parentWidget();
    if (frame == nullptr) {
        const bool closed = window->close();
        if (closed)
            window->deleteLater();
        return closed;
    }
    return frame->close();
}

} // namespace raylen
