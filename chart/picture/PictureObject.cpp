#include "picture/PictureObject.h"

#include <atomic>
#include <cmath>

#include "kinds/Resources.h"
#include "lumigra/Picture.h"
#include "model/DispatchObject.h"

namespace lumigra {

using namespace platform::com;

namespace {

// Handles are unique in the process and never 0, which means no picture.
std::atomic<int32_t> lastHandle{0};

int32_t nextHandle()
{
    int32_t h = ++lastHandle;
    if (h <= 0) { // after two thousand million pictures
        lastHandle = 1;
        h = 1;
    }
    return h;
}

int16_t standardType(int imageType)
{
    switch (imageType) {
    case lgImageBitmap: return picTypeBitmap;
    case lgImageMetaFile: return picTypeMetafile;
    case lgImageEnhMetaFile: return picTypeEnhMetafile;
    default: return picTypeNone;
    }
}

// The picture's extent in hundredths of a millimetre.
int32_t hundredths(double mm) { return static_cast<int32_t>(std::lround(mm * 100)); }

class PictureObject final : public DispatchObject, public ILumigraPicture {
public:
    explicit PictureObject(ChartPicture p) : picture_(std::move(p)), handle_(nextHandle()) {}

    // ILumigraPicture reaches the same reference count.
    HRESULT QueryInterface(const Guid& iid, void** object) override { return DispatchObject::QueryInterface(iid, object); }
    uint32_t AddRef() override { return DispatchObject::AddRef(); }
    uint32_t Release() override { return DispatchObject::Release(); }

    const MemberTable& members() const override;
    std::string errorSource() const override { return "Picture"; }
    bool raisesReadOnly() const override { return false; }

    int32_t imageType() override { return picture_.type; }
    const QPicture* metafile() override { return picture_.type == lgImageMetaFile ? &picture_.picture : nullptr; }
    const QPixmap* bitmap() override { return picture_.type == lgImageBitmap ? &picture_.pixmap : nullptr; }
    const QByteArray* svg() override { return picture_.type == lgImageEnhMetaFile ? &picture_.svg : nullptr; }

    ChartPicture picture_;
    int32_t handle_;

private:
    ~PictureObject() override = default;
    void* otherInterface(const Guid& iid) override
    {
        return iid == IID_ILumigraPicture ? static_cast<ILumigraPicture*>(this) : nullptr;
    }
};

template <class F>
Member readOnly(const char* name, DispId id, VarType type, F)
{
    return Member{name, id, MemberKind::Property, type, true,
                  [](Dispatchable& d, Args&) { return F{}(static_cast<PictureObject&>(d)); }, nullptr};
}

const MemberTable& PictureObject::members() const
{
    namespace id = dispid::picture;
    using P = PictureObject;
    static const std::vector<Member> own{
        readOnly("Handle", id::Handle, platform::com::VT_I4, [](P& p) { return Variant::fromI4(p.handle_); }),
        readOnly("hPal", id::hPal, platform::com::VT_I4, [](P&) { return Variant::fromI4(0); }),
        readOnly("Type", id::Type, platform::com::VT_I2,
                 [](P& p) { return Variant::fromI2(standardType(p.picture_.type)); }),
        readOnly("Width", id::Width, platform::com::VT_I4,
                 [](P& p) { return Variant::fromI4(hundredths(p.picture_.widthMm)); }),
        readOnly("Height", id::Height, platform::com::VT_I4,
                 [](P& p) { return Variant::fromI4(hundredths(p.picture_.heightMm)); }),
    };
    static const MemberTable table{&own};
    return table;
}

} // namespace

ComPtr<IDispatch> newPictureObject(ChartPicture picture)
{
    return ComPtr<IDispatch>::attach(new PictureObject(std::move(picture)));
}

} // namespace lumigra
