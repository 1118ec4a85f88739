#pragma once
// A plot window stand-in that remembers what the tasks drew.
#include "view/SpectrumView.h"

#include <string>
#include <vector>

struct RecordingPlotter : raylen::NullSpectrumView {
    struct Series {
        std::vector<float> x, y;
    };
    Series line, clone, symbols, cloneSymbols, rejected;
    std::vector<std::string> calls;
    std::string failWith; // returned by every plotting call when set

    void Show() override { calls.push_back("Show"); }
    std::string sfPlotLin(const std::vector<float>& x, const std::vector<float>& y) override
    {
        return record("sfPlotLin", line, x, y);
    }
    std::string sfPlotLinClone(const std::vector<float>& x, const std::vector<float>& y) override
    {
        return record("sfPlotLinClone", clone, x, y);
    }
    std::string sfPlotSymClone(const std::vector<float>& x, const std::vector<float>& y) override
    {
        return record("sfPlotSymClone", cloneSymbols, x, y);
    }
    std::string sfPlotSym(const std::vector<float>& x, const std::vector<float>& y) override
    {
        return record("sfPlotSym", symbols, x, y);
    }
    std::string sfPlotRejected(const std::vector<float>& x, const std::vector<float>& y) override
    {
        return record("sfPlotRejected", rejected, x, y);
    }
    void dsErasePlotClone() override { calls.push_back("dsErasePlotClone"); }
    void dsAutoScale() override { calls.push_back("dsAutoScale"); }
    void setBusy(bool busy) override { calls.push_back(busy ? "busy" : "idle"); }

private:
    std::string record(const char* name, Series& s, const std::vector<float>& x, const std::vector<float>& y)
    {
        calls.push_back(name);
        s.x = x;
        s.y = y;
        return failWith;
    }
};
