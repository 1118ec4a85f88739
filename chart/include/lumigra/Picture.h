#pragma once
// The picture object CreatePicture returns. Through dispatch it answers the
// standard picture members (Handle, hPal, Type, Width, Height, the sizes in
// hundredths of a millimetre); a host reaches the drawing itself with
// QueryInterface(IID_ILumigraPicture).
#include <cstdint>

#include "platform/com/Dispatch.h"

class QByteArray;
class QPicture;
class QPixmap;

namespace lumigra {

inline constexpr platform::com::Guid IID_ILumigraPicture =
    platform::com::makeGuid("{DD4CC727-3918-11D0-8BF9-000000000001}");

// Standard picture members and type codes.
namespace dispid::picture {
inline constexpr platform::com::DispId Handle = 0, hPal = 2, Type = 3, Width = 4, Height = 5;
}
enum PictureType : int16_t { picTypeNone = 0, picTypeBitmap = 1, picTypeMetafile = 2, picTypeEnhMetafile = 4 };

struct ILumigraPicture : platform::com::IUnknown {
    // The image type it was made as (29, 30 or 91).
    virtual int32_t imageType() = 0;
    // The one that holds the drawing; the others are null.
    virtual const QPicture* metafile() = 0; // 29: replay with QPainter::drawPicture
    virtual const QPixmap* bitmap() = 0;    // 30
    virtual const QByteArray* svg() = 0;    // 91: an SVG document

protected:
    ~ILumigraPicture() = default;
};

} // namespace lumigra
