#include "control/LumigraCtrl.h"

#include <new>

#include "control/ControlPersist.h"
#include "control/ControlWindow.h"
#include "kinds/Resources.h"
#include "lumigra/Persist.h"
#include "lumigra/Window.h"
#include "model/Collection.h"
#include "platform/UiService.h"
#include "server/Module.h"

namespace lumigra {

using namespace platform::com;

LumigraCtrl::LumigraCtrl()
{
    ++liveControls;
    controlId_ = nextControlId();
    slot_ = allocateSlot(this);
    linkControl(this);
    backPicture_ = LgPictureHolder::create(this);
    initialise();
}

LumigraCtrl::~LumigraCtrl()
{
    destroyCollections();
    unlinkControl(this);
    releaseSlot(this);
    backPicture_->detach();
    backPicture_->Release();
    for (auto& s : sinks_)
        s.sink->Release();
    --liveControls;
}

HRESULT LumigraCtrl::QueryInterface(const Guid& iid, void** object)
{
    if (!object)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == DIID__DLumigra || iid == IID_ILumigraControl) {
        AddRef();
        *object = static_cast<ILumigraControl*>(this);
        return S_OK;
    }
    if (iid == IID_ILumigraWindow)
        return queryControlWindow(*this, object);
    if (iid == IID_ILumigraPersist)
        return queryControlPersist(*this, object);
    *object = nullptr;
    return E_NOINTERFACE;
}

uint32_t LumigraCtrl::AddRef() { return ++refCount_; }

uint32_t LumigraCtrl::Release()
{
    uint32_t n = --refCount_;
    if (n == 0)
        delete this;
    return n;
}

HRESULT LumigraCtrl::GetIDsOfNames(const std::vector<std::string>& names, std::vector<DispId>& ids)
{
    return dispatchIdsOfNames(names, ids);
}

HRESULT LumigraCtrl::Invoke(DispId id, uint16_t flags, Args& args, Variant* result, ExcepInfo* exception)
{
    AddRef();
    HRESULT status = dispatchInvoke(id, flags, args, result, exception);
    Release();
    return status;
}

void LumigraCtrl::notifyChange()
{
    modified_ = true;
    if (autoRedraw_ && pendingInvalidate_ == 0) {
        ++pendingInvalidate_;
        requestWindowRepaint(*this);
    }
}

LgCollection* LumigraCtrl::collection(int id) const
{
    if (id < 0 || id >= cidCount)
        return nullptr;
    return collections_[id];
}

void LumigraCtrl::destroyCollections()
{
    // Links between objects go first, so that every object is released.
    for (auto* c : collections_)
        if (c)
            c->detach();
    for (auto*& c : collections_) {
        if (c)
            c->Release();
        c = nullptr;
    }
}

void LumigraCtrl::initialise()
{
    destroyCollections();
    for (int id = 0; id < cidCount; ++id) {
        const CollectionSpec& spec = collectionSpec(id);
        try {
            auto* c = new LgCollection(this, spec, lowerBound_, maxElements_);
            c->position_ = id;
            collections_[id] = c;
        } catch (const std::bad_alloc&) {
            platform::MsgBox(std::string("初期化に失敗しました（メモリ不足）: ") + spec.failureName
                                 + (id >= cidXyCharts && id <= cidPolarCharts ? "" : " ")
                                 + "オブジェクトが作成できません。",
                             4096, "Lumigra");
            platform::MsgBox("Lumigra Works の初期化に失敗しました。", 4096, "Lumigra");
            return;
        }
    }
}

void LumigraCtrl::setExtent(int32_t cx, int32_t cy, double dpiX, double dpiY)
{
    cx_ = cx;
    cy_ = cy;
    if (dpiX > 0)
        dpiX_ = dpiX;
    if (dpiY > 0)
        dpiY_ = dpiY;
}

double LumigraCtrl::scaleHeight()
{
    double actual = cy_ * 25.4 / dpiY_;
    if (!exactScale_)
        return actual;
    if (!(scaleHeightStored_ > 0))
        scaleHeightStored_ = actual;
    return scaleHeightStored_;
}

double LumigraCtrl::scaleWidth()
{
    naturalWidth_ = cx_ * 25.4 / dpiX_;
    return naturalWidth_;
}

bool LumigraCtrl::swapPaintOrder(LgObject* first, LgObject* second)
{
    auto* a = dynamic_cast<LgCollection*>(first);
    auto* b = dynamic_cast<LgCollection*>(second);
    auto mine = [&](LgCollection* c) {
        for (auto* own : collections_)
            if (own == c)
                return true;
        return false;
    };
    if (!a || !b || a == b || !mine(a) || !mine(b) || a->objectId() == b->objectId() || !a->drawable()
        || !b->drawable())
        return false;
    int32_t orderA = a->paintOrder();
    a->setPaintOrderRaw(b->paintOrder());
    b->setPaintOrderRaw(orderA);
    notifyChange();
    return true;
}

HRESULT LumigraCtrl::advise(IDispatch* sink, uint32_t* cookie)
{
    if (!sink || !cookie)
        return E_POINTER;
    sink->AddRef();
    sinks_.push_back({nextCookie_, sink});
    *cookie = nextCookie_++;
    return S_OK;
}

HRESULT LumigraCtrl::unadvise(uint32_t cookie)
{
    for (auto it = sinks_.begin(); it != sinks_.end(); ++it)
        if (it->cookie == cookie) {
            it->sink->Release();
            sinks_.erase(it);
            return S_OK;
        }
    return E_INVALIDARG;
}

} // namespace lumigra
