#include "control/ControlPersist.h"

#include <atomic>
#include <cstdio>
#include <exception>
#include <new>

#include "control/LumigraCtrl.h"
#include "document/ChartDraft.h"
#include "kinds/Resources.h"
#include "lumigra/Persist.h"
#include "model/Collection.h"
#include "model/RefCounted.h"
#include "storage/ChartStorage.h"

namespace lumigra {

using namespace platform::com;

namespace {

std::vector<uint8_t> u32Bytes(uint32_t v)
{
    return {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
            static_cast<uint8_t>(v >> 24)};
}

std::optional<uint32_t> u32Of(const std::vector<uint8_t>* bytes)
{
    if (!bytes || bytes->size() != 4)
        return std::nullopt;
    const auto& b = *bytes;
    return b[0] | b[1] << 8 | b[2] << 16 | static_cast<uint32_t>(b[3]) << 24;
}

std::string holderName(int32_t position) { return "Picture" + std::to_string(position); }

void loadPictures(const PropertyBag& bag, ChartDocument& chart)
{
    if (const auto* back = bag.find("BackPicture"))
        static_cast<LgPictureHolder*>(chart.backPicture_.get())->setImageRaw(pictureFromStream(*back));
    if (LgCollection* holders = chart.collection(cidPictureHolders))
        for (int32_t i = 0; i < holders->count(); ++i)
            if (const auto* picture = bag.find(holderName(i)))
                static_cast<LgPictureHolder*>(holders->at(i))->setImageRaw(pictureFromStream(*picture));
}

class ControlPersist final : public ILumigraPersist, public RefCounted<ControlPersist> {
public:
    explicit ControlPersist(LumigraCtrl& control) : keep_(ComPtr<LumigraCtrl>::share(&control)), control_(control) {}

    HRESULT QueryInterface(const Guid& iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (iid == IID_ILumigraPersist) {
            AddRef();
            *object = static_cast<ILumigraPersist*>(this);
            return S_OK;
        }
        return control_.QueryInterface(iid, object);
    }
    uint32_t AddRef() override { return addRef(); }
    uint32_t Release() override { return release(); }

    HRESULT saveProperties(PropertyBag& bag) override
    {
        try {
            bag.put("_Version", u32Bytes(static_cast<uint32_t>(ExchangeVersionMajor) << 16 | ExchangeVersionMinor));
            bag.put("BackColor", u32Bytes(static_cast<uint32_t>(control_.backColor_)));
            std::vector<uint8_t> text = control_.saveObjectText();
            if (text.empty())
                return E_FAIL; // its message has been shown
            bag.put("Contents", std::move(text));
            auto* back = static_cast<LgPictureHolder*>(control_.backPicture_.get());
            bag.put("BackPicture", pictureStream(back->image()));
            if (LgCollection* holders = control_.collection(cidPictureHolders))
                for (int32_t i = 0; i < holders->count(); ++i)
                    bag.put(holderName(i), pictureStream(static_cast<LgPictureHolder*>(holders->at(i))->image()));
            return S_OK;
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
    }

    HRESULT loadProperties(const PropertyBag& bag) override
    {
        HRESULT status = S_OK;
        try {
            version_ = static_cast<int32_t>(u32Of(bag.find("_Version")).value_or(0));
            if (auto colour = u32Of(bag.find("BackColor")))
                control_.backColor_ = static_cast<int32_t>(*colour);
            if (const auto* text = bag.find("Contents")) {
                // A text that cannot be read leaves the chart as it was.
                ChartDraft draft(control_);
                if (draft.readObjectText(text->data(), text->size(), true)) {
                    loadPictures(bag, draft.document());
                    draft.commit();
                } else {
                    status = E_FAIL;
                }
            } else {
                loadPictures(bag, control_);
            }
        } catch (const std::exception&) {
            // The chart stays as it was.
            status = E_FAIL;
        }
        control_.notifyChange();
        control_.setModified(false);
        return status;
    }

    int32_t loadedVersion() override { return version_; }

private:
    // The interface keeps its control alive.
    ComPtr<LumigraCtrl> keep_;
    LumigraCtrl& control_;
    int32_t version_ = 0;
};

} // namespace

HRESULT queryControlPersist(LumigraCtrl& control, void** object)
{
    if (!object)
        return E_POINTER;
    *object = new (std::nothrow) ControlPersist(control);
    return *object ? S_OK : E_OUTOFMEMORY;
}

} // namespace lumigra
