#pragma once
// Saving the open image as FITS or as the displayed bitmap, and the question
// to save a changed image before it is closed or replaced.
#include "fits/FitsHeader.h"
#include "numeric/Array2D.h"

#include <string>

namespace raylen {

extern const char* const saveImageFilter;

// Save dialog (with the overwrite question) and save; blnCancel true when
// the user cancelled.
std::string sfSaveImgSngPro(std::string strFile, HeaderCards& strHeader, const SingleImage& sngImage,
                            bool& blnCancel);

// "変更されています. 保存しますか？" for a changed image; blnCancel true stops
// the close or the open that asked.
void dfUnloadForm(bool& blnCancel);

} // namespace raylen
