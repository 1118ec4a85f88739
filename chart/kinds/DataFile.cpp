// Date rounding for MaxTime/MinTime and the CSV stand-in for the
// spreadsheet import of GetDataFromFile.
#include <cmath>
#include <fstream>
#include <sstream>

#include "kinds/Data.h"
#include "platform/com/Variant.h"

namespace lumigra {

using namespace platform::com;

namespace {

// Days from 1970-01-01 of a civil date, and back (proleptic Gregorian).
int64_t daysFromCivil(int64_t y, int64_t m, int64_t d)
{
    y -= m <= 2;
    int64_t era = (y >= 0 ? y : y - 399) / 400;
    int64_t yoe = y - era * 400;
    int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void civilFromDays(int64_t z, int64_t& y, int64_t& m, int64_t& d)
{
    z += 719468;
    int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    int64_t doe = z - era * 146097;
    int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    y = yoe + era * 400;
    int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    int64_t mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp + (mp < 10 ? 3 : -9);
    y += m <= 2;
}

const int64_t oleEpoch = daysFromCivil(1899, 12, 30);

double fromCivil(int64_t y, int64_t m, int64_t d) { return static_cast<double>(daysFromCivil(y, m, d) - oleEpoch); }

} // namespace

double roundDate(double date, int16_t unit, bool up)
{
    if (!std::isfinite(date) || std::fabs(date) > 3e6)
        return date;
    double seconds;
    if (unit & lgYear || unit & lgMonth) {
        int64_t day = static_cast<int64_t>(std::floor(date));
        int64_t y, m, d;
        civilFromDays(day + oleEpoch, y, m, d);
        double start = (unit & lgYear) ? fromCivil(y, 1, 1) : fromCivil(y, m, 1);
        if (!up || start == date)
            return start;
        if (unit & lgYear)
            return fromCivil(y + 1, 1, 1);
        return m == 12 ? fromCivil(y + 1, 1, 1) : fromCivil(y, m + 1, 1);
    }
    if (unit & lgDay)
        seconds = 86400;
    else if (unit & lgHour)
        seconds = 3600;
    else if (unit & lgMinute)
        seconds = 60;
    else if (unit & lgSecond)
        seconds = 1;
    else
        return date;
    double steps = date * 86400.0 / seconds;
    // A value within a millisecond of a whole unit counts as on it.
    double tolerance = 0.001 / seconds;
    double whole = up ? std::ceil(steps - tolerance) : std::floor(steps + tolerance);
    return whole * seconds / 86400.0;
}

namespace {

std::vector<std::string> splitCsvLine(const std::string& line)
{
    std::vector<std::string> cells;
    std::string cell;
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                cell += '"';
                ++i;
            } else if (c == '"')
                quoted = false;
            else
                cell += c;
        } else if (c == '"')
            quoted = true;
        else if (c == ',') {
            cells.push_back(cell);
            cell.clear();
        } else
            cell += c;
    }
    cells.push_back(cell);
    return cells;
}

} // namespace

bool LgData::loadFromFile(int16_t container, int32_t index)
{
    // The spreadsheet is a CSV file with a single sheet.
    if (container != lgContainerExcel || index != 1)
        raiseError(lgErrBadArgument);
    std::ifstream in(dataFile_, std::ios::binary);
    if (!in)
        return false;
    std::vector<std::vector<std::string>> columns;
    std::string line;
    size_t row = 0;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        auto cells = splitCsvLine(line);
        if (cells.size() > columns.size())
            columns.resize(cells.size());
        for (size_t k = 0; k < cells.size(); ++k) {
            columns[k].resize(row + 1);
            columns[k][row] = cells[k];
        }
        ++row;
    }
    if (columns.size() > 32767)
        raiseError(lgErrBadArgument);
    if (static_cast<int32_t>(columns.size()) > dataSize())
        setDataSize(static_cast<int32_t>(columns.size()));
    for (size_t k = 0; k < columns.size(); ++k) {
        auto& cells = columns[k];
        while (!cells.empty() && cells.back().empty())
            cells.pop_back();
        bool numeric = true;
        for (auto& c : cells)
            numeric = numeric && Variant::fromString(c).toDouble() && !c.empty();
        // Column k fills slot k; rows count from 1 as in a sheet.
        Variant array = Variant::makeArray(numeric ? VT_R8 : VT_BSTR, 1, static_cast<int32_t>(cells.size()));
        for (size_t r = 0; r < cells.size(); ++r)
            array.at(r) = numeric ? Variant::fromR8(*Variant::fromString(cells[r]).toDouble())
                                  : Variant::fromString(cells[r]);
        DataSlot& s = slots_[k + 1];
        s.array = std::move(array);
        s.dataChanged();
    }
    dataChanged();
    return true;
}

} // namespace lumigra
