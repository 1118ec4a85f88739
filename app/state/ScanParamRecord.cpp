#include "state/ScanParamRecord.h"

namespace raylen {

void dsInitScanParam(ScanParam& typScanParam)
{
    typScanParam.intScanWidth = 6;
    typScanParam.intTraceOrder = 2;
    typScanParam.blnSkySub = -1;
    typScanParam.intSkyStart1 = -20;
    typScanParam.intSkyEnd1 = -10;
    typScanParam.intSkyFitOrder = 1;
    typScanParam.intSkyStart2 = 10;
    typScanParam.intSkyEnd2 = 20;
}

} // namespace raylen
