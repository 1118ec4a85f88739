// The object text of the whole chart: the control header, then every
// collection in the order that lets references resolve by position.
#include <cstdio>
#include <new>

#include "document/ChartDocument.h"
#include "document/ChartDraft.h"
#include "model/Collection.h"
#include "model/RecordExchange.h"
#include "platform/UiService.h"

namespace lumigra {

namespace {

void showMessage(const std::string& text) { platform::MsgBox(text, platform::vbExclamation, "Lumigra"); }

} // namespace

void ChartDocument::writeHeader(RecordExchange& x)
{
    ObjectTextWriter& w = *x.writer();
    w.text("Lumigra:", displayName_);
    w.i16("Version=", ComponentVersion);
    w.i32("LowerBound=", lowerBound_);
    w.i32("MaxElements=", maxElements_);
    w.f64("OrgX=", orgX_);
    w.f64("OrgY=", orgY_);
    w.f64("Scale=", scaleFactor_);
    w.f64("ScaleHeight=", scaleHeightStored_);
    w.f64("Height=", naturalHeight_);
    w.f64("Width=", naturalWidth_);
    w.boolean("ExactScale=", exactScale_);
    w.boolean("PropertySheetEnabled=", propertySheetEnabled_);
    w.boolean("Mono=", monochrome_);
    w.i32("BackColor=", backColor_);
    w.i16("BackGround=", backMode_);
    w.boolean("Redraw=", autoRedraw_);
    w.i32("CX=", cx_);
    w.i32("CY=", cy_);
    w.boolean("ToolHint=", toolHint_);
    w.i32("MaxLoop=", maxLoop_);
    w.i16("DropMode=", oleDropMode_);
    w.i16("DragMode=", oleDragMode_);
    w.i16("MouseAction=", mouseAction_);
    w.i16("KeyboardAction=", keyboardAction_);
}

void ChartDocument::readHeader(RecordExchange& x, bool fromContents, int16_t& version)
{
    std::string container;
    x.text("Lumigra:", container, "");
    x.i16("Version=", version, 100);
    int32_t lower = 1, maxElements = kDefaultMaxElements, backColor = backColor_, cx = 0, cy = 0, maxLoop = kDefaultMaxLoop;
    bool sheet = true, redraw = true;
    int16_t backMode = 0, dropMode = 2, dragMode = 1;
    x.i32("LowerBound=", lower, 1);
    x.i32("MaxElements=", maxElements, kDefaultMaxElements);
    x.f64("OrgX=", orgX_, 0);
    x.f64("OrgY=", orgY_, 0);
    x.f64("Scale=", scaleFactor_, 1.0);
    x.f64("ScaleHeight=", scaleHeightStored_, 0);
    x.f64("Height=", naturalHeight_, 0);
    x.f64("Width=", naturalWidth_, 0);
    x.boolean("ExactScale=", exactScale_, false);
    x.boolean("PropertySheetEnabled=", sheet, true);
    x.boolean("Mono=", monochrome_, false);
    x.i32("BackColor=", backColor, backColor_);
    x.i16("BackGround=", backMode, 0);
    x.boolean("Redraw=", redraw, true);
    x.i32("CX=", cx, 0);
    x.i32("CY=", cy, 0);
    applyStoredExtent(cx, cy);
    x.boolean("ToolHint=", toolHint_, false);
    x.i32("MaxLoop=", maxLoop, kDefaultMaxLoop);
    x.i16("DropMode=", dropMode, 2);
    x.i16("DragMode=", dragMode, 1);
    x.i16("MouseAction=", mouseAction_, 7);
    x.i16("KeyboardAction=", keyboardAction_, 1);

    // Values outside a property's rules are not taken from a text either.
    lowerBound_ = lower;
    for (auto& c : collections_)
        if (c)
            c->setLowerBoundRaw(lower);
    if (maxElements >= 0)
        maxElements_ = maxElements;
    backColor_ = backColor;
    if (backMode >= 0 && backMode <= 3)
        backMode_ = backMode;
    if (maxLoop >= kMinimumMaxLoop)
        maxLoop_ = maxLoop;
    // These three belong to the container's own copy of the control.
    if (fromContents) {
        autoRedraw_ = redraw;
        if (dropMode >= 0 && dropMode <= 2)
            oleDropMode_ = dropMode;
        if (dragMode == 0 || dragMode == 1)
            oleDragMode_ = dragMode;
    }
}

std::vector<uint8_t> ChartDocument::saveObjectText()
{
    try {
        ObjectTextWriter writer;
        RecordExchange x(*this, writer);
        writeHeader(x);
        for (CollectionId id : saveOrder)
            if (collections_[id])
                collections_[id]->record(x);
        return writer.finish();
    } catch (const std::bad_alloc&) {
        showMessage("メモリ不足です");
    } catch (const RaisedError& e) {
        showMessage(e.code() == lgErrOutOfMemory ? "メモリ不足です" : "XYグラフを初期化できません");
    }
    return {};
}

bool ChartDocument::restoreObjectText(const uint8_t* block, size_t size, bool fromContents)
{
    ChartDraft draft(*this);
    if (!draft.readObjectText(block, size, fromContents))
        return false;
    draft.commit();
    return true;
}

bool ChartDocument::readObjectText(const uint8_t* block, size_t size, bool fromContents)
{
    try {
        ObjectTextReader reader(block, size);
        RecordExchange x(*this, reader);
        int16_t version = 100;
        readHeader(x, fromContents, version);
        if (version > ComponentVersion) {
            char text[512];
            std::snprintf(text, sizeof text,
                          "現在のLumigra Worksのバージョン(%d)では、扱えないバージョン(%d)のデータです。\n"
                          "続行すると、動作は保証されません。\n処理を中止しますか　？",
                          ComponentVersion, version);
            if (platform::MsgBox(text, platform::vbYesNo | platform::vbSystemModal, "Lumigra") == platform::vbYes)
                return false;
        }
        for (CollectionId id : saveOrder) {
            // Texts older than polygons and polylines end after the legends.
            if (id == cidPolygons && version < ComponentVersion)
                break;
            if (collections_[id])
                collections_[id]->record(x);
        }
        return true;
    } catch (const std::bad_alloc&) {
        showMessage("メモリ不足です");
    } catch (const RaisedError& e) {
        showMessage(e.code() == lgErrOutOfMemory ? "メモリ不足です" : "XYグラフを再生できません");
    }
    return false;
}

} // namespace lumigra
