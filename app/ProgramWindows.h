#pragma once
// The one owner of the program's windows and their wiring: made once after
// the application object and before the first window, it must outlive
// every window, since the windows find each other through the registry it
// installs and the task dialogs draw on the view it holds. Shared by the
// program, the screenshot taker and the window tests.
#include "image/gui/FrmImplot.h"
#include "image/gui/ImageWindowLink.h"
#include "plot/gui/FrmPlot.h"
#include "plot/gui/FrmResult.h"
#include "plot/gui/PlotTaskLinks.h"
#include "plot/gui/PlotWindowServices.h"
#include "plot/gui/PlotPrint.h"
#include "plot/gui/PlotWindowView.h"
#include "reduce/gui/FrmApall.h"
#include "reduce/gui/FrmCalib.h"
#include "reduce/gui/FrmIdent.h"
#include "shell/gui/DocumentLinks.h"
#include "shell/gui/Fonts.h"
#include "shell/gui/ToolBarIcons.h"
#include "shell/gui/WindowRegistry.h"

#include <QApplication>

#include <memory>

namespace raylen {

class ProgramWindows {
public:
    ProgramWindows() : plotTasks_(plotView_), imageDialogs_(plotView_)
    {
        QApplication::setApplicationName("Raylen");
        installFontSubstitutions();
        QApplication::setWindowIcon(programIcon());
        registry_.plotWindow = plotLink_.get();
        registry_.imageWindow = &imageWindow_;
        registry_.setService<PlotTasks>(&plotTasks_);
        registry_.setService<ImageDialogs>(&imageDialogs_);
    }
    ProgramWindows(const ProgramWindows&) = delete;
    ProgramWindows& operator=(const ProgramWindows&) = delete;

    // The default plot window as the view the core and the dialogs draw on.
    SpectrumView& plotView() { return plotView_; }

private:
    // What the plot window opens and serves; closing it unloads the
    // dialogs that draw on it.
    class ProgramPlotTasks final : public PlotTasks {
    public:
        explicit ProgramPlotTasks(SpectrumView& view) : view_(view) {}
        void showIdent() override { showFrmIdent(view_); }
        void showCalib() override { showFrmCalib(view_); }
        void unloadTasks() override
        {
            unloadFrmIdent();
            unloadFrmCalib();
            unloadFrmApall();
        }
        IdentKeyTarget* identKeyTarget() override { return FrmIdent::loaded(); }
        ResultWriter* showResult() override { return showFrmResult(); }
        void headResult(const std::string& fileName) override
        {
            if (FrmResult* result = frmResult())
                result->headResult(fileName);
        }
        void printGraph() override { printPlotWindow(); }
        void setupPrinter() override { (void)PrintDialog(0); }

    private:
        SpectrumView& view_;
    };

    // What the image window opens; closing it unloads the dialogs that
    // work on its image.
    class ProgramImageDialogs final : public ImageDialogs {
    public:
        explicit ProgramImageDialogs(SpectrumView& view) : view_(view) {}
        void showImageCut() override { showFrmImplot(plotImageCut); }
        void showScan() override { showFrmApall(view_); }
        void unloadAll() override
        {
            unloadFrmImplot();
            unloadFrmApall();
        }

    private:
        SpectrumView& view_;
    };

    // Declared first: installed before any window can look, gone last.
    WindowRegistry registry_;
    RegistryInstallation installation_{registry_};
    PlotWindowView plotView_;
    std::unique_ptr<PlotWindowLink> plotLink_ = makePlotWindowLink();
    ImageWindow imageWindow_;
    ProgramPlotTasks plotTasks_;
    ProgramImageDialogs imageDialogs_;
};

} // namespace raylen
