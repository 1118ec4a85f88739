#pragma once
// The plot window opened through the shell on a spectrum written to a
// temporary file, with helpers that move the real mouse over data points
// and type real keys on the chart.
#include "../shell_gui/GuiHarness.h"
#include "lumigra/DispIds.h"
#include "platform/com/DispatchCall.h"
#include "plot/gui/FrmPlot.h"
#include "plot/gui/PlotTaskLinks.h"

#include <QKeyEvent>

#include <cmath>
#include <optional>
#include <sstream>

namespace plottest {

using namespace guitest;
namespace dsp = lumigra::dispid;

struct Spectrum {
    std::vector<float> x, y;
};

inline std::string spectrumText(const Spectrum& s)
{
    std::ostringstream out;
    out.precision(9);
    for (size_t i = 0; i < s.x.size(); ++i)
        out << s.x[i] << ',' << s.y[i] << "\r\n";
    return out.str();
}

// Pixel of the plot window's control at data (x, y) under the axis ends
// drawn now.
inline QPointF pixelOf(raylen::FrmPlot& plot, double x, double y)
{
    const raylen::PlotFrame f = plot.chart.frame();
    const double perMm = plot.Lumigra1->logicalDpiX() / 25.4;
    const double xMm = f.orgX + (x - f.xMin) / (f.xMax - f.xMin) * f.width;
    const double yMm = f.orgY + (y - f.yMin) / (f.yMax - f.yMin) * f.height;
    return {xMm * perMm, plot.Lumigra1->height() - yMm * plot.Lumigra1->logicalDpiY() / 25.4};
}

// Records what the measurements write to the result window.
struct RecordingResult : raylen::ResultWriter {
    std::vector<std::string> lines; // newest first, as the window shows them
    std::string sfMessage(const std::string& strMessage) override
    {
        lines.insert(lines.begin(), strMessage);
        return {};
    }
};

// Stands in for one of the plot window's services and passes the rest on
// to those installed before it.
class ForwardingTasks : public raylen::PlotTasks {
public:
    ForwardingTasks() : next_(raylen::windowRegistry().service<raylen::PlotTasks>()) {}
    void showIdent() override { next_.showIdent(); }
    void showCalib() override { next_.showCalib(); }
    void unloadTasks() override { next_.unloadTasks(); }
    raylen::IdentKeyTarget* identKeyTarget() override { return next_.identKeyTarget(); }
    raylen::ResultWriter* showResult() override { return next_.showResult(); }
    void headResult(const std::string& fileName) override { next_.headResult(fileName); }
    void printGraph() override { next_.printGraph(); }
    void setupPrinter() override { next_.setupPrinter(); }

private:
    raylen::PlotTasks& next_;
};

class PlotHarness : public Harness {
public:
    explicit PlotHarness(const Spectrum& s, const std::string& name = "spec.txt")
    {
        path = dir.file(name);
        writeAll(path, spectrumText(s));
        openThroughDialog(path);
        plot = raylen::loadedFrmPlot();
        recording.emplace(result);
    }
    ~PlotHarness()
    {
        recording.reset();
        if (raylen::FrmPlot* p = raylen::loadedFrmPlot())
            p->dsChangeData(false);
    }

    QPointF pixelOf(double x, double y) const { return plottest::pixelOf(*plot, x, y); }
    void moveTo(QPointF at)
    {
        QMouseEvent e(QEvent::MouseMove, at, plot->Lumigra1->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
        QApplication::sendEvent(plot->Lumigra1, &e);
    }
    void moveToData(double x, double y) { moveTo(pixelOf(x, y)); }
    void click(Qt::MouseButton button)
    {
        const QPointF at(50, 50);
        QMouseEvent e(QEvent::MouseButtonPress, at, plot->Lumigra1->mapToGlobal(at), button, button, Qt::NoModifier);
        QApplication::sendEvent(plot->Lumigra1, &e);
    }
    void key(char c)
    {
        const QString text(QChar::fromLatin1(c));
        const int code = std::isalpha(static_cast<unsigned char>(c)) ? Qt::Key_A + (std::tolower(c) - 'a') : c;
        QKeyEvent e(QEvent::KeyPress, code, std::isupper(static_cast<unsigned char>(c)) ? Qt::ShiftModifier : Qt::NoModifier,
                    text);
        QApplication::sendEvent(plot->Lumigra1, &e);
    }
    // Two presses of a key with the cursor at two data points.
    void twice(char c, double x1, double y1, double x2, double y2)
    {
        moveToData(x1, y1);
        key(c);
        moveToData(x2, y2);
        key(c);
    }

    platform::com::Variant get(const raylen::ChartObject& o, platform::com::DispId id)
    {
        return platform::com::get(o.get(), id);
    }
    raylen::ChartObject object(const raylen::ChartObject& o, platform::com::DispId id)
    {
        return platform::com::objectOf(platform::com::get(o.get(), id));
    }
    std::string yTickFormat()
    {
        return *get(object(plot->chart.objAxisY, dsp::xyAxis::Tick), dsp::xyTick::LabelFormat).toText();
    }
    int16_t selection(const raylen::ChartObject& axis, bool maximum)
    {
        return *get(axis, maximum ? dsp::xyAxis::MaximumSelection : dsp::xyAxis::MinimumSelection).toI2();
    }
    std::string caption() const { return text(plot->windowTitle()); }

    TempDir dir;
    std::string path;
    raylen::FrmPlot* plot = nullptr;
    RecordingResult result;
    // The measurements write into result while this is in place; reset it to
    // let the real result window take over.
    struct ResultTasks : ForwardingTasks {
        explicit ResultTasks(RecordingResult& r) : to(r) {}
        raylen::ResultWriter* showResult() override { return &to; }
        RecordingResult& to;
    };
    struct ResultRecording {
        explicit ResultRecording(RecordingResult& r) : tasks(r), installed(tasks) {}
        ResultTasks tasks;
        raylen::ServiceOverride<raylen::PlotTasks> installed;
    };
    std::optional<ResultRecording> recording;
};

// A lamp: Gaussian lines (σ 1.5 px, 1000 high) at these pixels on a flat
// background of 10, over pixels 0 … 299.
inline Spectrum lampSpectrum(const std::vector<double>& linePixels)
{
    Spectrum s;
    for (int p = 0; p < 300; ++p) {
        double v = 10.0;
        for (double c : linePixels)
            v += 1000.0 * std::exp(-0.5 * std::pow((p - c) / 1.5, 2));
        s.x.push_back(static_cast<float>(p));
        s.y.push_back(static_cast<float>(v));
    }
    return s;
}

inline Spectrum ramp(int n, float x0, float dx, float y0, float dy)
{
    Spectrum s;
    for (int i = 0; i < n; ++i) {
        s.x.push_back(x0 + dx * i);
        s.y.push_back(y0 + dy * i);
    }
    return s;
}

} // namespace plottest
