#include "reduce/ParamFile.h"

#include "platform/BasicError.h"
#include "files/FileAccess.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

namespace raylen {

static_assert(std::endian::native == std::endian::little, "the parameter file is little-endian");

namespace {

// Moves the members one after another without padding, in file order.
template <class Bytes>
class RecordCursor {
public:
    explicit RecordCursor(Bytes& bytes) : bytes_(bytes) {}

    template <class T>
    void put(const T& value)
    {
        std::memcpy(bytes_.data() + position_, &value, sizeof value);
        position_ += sizeof value;
    }
    template <class T>
    void get(T& value)
    {
        std::memcpy(&value, bytes_.data() + position_, sizeof value);
        position_ += sizeof value;
    }

private:
    Bytes& bytes_;
    size_t position_ = 0;
};

// One list of members for both directions keeps reading and writing in step.
template <class Record, class Visit>
void forEachMember(Record& p, Visit&& visit)
{
    visit(p.intScanWidth);
    visit(p.intTraceOrder);
    visit(p.blnSkySub);
    visit(p.intSkyStart1);
    visit(p.intSkyEnd1);
    visit(p.intSkyFitOrder);
    visit(p.intReserved);
    for (auto& coefficient : p.dblTraceCoef)
        visit(coefficient);
    visit(p.lngStartX);
    visit(p.lngEndX);
    visit(p.lngStartY);
    visit(p.lngEndY);
    visit(p.intSkyStart2);
    visit(p.intSkyEnd2);
}

} // namespace

PrmBytes encodeScanParam(const ScanParam& typScanParam)
{
    PrmBytes bytes{};
    RecordCursor cursor(bytes);
    forEachMember(typScanParam, [&](const auto& member) { cursor.put(member); });
    return bytes;
}

ScanParam decodeScanParam(const PrmBytes& bytes)
{
    ScanParam record;
    RecordCursor cursor(bytes);
    forEachMember(record, [&](auto& member) { cursor.get(member); });
    return record;
}

std::string prmFileName(const std::string& spectrumFileName)
{
    if (spectrumFileName.size() < 3)
        platform::raise(platform::errInvalidCall);
    return spectrumFileName.substr(0, spectrumFileName.size() - 3) + "prm";
}

std::string sfWritePrmFile(const std::string& strFileName, const ScanParam& typScanParam)
{
    return platform::trapErrors("sfWritePrmFile", [&] {
        const PrmBytes bytes = encodeScanParam(typScanParam);
        writeFileBytes(prmFileName(strFileName), bytes.data(), bytes.size());
    });
}

void readPrmFile(const std::string& strPath, ScanParam& typScanParam)
{
    const std::string data = readFilePrefix(strPath, kPrmFileBytes);
    if (data.size() < kPrmFileBytes)
        platform::raise(platform::errInputPastEnd);
    PrmBytes bytes{};
    std::memcpy(bytes.data(), data.data(), kPrmFileBytes);
    typScanParam = decodeScanParam(bytes);
}

std::string sfCheckParam(const ScanParam& typScanParam, const FitsInfo& typFitsInfo)
{
    const ScanParam& p = typScanParam;
    if (typFitsInfo.NAXIS1 < p.lngEndX || typFitsInfo.NAXIS2 < p.lngEndY)
        return kMsgRefUnsuitable;
    // The other ends too: a damaged file must not make the scan allocate a
    // column for every number down to a start far below the image.
    if (p.lngStartX < 0 || p.lngStartX > p.lngEndX || p.lngStartY < 0 || p.lngStartY > p.lngEndY)
        return kMsgRefUnsuitable;
    // Every record the program keeps has its sky offsets in ascending order.
    if (!(p.intSkyStart1 <= p.intSkyEnd1 && p.intSkyEnd1 <= p.intSkyStart2 && p.intSkyStart2 <= p.intSkyEnd2))
        return kMsgRefUnsuitable;
    // The coefficients the trace uses (an order the record cannot hold keeps
    // its run-time error at the scan).
    for (int k = 0; k <= std::min<int>(p.intTraceOrder, kMaxTraceOrder); ++k)
        if (!std::isfinite(p.dblTraceCoef[static_cast<size_t>(k)]))
            return kMsgRefUnsuitable;
    return {};
}

} // namespace raylen
