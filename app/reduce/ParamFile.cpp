#include "reduce/ParamFile.h"

#include "platform/BasicError.h"
#include "files/FileAccess.h"

#include <bit>
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
    if (typFitsInfo.NAXIS1 < typScanParam.lngEndX || typFitsInfo.NAXIS2 < typScanParam.lngEndY)
        return kMsgRefUnsuitable;
    return {};
}

} // namespace raylen
