// identify: comparison-line identification and the dispersion file.
#include "Command.h"
#include "SpectrumInput.h"

#include "platform/BasicError.h"
#include "reduce/AutoIdentify.h"
#include "reduce/Dispersion.h"
#include "reduce/DispersionResiduals.h"
#include "reduce/IdentGrid.h"
#include "reduce/LineMeasure.h"
#include "reduce/Reidentify.h"
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
        if (!s.autoIdentify && !args.option("from"))
            return "--tolerance needs --auto or --from";
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

// The output name: -o, else the spectrum's with "dip" for its last three characters.
std::string outputName(const Arguments& args, std::string& output)
{
    if (auto o = args.option("o")) {
        output = *o;
        return {};
    }
    return raylen::dfEditDipFileName(args.positional[0], output);
}

// identify --from: the earlier solution (and optionally its lamp) in place of marks.
int runReidentify(const Arguments& args, const Settings& settings, const std::string& table)
{
    std::vector<float> compX, compY, oldX, oldY;
    std::string message = openSpectrum(args.positional[0], compX, compY);
    if (!message.empty())
        return fail(message);
    if (!raylen::dfIsFileExist(table))
        return fail("波長テーブルファイルが存在しません。");
    std::vector<float> wave;
    bool tableVacuum = false;
    message = raylen::sfOpenCompFile(table, wave, &tableVacuum);
    const bool vacuum = args.flag("vacuum") || tableVacuum;
    const std::string from = *args.option("from");
    std::vector<double> oldA;
    if (message.empty())
        message = checkCalibFile(from);
    if (message.empty())
        message = raylen::sfOpenDispFile(from, oldA);
    raylen::PreviousLamp previous;
    if (auto lamp = args.option("from-lamp"); lamp && message.empty()) {
        message = openSpectrum(*lamp, oldX, oldY);
        previous = {&oldX, &oldY};
    }
    if (!message.empty())
        return fail(message);

    raylen::IdentGrid grid;
    raylen::dsFGridInit(grid, wave);
    raylen::ReidentifySettings reidentify;
    reidentify.search = settings.search;
    reidentify.halfWidth = settings.halfWidth;
    if (args.option("order"))
        reidentify.order = settings.order;
    reidentify.tolerance = settings.tolerance;
    reidentify.automatic = settings.autoIdentify;
    reidentify.reject = settings.reject;
    raylen::LampShift found;
    std::vector<double> coefficients;
    int added = 0;
    message = raylen::sfReidentify(grid, compX, compY, oldA, previous, reidentify, found, coefficients, added);
    std::string output;
    if (message.empty())
        message = outputName(args, output);
    const int16_t order = static_cast<int16_t>(coefficients.size() - 1);
    if (message.empty())
        message = raylen::sfWriteDispFactor(output, order, coefficients, vacuum);
    if (!message.empty())
        return fail(message);

    std::cout << raylen::lampShiftText(found);
    std::string result = raylen::dispersionResultText(order, coefficients);
    std::cout << result.substr(result.find('\n') + 1) << '\n';
    if (settings.autoIdentify)
        std::cout << "added " << added << " lines\n";
    std::cout << raylen::residualTableText(raylen::dispersionResiduals(raylen::identifiedRows(grid, {}), coefficients));
    return exitOk;
}

int runIdentify(const Arguments& args)
{
    const CommandSpec* spec = &commands().at("identify");
    Settings settings;
    std::string problem = readSettings(args, settings);
    if (!problem.empty())
        return usageError(problem, spec);
    auto table = args.option("table");
    if (args.option("from-lamp") && !args.option("from"))
        return usageError("--from-lamp needs --from", spec);
    if (args.option("from")) {
        if (!table || !args.all("line").empty())
            return usageError("--from takes --table and no --line", spec);
        if (settings.measure != "gauss")
            return usageError("--from measures as gauss does; --measure must be gauss", spec);
        return runReidentify(args, settings, *table);
    }
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
    if (message.empty())
        message = outputName(args, output);
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
                       "[--reject LOW:HIGH[:ITER]] [--residuals] [--vacuum] [-o OUT.dip]\n"
                       "       raylen-cli identify COMP.txt --table LINES.dat --from OLD.dip [--from-lamp OLDCOMP.txt] "
                       "[--auto [--tolerance T]] [--order N] [--vacuum] [-o OUT.dip]",
                       "measure comparison lines, fit the dispersion and write the dispersion file "
                       "(default name: the spectrum's with \"dip\" for its last three characters)",
                       {"o", "table", "line", "measure", "search", "hw", "order", "tolerance", "reject", "from",
                        "from-lamp"},
                       {"auto", "residuals", "vacuum"}, 1, runIdentify, [](const Arguments& a) {
                           std::string output;
                           if (!a.option("o") && !a.positional.empty())
                               raylen::dfEditDipFileName(a.positional[0], output);
                           return output.empty() ? std::vector<std::string>{} : std::vector<std::string>{output};
                       }});

} // namespace

} // namespace cli
