// Printing the chart to a PDF through the scripted print dialog: picture
// size and placement inside the page margins, the cancel window aborting the
// document, and the messages of a chart without a picture.
#include "../shell_gui/GuiHarness.h"
#include "lumigra/DispIds.h"
#include "lumigra/Host.h"
#include "platform/QtUiService.h"
#include "platform/com/DispatchCall.h"
#include "plot/gui/PlotPrint.h"

#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QPageLayout>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>

using namespace guitest;
using namespace platform::com;

namespace {

constexpr double twipsPerMm = 1440.0 / 25.4;

// Forwards every call to the real control and records CreatePicture's
// arguments; `noPicture` makes it answer with no object instead.
class RecordingControl final : public IDispatch {
public:
    explicit RecordingControl(ComPtr<IDispatch> inner) : inner_(std::move(inner)) {}
    HRESULT QueryInterface(const Guid& iid, void** object) override
    {
        if (iid == IID_IUnknown || iid == IID_IDispatch) {
            AddRef();
            *object = this;
            return S_OK;
        }
        return inner_->QueryInterface(iid, object);
    }
    uint32_t AddRef() override { return 2; } // lives on the test's stack
    uint32_t Release() override { return 1; }
    HRESULT GetIDsOfNames(const std::vector<std::string>& names, std::vector<DispId>& ids) override
    {
        return inner_->GetIDsOfNames(names, ids);
    }
    HRESULT Invoke(DispId member, uint16_t flags, std::vector<Variant>& args, Variant* result,
                   ExcepInfo* exception) override
    {
        if (member == lumigra::dispid::control::CreatePicture) {
            pictureArgs = args;
            if (noPicture) {
                if (result)
                    *result = Variant();
                return S_OK;
            }
        }
        return inner_->Invoke(member, flags, args, result, exception);
    }
    std::vector<Variant> pictureArgs;
    bool noPicture = false;

private:
    ComPtr<IDispatch> inner_;
};

ComPtr<IDispatch> chartControl()
{
    ComPtr<IDispatch> control;
    EXPECT_EQ(lumigra::createControl(lumigra::ProgID_Lumigra, reinterpret_cast<IDispatch**>(control.out())), S_OK);
    // An opaque coloured background shows where the picture lands on the page.
    put(control.get(), lumigra::dispid::control::BackMode, Variant::fromI2(1));
    put(control.get(), lumigra::dispid::control::BackColor, Variant::fromI4(0x80C0FF)); // RGB(255, 192, 128)
    return control;
}

// A4 without printer margins, printed into `pdf`.
void pdfPrinter(const std::string& pdf)
{
    QPrinter& printer = platform::sharedPrinter();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf));
    // Exactly 210 × 297 mm (A4 proper is rounded to whole points).
    printer.setPageSize(QPageSize(QSizeF(210, 297), QPageSize::Millimeter, "raylen-a4", QPageSize::ExactMatch));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

constexpr int rasterDpi = 100;

QImage rasterised(const std::string& pdf, const TempDir& dir)
{
    const std::string prefix = dir.file("page");
    const int status = testsupport::run("pdftoppm -r " + std::to_string(rasterDpi) + " -png -singlefile " +
                                        testsupport::shellQuote(pdf) + " " + testsupport::shellQuote(prefix));
    EXPECT_EQ(status, 0) << "pdftoppm (poppler-utils) is needed";
    return QImage(QString::fromStdString(prefix + ".png")).convertToFormat(QImage::Format_RGB32);
}

double mm(int pixels) { return pixels * 25.4 / rasterDpi; }

} // namespace

TEST(PlotPrint, ChartFillsThePrintableAreaWithItsOwnProportions)
{
    Harness h;
    TempDir dir;
    const std::string pdf = dir.file("graph.pdf");
    pdfPrinter(pdf);
    RecordingControl control(chartControl());
    QWidget plotWindow;
    plotWindow.show();
    h.ui.answerDialog("");
    raylen::dsPrintGraph(&control, 141 * twipsPerMm, 111 * twipsPerMm, &plotWindow);

    EXPECT_TRUE(h.ui.shown.empty()) << h.ui.shown.front().prompt;
    ASSERT_EQ(h.ui.dialogs.size(), 1u);
    EXPECT_EQ(h.ui.dialogs[0].mode, platform::DialogMode::Printer);
    EXPECT_TRUE(plotWindow.isEnabled());
    // The printable area is 195 × 292 mm (A4 less 15 mm left and 5 mm
    // bottom): the 141 × 111 mm chart becomes a 141 × 211 mm picture.
    ASSERT_EQ(control.pictureArgs.size(), 4u);
    EXPECT_EQ(control.pictureArgs[0].i2(), 29);
    EXPECT_NEAR(control.pictureArgs[1].r8(), 141.0, 1e-6);
    EXPECT_NEAR(control.pictureArgs[2].r8(), 211.1, 0.2);
    EXPECT_FALSE(control.pictureArgs[3].boolean());

    // On the page the background covers exactly the printable area.
    const QImage page = rasterised(pdf, dir);
    ASSERT_FALSE(page.isNull());
    EXPECT_NEAR(mm(page.width()), 210.0, 0.5);
    EXPECT_NEAR(mm(page.height()), 297.0, 0.5);
    const QRgb background = qRgb(255, 192, 128);
    int left = page.width(), right = -1, top = page.height(), bottom = -1;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QRgb c = page.pixel(x, y);
            if (std::abs(qRed(c) - qRed(background)) < 8 && std::abs(qGreen(c) - qGreen(background)) < 8 &&
                std::abs(qBlue(c) - qBlue(background)) < 8) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    const double pixel = 25.4 / rasterDpi;
    EXPECT_NEAR(mm(left), 15.0, 1.5 * pixel);
    EXPECT_NEAR(mm(right + 1), 210.0, 1.5 * pixel);
    EXPECT_NEAR(mm(top), 0.0, 1.5 * pixel);
    EXPECT_NEAR(mm(bottom + 1), 292.0, 1.5 * pixel);
}

TEST(PlotPrint, CancellingDuringTheWaitAbortsTheDocument)
{
    Harness h;
    TempDir dir;
    const std::string pdf = dir.file("aborted.pdf");
    pdfPrinter(pdf);
    RecordingControl control(chartControl());
    QWidget plotWindow;
    plotWindow.show();
    h.ui.answerDialog("");
    std::string caption, label;
    bool plotDisabled = false;
    QTimer::singleShot(300, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* window = qobject_cast<raylen::FrmPrintAbort*>(w); window && window->isVisible()) {
                caption = text(window->windowTitle());
                label = text(window->Label1->text());
                plotDisabled = !plotWindow.isEnabled();
                window->btnAbort->click();
            }
    });
    QElapsedTimer clock;
    clock.start();
    raylen::dsPrintGraph(&control, 141 * twipsPerMm, 111 * twipsPerMm, &plotWindow);
    EXPECT_LT(clock.elapsed(), 1800);
    EXPECT_EQ(caption, "印刷中");
    EXPECT_EQ(label, "印刷中　　中止する場合は、\"ｷｬﾝｾﾙ\"ボタンを押して下さい");
    EXPECT_TRUE(plotDisabled);
    EXPECT_TRUE(plotWindow.isEnabled());
    EXPECT_TRUE(raylen::blnPrintAbort);
    EXPECT_FALSE(std::filesystem::exists(pdf)) << "an aborted document was left behind";
    QApplication::processEvents();
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_FALSE(qobject_cast<raylen::FrmPrintAbort*>(w) && w->isVisible());
}

TEST(PlotPrint, CancelledDialogAndMissingPicture)
{
    Harness h;
    TempDir dir;
    const std::string pdf = dir.file("never.pdf");
    pdfPrinter(pdf);
    RecordingControl control(chartControl());
    h.ui.cancelDialog();
    raylen::dsPrintGraph(&control, 8000, 6000, nullptr);
    EXPECT_TRUE(control.pictureArgs.empty());
    EXPECT_TRUE(h.ui.shown.empty());

    control.noPicture = true;
    h.ui.answerDialog("");
    raylen::dsPrintGraph(&control, 8000, 6000, nullptr);
    ASSERT_EQ(h.ui.shown.size(), 1u);
    EXPECT_EQ(h.ui.shown[0].prompt, "Lumigra Worksのピクチャが取得できません");
    EXPECT_EQ(h.ui.shown[0].style, platform::vbOKOnly);
    EXPECT_FALSE(std::filesystem::exists(pdf));

    // The printer setup dialog only chooses; nothing is printed.
    h.ui.answerDialog("");
    EXPECT_FALSE(raylen::PrintDialog(0));
    h.ui.cancelDialog();
    EXPECT_TRUE(raylen::PrintDialog(0));
    EXPECT_FALSE(std::filesystem::exists(pdf));
}
