#pragma once
// The picture object of CreatePicture: a standard picture through dispatch
// (Handle, hPal, Type, Width, Height) around a rendered chart picture.
#include "picture/ChartPicture.h"
#include "platform/com/Dispatch.h"

namespace lumigra {

// A new object holding the picture (one reference for the caller).
platform::com::ComPtr<platform::com::IDispatch> newPictureObject(ChartPicture picture);

} // namespace lumigra
