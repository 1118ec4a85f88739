#pragma once
// Dark and flat correction of an image: a dark frame is subtracted, a flat
// frame normalised to a mean of 1 divides it, and a COMMENT card names each
// frame used. Shared by the dark/flat dialog and raylen-cli.
#include "fits/FitsHeader.h"
#include "numeric/Array2D.h"

#include <string>

namespace raylen {

// One correction frame as read from its file.
struct CorrectionFrame {
    SingleImage image;
    HeaderCards header;
    FitsInfo info;
};

// Reads one correction frame: it must exist and be a FITS image.
std::string sfOpenFileDFPro(const std::string& strFile, SingleImage& image, HeaderCards& header, FitsInfo& info);

// The size check, dark first.
std::string sfCheckNAXIS(const FitsInfo& typFitsInfo, bool blnDark, const FitsInfo& dark, bool blnFlat,
                         const FitsInfo& flat);

// flat ← flat / mean(flat); image ← image / flat (0 where the flat is 0).
// The mean is taken over the flat's finite pixels.
std::string sfFlatFielding(SingleImage& sngImage, SingleImage& flat);

// How many NaN or infinite pixels the frames read held.
struct FrameNonFinite {
    size_t dark = 0;
    size_t flat = 0;
};

// The whole correction of the open image. Every frame is read and checked and
// the flat normalised before the image or its header is touched, so a
// refused correction leaves both as they were. Dark always before flat.
std::string sfDarkFlatCorrect(SingleImage& sngImage, const FitsInfo& typFitsInfo, HeaderCards& strHeader,
                              bool blnDark, const std::string& strDarkFileName, bool blnFlat,
                              const std::string& strFlatFileName, FrameNonFinite* nonFinite = nullptr);

} // namespace raylen
