// plot: the spectrum drawn by the chart component exactly as the plot window
// draws it (the same object tree), rendered to a PNG, SVG or PDF file.
#include "Command.h"
#include "GuiSession.h"
#include "SpectrumInput.h"

#include "lumigra/Constants.h"
#include "lumigra/Control.h"
#include "lumigra/DispIds.h"
#include "lumigra/Host.h"
#include "lumigra/Picture.h"
#include "platform/BasicError.h"
#include "platform/com/DispatchCall.h"
#include "plot/PlotChart.h"
#include "files/FileAccess.h"
#include "files/TextSpectrum.h"

#include <QBuffer>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPicture>

#include <cstdlib>
#include <memory>

namespace cli {

namespace {

using platform::com::ComPtr;
using platform::com::IDispatch;
using platform::com::Variant;

// The plot window's size in twips, which is the chart's page.
constexpr double chartWidthMm = 8107 / 1440.0 * 25.4;
constexpr double chartHeightMm = 6395 / 1440.0 * 25.4;
constexpr double screenDpi = 96;
// Raster output is drawn finer than the screen.
constexpr double pngDpi = 200;
constexpr int pdfResolution = 1200;

enum class Output { Png, Svg, Pdf };

// The chart gave no picture (the plot window's print message).
struct NoPicture {};
constexpr const char* noPictureMessage = "Lumigra Worksのピクチャが取得できません";

bool endsWith(const std::string& text, const std::string& tail)
{
    if (text.size() < tail.size())
        return false;
    std::string end = text.substr(text.size() - tail.size());
    for (char& c : end)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return end == tail;
}

ComPtr<IDispatch> pictureOf(IDispatch* control, int type)
{
    Variant picture = platform::com::call(control, lumigra::dispid::control::CreatePicture,
                                          {Variant::fromI2(static_cast<int16_t>(type)), Variant::fromR8(chartWidthMm),
                                           Variant::fromR8(chartHeightMm), Variant::fromBool(false)});
    if (picture.vt() != platform::com::VT_DISPATCH || picture.dispatch() == nullptr)
        throw NoPicture{};
    return platform::com::objectOf(picture);
}

// Replays the chart's drawing record scaled onto a paint device.
void replay(IDispatch* control, QPainter& painter, const QRectF& target)
{
    ComPtr<IDispatch> picture = pictureOf(control, lumigra::lgImageMetaFile);
    void* p = nullptr;
    if (picture->QueryInterface(lumigra::IID_ILumigraPicture, &p) != platform::com::S_OK)
        platform::raise(platform::errTypeMismatch);
    auto* drawing = static_cast<lumigra::ILumigraPicture*>(p);
    const QPicture* record = drawing->metafile();
    const QRect bounds = record->boundingRect();
    painter.save();
    painter.translate(target.topLeft());
    // Playback already scales by the ratio of the two devices' resolutions.
    const double dpiX = double(record->logicalDpiX()) / painter.device()->logicalDpiX();
    const double dpiY = double(record->logicalDpiY()) / painter.device()->logicalDpiY();
    painter.scale(target.width() / bounds.width() * dpiX, target.height() / bounds.height() * dpiY);
    painter.drawPicture(0, 0, *record);
    painter.restore();
    drawing->Release();
}

QByteArray renderChart(IDispatch* control, Output kind)
{
    QByteArray bytes;
    if (kind == Output::Svg) {
        ComPtr<IDispatch> picture = pictureOf(control, lumigra::lgImageEnhMetaFile);
        void* p = nullptr;
        if (picture->QueryInterface(lumigra::IID_ILumigraPicture, &p) != platform::com::S_OK)
            platform::raise(platform::errTypeMismatch);
        auto* drawing = static_cast<lumigra::ILumigraPicture*>(p);
        bytes = *drawing->svg();
        drawing->Release();
        return bytes;
    }
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (kind == Output::Png) {
        const QSize size(static_cast<int>(chartWidthMm * pngDpi / 25.4), static_cast<int>(chartHeightMm * pngDpi / 25.4));
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        const int dotsPerMetre = static_cast<int>(pngDpi / 0.0254 + 0.5);
        image.setDotsPerMeterX(dotsPerMetre);
        image.setDotsPerMeterY(dotsPerMetre);
        {
            QPainter painter(&image);
            replay(control, painter, QRectF(QPointF(0, 0), QSizeF(size)));
        }
        image.save(&buffer, "PNG");
    } else {
        QPdfWriter pdf(&buffer);
        pdf.setResolution(pdfResolution);
        pdf.setPageLayout(QPageLayout(QPageSize(QSizeF(chartWidthMm, chartHeightMm), QPageSize::Millimeter),
                                      QPageLayout::Portrait, QMarginsF()));
        pdf.setTitle("Lumigra Works");
        QPainter painter(&pdf);
        replay(control, painter, QRectF(QPointF(0, 0), QSizeF(pdf.width(), pdf.height())));
    }
    return bytes;
}

struct PlotRequest {
    std::string file, out;
    Output kind = Output::Png;
    std::vector<float> x, y, overlayX, overlayY;
    bool manualX = false, manualY = false, logY = false;
    double xMin = 0, xMax = 0, yMin = 0, yMax = 0;
};

std::string draw(const PlotRequest& r)
{
    return platform::trapErrors("plot", [&] {
        ComPtr<IDispatch> control;
        if (platform::com::failed(
                lumigra::createControl(lumigra::ProgID_Lumigra, reinterpret_cast<IDispatch**>(control.out()))) ||
            !control)
            platform::raise(platform::errObjectNotSet);
        void* p = nullptr;
        if (control->QueryInterface(lumigra::IID_ILumigraControl, &p) == platform::com::S_OK) {
            auto* host = static_cast<lumigra::ILumigraControl*>(p);
            host->setExtent(static_cast<int32_t>(chartWidthMm * screenDpi / 25.4),
                            static_cast<int32_t>(chartHeightMm * screenDpi / 25.4), screenDpi, screenDpi);
            host->setDisplayName(r.file);
            host->Release();
        }
        raylen::PlotChart chart;
        chart.build(control.get());
        chart.plotLine(r.x, r.y);
        if (!r.overlayX.empty())
            chart.plotLineClone(r.overlayX, r.overlayY);
        std::string name = r.file, directory;
        raylen::sfExtrFileName(r.file, name, directory);
        chart.setNameDate(name, raylen::generalDateNow());
        if (r.manualX)
            chart.setRangeX(false, static_cast<float>(r.xMax), static_cast<float>(r.xMin));
        chart.setRangeY(!r.manualY, static_cast<float>(r.yMax), static_cast<float>(r.yMin),
                        r.logY ? raylen::axisStyleLog : raylen::axisStyleLinear);
        const QByteArray bytes = renderChart(control.get(), r.kind);
        if (bytes.isEmpty())
            platform::raise(platform::errDeviceIo);
        raylen::writeFileBytes(r.out, bytes.constData(), static_cast<size_t>(bytes.size()));
    });
}

int runPlot(const Arguments& args)
{
    const CommandSpec* spec = &commands().at("plot");
    if (!args.option("o"))
        return usageError("-o is required", spec);
    PlotRequest r;
    r.file = args.positional[0];
    r.out = *args.option("o");
    if (endsWith(r.out, ".png"))
        r.kind = Output::Png;
    else if (endsWith(r.out, ".svg"))
        r.kind = Output::Svg;
    else if (endsWith(r.out, ".pdf"))
        r.kind = Output::Pdf;
    else
        return usageError("-o must name a .png, .svg or .pdf file", spec);
    if (auto range = args.option("x")) {
        if (!parseRealRange(*range, r.xMin, r.xMax))
            return usageError("--x takes MIN:MAX", spec);
        r.manualX = true;
    }
    if (auto range = args.option("y")) {
        if (!parseRealRange(*range, r.yMin, r.yMax))
            return usageError("--y takes MIN:MAX", spec);
        r.manualY = true;
    }
    r.logY = args.flag("log-y");

    std::string message = openSpectrum(r.file, r.x, r.y);
    if (message.empty() && args.option("overlay"))
        message = openSpectrum(*args.option("overlay"), r.overlayX, r.overlayY);
    if (!message.empty())
        return fail(message);

    auto application = guiApplication();
    try {
        message = draw(r);
    } catch (const NoPicture&) {
        message = noPictureMessage;
    }
    return message.empty() ? exitOk : fail(message);
}

Registration plot({"plot",
                   "plot SPEC.txt -o OUT.png|OUT.svg|OUT.pdf [--x MIN:MAX] [--y MIN:MAX] [--log-y] [--overlay SPEC2.txt]",
                   "draws the spectrum as the plot window does and renders it to a file",
                   {"o", "x", "y", "overlay"},
                   {"log-y"},
                   1,
                   runPlot});

} // namespace

} // namespace cli
