#include "plot/gui/PlotPrint.h"

#include "lumigra/Constants.h"
#include "lumigra/DispIds.h"
#include "lumigra/Picture.h"
#include "platform/BasicError.h"
#include "platform/QtUiService.h"
#include "platform/UiService.h"
#include "platform/com/DispatchCall.h"
#include "shell/gui/Fonts.h"
#include "shell/gui/MdiRaylen.h"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QPainter>
#include <QPicture>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>

namespace raylen {

using namespace platform;

bool blnPrintAbort = false;

namespace {

constexpr double mmPerInch = 25.4;
// The spooler is given this long before the document is closed; the cancel
// button can still abort it meanwhile.
constexpr int spoolWaitMs = 2000;
constexpr int16_t printModeSetup = 0;
constexpr int16_t printModePrint = 1;

const char* const printerErrorText = "プリンタ設定エラー";
const char* const noPrinterText = "プリンタが定義されていません";
const char* const noPictureText = "Lumigra Worksのピクチャが取得できません";

// The print dialog record: the printer lives for the run (sharedPrinter),
// the "device context" only from a successful print dialog to the end of
// the print job.
bool recordHasDeviceContext = false;

// The metafile drawing inside a picture object, or null when the chart
// returned none.
const QPicture* metafileOf(const com::Variant& result, com::ComPtr<com::IDispatch>& keep)
{
    if (result.vt() != com::VT_DISPATCH || result.dispatch() == nullptr)
        return nullptr;
    keep = com::objectOf(result);
    void* raw = nullptr;
    if (keep->QueryInterface(lumigra::IID_ILumigraPicture, &raw) != com::S_OK || raw == nullptr)
        return nullptr;
    auto* picture = static_cast<lumigra::ILumigraPicture*>(raw);
    const QPicture* drawing = picture->metafile();
    picture->Release(); // `keep` holds the object
    return drawing;
}

int marginPixels(double mm, double pixelsPerMm) { return static_cast<int>(mm * pixelsPerMm + 0.5); }

} // namespace

FrmPrintAbort::FrmPrintAbort(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmPrintAbort");
    setWindowTitle(QString::fromUtf8("印刷中"));
    Label1 = new QLabel(QString::fromUtf8("印刷中　　中止する場合は、\"ｷｬﾝｾﾙ\"ボタンを押して下さい"), this);
    Label1->setObjectName("Label1");
    btnAbort = new QPushButton(QString::fromUtf8("ｷｬﾝｾﾙ"), this);
    btnAbort->setObjectName("btnAbort");
    QFont font(QString::fromUtf8("ＭＳ Ｐゴシック"));
    font.setPointSize(9);
    for (QWidget* control : {static_cast<QWidget*>(Label1), static_cast<QWidget*>(btnAbort)})
        control->setFont(font);
    setFixedSize(twipsToPixelsX(4800), twipsToPixelsY(1500));
    Label1->setGeometry(twipsToPixelsX(240), twipsToPixelsY(180), twipsToPixelsX(4320), twipsToPixelsY(300));
    btnAbort->setGeometry(twipsToPixelsX(1800), twipsToPixelsY(600), twipsToPixelsX(1200), twipsToPixelsY(390));
    blnPrintAbort = false;
    connect(btnAbort, &QPushButton::clicked, this, [this] {
        blnPrintAbort = true;
        emit aborted();
    });
}

bool PrintDialog(int16_t iMode)
{
    QPrinter& printer = sharedPrinter();
    if (iMode != printModeSetup && iMode != printModePrint) {
        // The printer as it stands, without asking.
        recordHasDeviceContext = printer.isValid();
        return false;
    }
    CommonDialog dialog;
    dialog.DialogTitle = iMode == printModeSetup ? "ﾌﾟﾘﾝﾀｰの設定" : "印刷";
    if (!ui().showDialog(dialog, DialogMode::Printer))
        return true;
    if (!printer.isValid()) {
        // No usable printer behind the dialog's choice.
        if (iMode != printModeSetup)
            recordHasDeviceContext = false;
        MsgBox(printerErrorText, vbOKOnly);
        return true;
    }
    if (iMode == printModePrint)
        recordHasDeviceContext = true;
    return false;
}

void dsPrintGraph(com::IDispatch* control, double widthTwips, double heightTwips, QWidget* plotWindow)
{
    QPointer<FrmPrintAbort> abortWindow;
    QPointer<QWidget> window(plotWindow);
    std::string message = trapErrors("dsPrintGraph", [&] {
        if (PrintDialog(printModePrint))
            return;
        if (!recordHasDeviceContext) {
            MsgBox(noPrinterText, vbOKOnly);
            return;
        }
        QPrinter& printer = sharedPrinter();
        const QRect device = printer.pageLayout().paintRectPixels(printer.resolution());
        const double pixelsPerMmX = printer.logicalDpiX() / mmPerInch;
        const double pixelsPerMmY = printer.logicalDpiY() / mmPerInch;

        // Owned by the main window: a child of the plot window would be
        // disabled with it, and its button with it.
        abortWindow = new FrmPrintAbort(mdiRaylen());
        abortWindow->setAttribute(Qt::WA_DeleteOnClose);
        abortWindow->show();
        if (plotWindow != nullptr)
            plotWindow->setEnabled(false);

        const double chartWidth = widthTwips / twipsPerInch * mmPerInch;
        const double chartHeight = heightTwips / twipsPerInch * mmPerInch;
        const int left = marginPixels(printMarginLeft, pixelsPerMmX);
        const int right = marginPixels(printMarginRight, pixelsPerMmX);
        const int top = marginPixels(printMarginTop, pixelsPerMmY);
        const int bottom = marginPixels(printMarginBottom, pixelsPerMmY);
        const int areaWidth = device.width() - left - right;
        const int areaHeight = device.height() - top - bottom;
        const double areaWidthMm = areaWidth / pixelsPerMmX;
        const double areaHeightMm = areaHeight / pixelsPerMmY;
        if (areaWidth <= 0 || areaHeight <= 0)
            raise(errInvalidCall);

        // The picture takes the printable area's proportions and covers the
        // whole chart, so the page is filled without distorting it.
        double dx = 0.0, dy = 0.0;
        if (chartHeight / chartWidth >= areaHeightMm / areaWidthMm) {
            dy = chartHeight;
            dx = chartHeight * areaWidthMm / areaHeightMm;
        } else {
            dx = chartWidth;
            dy = chartWidth * areaHeightMm / areaWidthMm;
        }
        com::ComPtr<com::IDispatch> pictureObject;
        const QPicture* drawing = metafileOf(
            com::call(control, lumigra::dispid::control::CreatePicture,
                      {com::Variant::fromI2(lumigra::lgImageMetaFile), com::Variant::fromR8(dx),
                       com::Variant::fromR8(dy), com::Variant::fromBool(false)}),
            pictureObject);
        if (drawing == nullptr) {
            MsgBox(noPictureText, vbOKOnly);
            return;
        }

        QApplication::processEvents();
        if (blnPrintAbort)
            return;
        if (abortWindow != nullptr)
            abortWindow->repaint();
        printer.setDocName("Lumigra.exe");
        QPainter painter;
        if (!painter.begin(&printer))
            raise(errDeviceIo);
        // The picture's extent onto the printable area, anisotropically. A
        // picture played back scales itself by the device's resolution over
        // its own; that factor is taken out so the extent alone decides.
        const QRect extent = drawing->boundingRect();
        const double replayX = static_cast<double>(drawing->logicalDpiX()) / printer.logicalDpiX();
        const double replayY = static_cast<double>(drawing->logicalDpiY()) / printer.logicalDpiY();
        painter.translate(left, top);
        painter.scale(replayX * areaWidth / extent.width(), replayY * areaHeight / extent.height());
        painter.drawPicture(0, 0, *drawing);

        // The wait ends early when the cancel button is pressed.
        QEventLoop wait;
        QTimer::singleShot(spoolWaitMs, &wait, &QEventLoop::quit);
        if (abortWindow != nullptr)
            QObject::connect(abortWindow, &FrmPrintAbort::aborted, &wait, &QEventLoop::quit);
        if (!blnPrintAbort)
            wait.exec();
        if (blnPrintAbort) {
            const bool engineAborted = printer.abort();
            painter.end();
            // A file target cannot be withdrawn by its engine: remove the
            // half-made document so nothing is left of the aborted print.
            if (!engineAborted && !printer.outputFileName().isEmpty())
                QFile::remove(printer.outputFileName());
        } else {
            painter.end();
        }
    });
    recordHasDeviceContext = false;
    if (abortWindow != nullptr)
        abortWindow->close();
    if (window != nullptr) {
        window->setEnabled(true);
        window->show();
        window->update();
    }
    if (!message.empty())
        MsgBox(message, vbCritical);
}

} // namespace raylen
