#include "reduce/CalibTables.h"

#include "platform/BasicError.h"
#include "reduce/TextFields.h"

#include <algorithm>
#include <cmath>

namespace raylen {

namespace {

constexpr const char* unitPrefix = "# unit ";

bool isComment(std::string_view line)
{
    const size_t first = line.find_first_not_of(" \t");
    return first == std::string_view::npos || line[first] == '#';
}

// Rows of 2..maxColumns numbers; comment and blank lines skipped.
std::string readColumns(const std::string& path, size_t maxColumns, std::vector<std::vector<double>>& rows,
                        std::string& text)
{
    text = readTextFile(path);
    rows.clear();
    for (std::string_view line : splitLines(text)) {
        if (isComment(line))
            continue;
        NumberFields fields(line);
        std::vector<double> row;
        while (!fields.atEnd() && row.size() <= maxColumns)
            row.push_back(fields.next());
        if (row.size() < 2 || row.size() > maxColumns)
            return "表の行は波長と値の数値で書いてください: " + std::string(line);
        for (double v : row)
            if (!std::isfinite(v))
                return "表に数値でない値があります: " + std::string(line);
        if (!rows.empty() && !(row[0] > rows.back()[0]))
            return "表の波長が昇順ではありません: " + std::string(line);
        rows.push_back(std::move(row));
    }
    if (rows.size() < 2)
        return "表のデータ点が2点以上必要です";
    return {};
}

} // namespace

std::string unitLineName(const std::string& text)
{
    for (std::string_view line : splitLines(text)) {
        if (!isComment(line))
            break;
        if (line.rfind(unitPrefix, 0) != 0)
            continue;
        std::string_view name = line.substr(std::string_view(unitPrefix).size());
        const size_t first = name.find_first_not_of(" \t"), last = name.find_last_not_of(" \t");
        return first == std::string_view::npos ? std::string() : std::string(name.substr(first, last - first + 1));
    }
    return {};
}

std::string sfReadStandardTable(const std::string& path, StandardTable& table)
{
    std::string message;
    std::string trapped = platform::trapErrors("sfReadStandardTable", [&] {
        std::vector<std::vector<double>> rows;
        std::string text;
        message = readColumns(path, 3, rows, text);
        if (!message.empty())
            return;
        StandardTable read;
        read.unit = unitLineName(text);
        for (const auto& row : rows) {
            read.wave.push_back(row[0]);
            read.flux.push_back(row[1]);
            read.band.push_back(row.size() > 2 ? std::max(row[2], 0.0) : 0.0);
        }
        table = std::move(read);
    });
    return trapped.empty() ? message : trapped;
}

std::string sfReadExtinctionTable(const std::string& path, ExtinctionTable& table)
{
    std::string message;
    std::string trapped = platform::trapErrors("sfReadExtinctionTable", [&] {
        std::vector<std::vector<double>> rows;
        std::string text;
        message = readColumns(path, 2, rows, text);
        if (!message.empty())
            return;
        ExtinctionTable read;
        for (const auto& row : rows) {
            read.wave.push_back(row[0]);
            read.mag.push_back(row[1]);
        }
        table = std::move(read);
    });
    return trapped.empty() ? message : trapped;
}

double extinctionAt(const ExtinctionTable& table, double lambda)
{
    if (table.wave.empty())
        return 0.0;
    if (lambda <= table.wave.front())
        return table.mag.front();
    if (lambda >= table.wave.back())
        return table.mag.back();
    const size_t k = static_cast<size_t>(std::upper_bound(table.wave.begin(), table.wave.end(), lambda) -
                                         table.wave.begin());
    const double t = (lambda - table.wave[k - 1]) / (table.wave[k] - table.wave[k - 1]);
    return table.mag[k - 1] + t * (table.mag[k] - table.mag[k - 1]);
}

double atmosphericTransmission(const ExtinctionTable& table, double lambda, double airmass)
{
    constexpr double magnitudeScale = -0.4;
    return std::pow(10.0, magnitudeScale * extinctionAt(table, lambda) * airmass);
}

} // namespace raylen
