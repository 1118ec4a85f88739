#include "document/ChartDocument.h"

#include <new>
#include <unordered_set>
#include <utility>

#include "draw/Millimetres.h"
#include "kinds/Resources.h"
#include "model/Collection.h"
#include "platform/UiService.h"

namespace lumigra {

using platform::com::ComPtr;

ChartDocument::ChartDocument() = default;

ChartDocument::~ChartDocument() { destroyContents(); }

ChartDocument& documentOf(ChartOwner& owner)
{
    // Chart objects are only ever made with a document as their owner.
    return static_cast<ChartDocument&>(owner);
}

void ChartDocument::createContents()
{
    backPicture_ = ComPtr<LgObject>::attach(LgPictureHolder::create(this));
    initialise();
}

void ChartDocument::destroyContents()
{
    destroyCollections();
    if (backPicture_) {
        backPicture_->detach();
        backPicture_.reset();
    }
}

void ChartDocument::takeSettings(const ChartDocument& from, bool all)
{
    lowerBound_ = from.lowerBound_;
    maxElements_ = from.maxElements_;
    orgX_ = from.orgX_;
    orgY_ = from.orgY_;
    scaleFactor_ = from.scaleFactor_;
    scaleHeightStored_ = from.scaleHeightStored_;
    naturalWidth_ = from.naturalWidth_;
    naturalHeight_ = from.naturalHeight_;
    exactScale_ = from.exactScale_;
    propertySheetEnabled_ = from.propertySheetEnabled_;
    monochrome_ = from.monochrome_;
    backColor_ = from.backColor_;
    backMode_ = from.backMode_;
    autoRedraw_ = from.autoRedraw_;
    toolHint_ = from.toolHint_;
    maxLoop_ = from.maxLoop_;
    oleDropMode_ = from.oleDropMode_;
    oleDragMode_ = from.oleDragMode_;
    mouseAction_ = from.mouseAction_;
    keyboardAction_ = from.keyboardAction_;
    if (!all)
        return;
    cx_ = from.cx_;
    cy_ = from.cy_;
    dpiX_ = from.dpiX_;
    dpiY_ = from.dpiY_;
    ambientBackColor_ = from.ambientBackColor_;
    displayName_ = from.displayName_;
}

void ChartDocument::takeOver(ChartDocument& draft)
{
    takeSettings(draft, false);
    for (int id = 0; id < cidCount; ++id)
        std::swap(collections_[id], draft.collections_[id]);
    std::swap(backPicture_, draft.backPicture_);
    claimObjects();
    draft.claimObjects();
}

void ChartDocument::claimObjects()
{
    // Owned parts (ticks, legend items) are reached through the references.
    std::vector<LgObject*> pending;
    std::unordered_set<LgObject*> seen;
    for (auto& c : collections_)
        if (c)
            pending.push_back(c.get());
    if (backPicture_)
        pending.push_back(backPicture_.get());
    while (!pending.empty()) {
        LgObject* o = pending.back();
        pending.pop_back();
        if (!o || !seen.insert(o).second)
            continue;
        o->owner_ = this;
        for (ObjRef* r : o->refs_)
            pending.push_back(r->get());
        if (auto* c = dynamic_cast<LgCollection*>(o))
            for (int32_t i = 0; i < c->count(); ++i)
                pending.push_back(c->at(i));
    }
}

void ChartDocument::notifyChange()
{
    modified_ = true;
    if (autoRedraw_ && pendingInvalidate_ == 0) {
        ++pendingInvalidate_;
        requestRepaint();
    }
}

LgCollection* ChartDocument::collection(int id) const
{
    if (id < 0 || id >= cidCount)
        return nullptr;
    return collections_[id].get();
}

void ChartDocument::destroyCollections()
{
    // Links between objects go first, so that every object is released.
    for (auto& c : collections_)
        if (c)
            c->detach();
    for (auto& c : collections_)
        c.reset();
}

void ChartDocument::initialise()
{
    destroyCollections();
    for (int id = 0; id < cidCount; ++id) {
        const CollectionSpec& spec = collectionSpec(id);
        try {
            collections_[id] = ComPtr<LgCollection>::attach(new LgCollection(this, spec, lowerBound_, maxElements_));
            collections_[id]->setPositionRaw(id);
        } catch (const std::bad_alloc&) {
            platform::MsgBox(std::string("初期化に失敗しました（メモリ不足）: ") + spec.failureName
                                 + (id >= cidXyCharts && id <= cidPolarCharts ? "" : " ")
                                 + "オブジェクトが作成できません。",
                             platform::vbSystemModal, "Lumigra");
            platform::MsgBox("Lumigra Works の初期化に失敗しました。", platform::vbSystemModal, "Lumigra");
            return;
        }
    }
}

void ChartDocument::setExtent(int32_t cx, int32_t cy, double dpiX, double dpiY)
{
    cx_ = cx;
    cy_ = cy;
    if (dpiX > 0)
        dpiX_ = dpiX;
    if (dpiY > 0)
        dpiY_ = dpiY;
}

double ChartDocument::scaleHeight()
{
    double actual = cy_ * kMillimetresPerInch / dpiY_;
    if (!exactScale_)
        return actual;
    if (!(scaleHeightStored_ > 0))
        scaleHeightStored_ = actual;
    return scaleHeightStored_;
}

double ChartDocument::scaleWidth()
{
    naturalWidth_ = cx_ * kMillimetresPerInch / dpiX_;
    return naturalWidth_;
}

bool ChartDocument::swapPaintOrder(LgObject* first, LgObject* second)
{
    auto* a = dynamic_cast<LgCollection*>(first);
    auto* b = dynamic_cast<LgCollection*>(second);
    auto mine = [&](LgCollection* c) {
        for (auto& own : collections_)
            if (own.get() == c)
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

} // namespace lumigra
