// gauss and eqwidth: keys k and e pressed at two marks, on the plot window's
// routines; the result lines are printed top first, as the result window
// shows them.
#include "Command.h"
#include "SpectrumInput.h"
#include "SpectrumOutput.h"

#include "plot/EqWidth.h"
#include "plot/GaussFit.h"

#include <iostream>

namespace cli {

namespace {

struct CollectedLines : raylen::ResultWriter {
    std::vector<std::string> written;
    std::string sfMessage(const std::string& strMessage) override
    {
        written.push_back(strMessage);
        return {};
    }
};

using Measurement = std::string (*)(const std::vector<float>&, const std::vector<float>&, raylen::MarkedPoints,
                                    raylen::MarkedPoints, raylen::ResultWriter&, raylen::SpectrumView&,
                                    const std::vector<float>*);

int runMeasurement(const Arguments& args, const std::string& name, Measurement measure)
{
    const CommandSpec* spec = &commands().at(name);
    const std::vector<std::string> marks = args.all("mark");
    if (marks.size() != 2)
        return usageError("--mark must be given twice", spec);
    raylen::MarkedPoints x{}, y{};
    for (size_t i = 0; i < 2; ++i) {
        double mx = 0.0, my = 0.0;
        if (!parseRealPair(marks[i], mx, my))
            return usageError("--mark takes X,Y: " + marks[i], spec);
        x[i] = static_cast<float>(mx);
        y[i] = static_cast<float>(my);
    }
    raylen::Spectrum spectrum;
    std::string message = openAnySpectrum(args.positional[0], spectrum);
    CollectedLines result;
    raylen::NullSpectrumView overlay; // no chart here: the fitted curve is not drawn
    if (message.empty())
        message = measure(spectrum.x, spectrum.y, x, y, result, overlay,
                          spectrum.hasUncertainty() ? &spectrum.sigma : nullptr);
    if (!message.empty())
        return fail(message);
    for (auto line = result.written.rbegin(); line != result.written.rend(); ++line)
        std::cout << *line << '\n';
    return exitOk;
}

int runGauss(const Arguments& args) { return runMeasurement(args, "gauss", raylen::sfGaussFitPro); }
int runEqWidth(const Arguments& args) { return runMeasurement(args, "eqwidth", raylen::sfEqWidthPro); }

Registration gauss({"gauss", "gauss SPEC.txt --mark X1,Y1 --mark X2,Y2",
                    "Gaussian line fit between two marks on the continuum (key k twice)", {"mark"}, {}, 1, runGauss});
Registration eqwidth({"eqwidth", "eqwidth SPEC.txt --mark X1,Y1 --mark X2,Y2",
                      "equivalent width between two marks on the continuum (key e twice)", {"mark"}, {}, 1,
                      runEqWidth});

} // namespace

} // namespace cli
