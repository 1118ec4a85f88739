// identify: comparison-line identification and the dispersion file.
#include "Command.h"
#include "SpectrumInput.h"

#include "platform/BasicError.h"
#include "reduce/AutoIdentify.h"
#include "reduce/Dispersion.h"
#include "reduce/DispersionResiduals.h"
#include "reduce/IdentGrid.h"
#include "reduce/LineMeasure.h"
#include "reduce/WavelengthTable.h"
#include "files/FileAccess.h"

#include <cmath>
#include <iostream>

namespace cli {

namespace {

struct Settings {
    std::string measure = "gauss";
    int16_t search = 8;
    double halfWidth = 1.0;
    int16_t order = 2;
    // Added options; all off by default.
    bool autoIdentify = false;
    double tolerance = raylen::defaultAutoTolerance;
    raylen::RejectOptions reject;
    bool residuals = false;
};

// Reads --measure, --search, --hw and --order as the dialog reads its boxes.
std::string readSettings(const Arguments& args, Settings& s)
{
    s.measure = args.option("measure").value_or("gauss");
    if (s.measure != "peak" && s.measure != "gauss" && s.measure != "none")
        return "--measure takes peak, gauss or none";
    double value = 0;
    try {
        if (auto text = args.option("search")) {
            if (!parseDouble(*text, value))
                return "--search takes a number";
            s.search = raylen::searchWidthFromText(*text);
        }
        if (auto text = args.option("hw")) {
            if (!parseDouble(*text, value))
                return "--hw takes a number";
            s.halfWidth = raylen::halfWidthFromText(*text);
        }
        if (auto text = args.option("order")) {
            if (!parseDouble(*text, value))
                return "--order takes a number";
            s.order = raylen::orderFromText(*text);
        }
    } catch (const platform::BasicError&) {
        return "--search and --order take numbers within 16 bits";
    }
    s.autoIdentify = args.flag("auto");
    if (auto text = args.option("tolerance")) {
        if (!s.autoIdentify)
            return "--tolerance needs --auto";
        if (!parseDouble(*text, s.tolerance) || !(s.tolerance > 0))
            return "--tolerance takes a positive number of pixels";
    }
    if (auto text = args.option("reject"); text && !raylen::parseRejectOptions(*text, s.reject))
        return "--reject takes LOW:HIGH[:ITER]";
    if (s.autoIdentify && s.measure != "gauss")
        return "--auto measures as gauss does; --measure must be gauss";
    s.residuals = s.autoIdentify || s.reject.enabled() || args.flag("residuals");
    return {};
}

int runIdentify(const Arguments& args)
{
    const CommandSpec* spec = &commands().at("identify");
    Settings settings;
    std::string problem = readSettings(args, settings);
    if (!problem.empty())
        return usageError(problem, spec);
    auto table = args.option("table");
    std::vector<std::string> lines = args.all("line");
    if (!table || lines.empty())
        return usageError("--table and at least one --line are required", spec);
    std::vector<std::pair<long, double>> marks;
    for (const std::string& line : lines) {
        double row = 0, pixel = 0;
        if (!parseRealRange(line, row, pixel) || row < 1 || row > 2147483647.0 || row != std::floor(row))
            return usageError("--line takes ROW:PIXEL with a table row from 1", spec);
        marks.emplace_back(static_cast<long>(row), pixel);
    }

    std::vector<float> compX, compY;
    std::string message = openSpectrum(args.positional[0], compX, compY);
    if (!message.empty())
        return fail(message);
    if (!raylen::dfIsFileExist(*table))
        return fail("波長テーブルファイルが存在しません。");
    std::vector<float> wave;
    bool vacuum = args.flag("vacuum");
    bool tableVacuum = false;
    message = raylen::sfOpenCompFile(*table, wave, &tableVacuum);
    vacuum = vacuum || tableVacuum;
    if (!message.empty())
        return fail(message);

    raylen::IdentGrid grid;
    raylen::dsFGridInit(grid, wave);
    raylen::NullSpectrumView plotter;
    for (const auto& [row, pixel] : marks) {
        if (row >= grid.Rows())
            return usageError("--line row " + std::to_string(row) + " is beyond the table's " +
                                  std::to_string(grid.Rows() - 1) + " lines",
                              spec);
        grid.setRow(static_cast<int>(row));
        std::string cell = grid.text(grid.Row(), raylen::IdentGrid::colPixel);
        const float cursor = static_cast<float>(pixel);
        if (settings.measure == "peak")
            message = raylen::sfSearchPeakPos(cursor, compX, compY, settings.search, plotter, cell);
        else if (settings.measure == "gauss")
            message = raylen::sfSearchGaussPeakPos(cursor, compX, compY, settings.search, settings.halfWidth, plotter,
                                                   cell);
        else
            cell = raylen::cursorPixelText(cursor);
        if (!message.empty())
            return fail(message);
        grid.setText(grid.Row(), raylen::IdentGrid::colPixel, cell);
    }

    std::vector<float> sngWave, sngPix;
    std::vector<double> coefficients;
    std::vector<raylen::ResidualRow> rows;
    int added = 0;
    if (settings.autoIdentify) {
        raylen::AutoIdentifySettings automatic{settings.search, settings.halfWidth, settings.order,
                                               settings.tolerance, settings.reject};
        message = raylen::sfAutoIdentify(grid, {}, compX, compY, automatic, coefficients, added);
    }
    if (message.empty() && settings.residuals) {
        rows = raylen::identifiedRows(grid, {});
        message = raylen::sfDispersionFitRows(rows, settings.order, settings.reject, coefficients);
    } else if (message.empty()) {
        message = raylen::sfInputGridData(grid, sngWave, sngPix);
        if (message.empty())
            message = raylen::sfDispersionFit(sngPix, sngWave, settings.order, coefficients);
    }
    std::string output;
    if (message.empty()) {
        if (auto o = args.option("o"))
            output = *o;
        else
            message = raylen::dfEditDipFileName(args.positional[0], output);
    }
    if (message.empty())
        message = raylen::sfWriteDispFactor(output, settings.order, coefficients, vacuum);
    if (!message.empty())
        return fail(message);

    for (const auto& [row, pixel] : marks)
        std::cout << row << ' ' << grid.text(static_cast<int>(row), raylen::IdentGrid::colWave) << ' '
                  << grid.text(static_cast<int>(row), raylen::IdentGrid::colPixel) << '\n';
    std::string result = raylen::dispersionResultText(settings.order, coefficients);
    std::cout << result.substr(result.find('\n') + 1) << '\n';
    if (settings.residuals) {
        if (settings.autoIdentify)
            std::cout << "added " << added << " lines\n";
        std::cout << raylen::residualTableText(raylen::dispersionResiduals(rows, coefficients));
    }
    return exitOk;
}

Registration identify({"identify",
                       "identify COMP.txt --table LINES.dat --line ROW:PIXEL [--line ...] "
                       "[--measure peak|gauss|none] [--search N] [--hw W] [--order N] [--auto [--tolerance T]] "
                       "[--reject LOW:HIGH[:ITER]] [--residuals] [--vacuum] [-o OUT.dip]",
                       "measure comparison lines, fit the dispersion and write the dispersion file "
                       "(default name: the spectrum's with \"dip\" for its last three characters)",
                       {"o", "table", "line", "measure", "search", "hw", "order", "tolerance", "reject"},
                       {"auto", "residuals", "vacuum"}, 1, runIdentify, [](const Arguments& a) {
                           std::string output;
                           if (!a.option("o") && !a.positional.empty())
                               raylen::dfEditDipFileName(a.positional[0], output);
                           return output.empty() ? std::vector<std::string>{} : std::vector<std::string>{output};
                       }});

} // namespace

} // namespace cli
