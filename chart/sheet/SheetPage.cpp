#include "sheet/SheetPage.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QListWidget>
#include <QScrollArea>
#include <QSignalBlocker>

#include <cstring>

#include "control/LumigraCtrl.h"
#include "model/Collection.h"
#include "platform/UiService.h"
#include "server/Components.h"
#include "sheet/EnumCaptions.h"

namespace lumigra {

using namespace platform::com;

namespace {

constexpr int kListWidth = 160;

// MaxElements rebuilds every collection under the open sheet, and writing
// ScaleWidth is ignored: neither has a field.
bool excluded(int32_t objectId, const Member& m)
{
    return objectId == kControlKind
           && (std::strcmp(m.name, "MaxElements") == 0 || std::strcmp(m.name, "ScaleWidth") == 0);
}

bool editable(int32_t objectId, const Member& m)
{
    if (m.kind != MemberKind::Property || m.readOnly || !m.put || m.argc != 0 || excluded(objectId, m))
        return false;
    if (m.type == VT_DISPATCH)
        return m.peek && m.refKind >= 0;
    return true;
}

bool holdsKind(const CollectionSpec& spec, int32_t kind)
{
    if (kind == 0)
        return spec.elementObjectId == lgxXyChart || spec.elementObjectId == lgxPolarChart
               || spec.elementObjectId == lgxTriangularChart;
    return spec.elementObjectId == kind;
}

std::string refusalText(HRESULT status, const ExcepInfo& e)
{
    if (status == DISP_E_EXCEPTION && !e.description.empty())
        return e.description;
    return errorText(lgErrBadArgument);
}

} // namespace

SheetPage::SheetPage(LumigraCtrl& control, std::vector<SheetTarget> targets, int32_t objectId, QWidget* parent)
    : QWidget(parent), control_(control), targets_(std::move(targets)), objectId_(objectId)
{
    for (const SheetTarget& t : targets_)
        if (t.chartObject)
            kept_.push_back(ComPtr<LgObject>::share(t.chartObject));
    auto* layout = new QHBoxLayout(this);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("objects"));
    list_->setFixedWidth(kListWidth);
    layout->addWidget(list_);
    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    auto* body = new QWidget(scroll);
    form_ = new QFormLayout(body);
    scroll->setWidget(body);
    layout->addWidget(scroll, 1);
    buildFields();
    refreshNames();
    {
        QSignalBlocker quiet(list_);
        list_->setCurrentRow(0);
    }
    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) { rowChanged(row); });
    showSelected();
}

SheetPage::~SheetPage() = default;

void SheetPage::buildFields()
{
    if (targets_.empty())
        return;
    for (const Member& m : targets_.front().members->members().all()) {
        if (!editable(objectId_, m))
            continue;
        std::unique_ptr<SheetField> editor = makeField(m, objectId_, m.type == VT_DISPATCH ? choicesFor(m) : std::vector<RefChoice>{});
        if (!editor)
            continue;
        editor->widget()->setObjectName(QString::fromUtf8(m.name));
        form_->addRow(QString::fromUtf8(m.name), editor->widget());
        fields_.push_back({&m, std::move(editor)});
    }
}

std::vector<RefChoice> SheetPage::choicesFor(const Member& m)
{
    std::vector<RefChoice> choices;
    for (int id = 0; id < cidCount; ++id) {
        LgCollection* c = control_.collection(id);
        if (!c || !holdsKind(c->spec(), m.refKind))
            continue;
        for (int32_t i = 0; i < c->count(); ++i) {
            LgObject* o = c->at(i);
            kept_.push_back(ComPtr<LgObject>::share(o));
            choices.push_back({o->name(), static_cast<IDispatch*>(o)});
        }
    }
    return choices;
}

void SheetPage::refreshNames()
{
    QSignalBlocker quiet(list_);
    const int row = list_->currentRow();
    list_->clear();
    for (const SheetTarget& t : targets_) {
        std::string name = t.chartObject ? t.chartObject->name() : readValue(t, *t.members->members().find(dispid::control::Name)).toText().value_or("");
        list_->addItem(QString::fromStdString(name));
    }
    list_->setCurrentRow(row < 0 ? 0 : row);
}

Variant SheetPage::readValue(const SheetTarget& t, const Member& m) const
{
    if (m.type == VT_DISPATCH && m.peek)
        return Variant::fromDispatch(m.peek(*t.members));
    Args none;
    Variant value;
    ExcepInfo e;
    if (failed(t.object->Invoke(m.id, DISPATCH_PROPERTYGET, none, &value, &e)))
        return Variant();
    return value;
}

void SheetPage::showSelected()
{
    if (selected_ >= targets_.size())
        return;
    const SheetTarget& t = targets_[selected_];
    for (Field& f : fields_)
        f.editor->show(readValue(t, *f.member));
    auto waiting = waiting_.find(selected_);
    if (waiting == waiting_.end())
        return;
    for (auto& [member, value] : waiting->second)
        for (Field& f : fields_)
            if (f.member == member)
                f.editor->showPending(value);
}

bool SheetPage::capture()
{
    Edits edits;
    for (Field& f : fields_) {
        if (!f.editor->touched())
            continue;
        Variant value;
        if (!f.editor->read(value)) {
            platform::MsgBox(errorText(lgErrBadArgument), platform::vbExclamation, f.member->name);
            f.editor->widget()->setFocus();
            return false;
        }
        edits.emplace_back(f.member, std::move(value));
    }
    if (edits.empty())
        waiting_.erase(selected_);
    else
        waiting_[selected_] = std::move(edits);
    return true;
}

void SheetPage::rowChanged(int row)
{
    if (row < 0 || static_cast<size_t>(row) == selected_)
        return;
    if (!capture()) {
        QSignalBlocker quiet(list_);
        list_->setCurrentRow(static_cast<int>(selected_));
        return;
    }
    selected_ = static_cast<size_t>(row);
    showSelected();
}

void SheetPage::select(const LgObject* object)
{
    for (size_t i = 0; i < targets_.size(); ++i)
        if (targets_[i].chartObject == object) {
            list_->setCurrentRow(static_cast<int>(i));
            return;
        }
}

bool SheetPage::applyTo(size_t index, const Edits& edits)
{
    const SheetTarget& t = targets_[index];
    auto* controlDispatch = static_cast<IDispatch*>(static_cast<ILumigraControl*>(&control_));
    // The add-in may keep the object as it is; that is no error.
    if (!consultAddIn(controlDispatch, t.object, t.object))
        return true;
    Edits done;
    for (const auto& [member, value] : edits) {
        Variant before = readValue(t, *member);
        Args args{value};
        ExcepInfo e;
        HRESULT status = t.object->Invoke(member->id, DISPATCH_PROPERTYPUT, args, nullptr, &e);
        if (failed(status)) {
            // The object goes back to how it was before this Apply.
            for (auto undo = done.rbegin(); undo != done.rend(); ++undo) {
                Args back{undo->second};
                ExcepInfo ignored;
                t.object->Invoke(undo->first->id, DISPATCH_PROPERTYPUT, back, nullptr, &ignored);
            }
            platform::MsgBox(refusalText(status, e), platform::vbExclamation, e.source.empty() ? member->name : e.source);
            return false;
        }
        done.emplace_back(member, std::move(before));
    }
    return true;
}

bool SheetPage::apply()
{
    if (!capture())
        return false;
    while (!waiting_.empty()) {
        auto first = waiting_.begin();
        if (!applyTo(first->first, first->second)) {
            const size_t failedAt = first->first;
            if (failedAt != selected_) {
                QSignalBlocker quiet(list_);
                list_->setCurrentRow(static_cast<int>(failedAt));
                selected_ = failedAt;
                showSelected();
            }
            return false;
        }
        waiting_.erase(first);
    }
    refreshNames();
    showSelected();
    return true;
}

std::vector<LgObject*> SheetPage::referencedObjects() const
{
    std::vector<LgObject*> found;
    if (selected_ >= targets_.size())
        return found;
    const SheetTarget& t = targets_[selected_];
    for (const Field& f : fields_)
        if (f.member->type == VT_DISPATCH && f.member->peek)
            if (LgObject* o = f.member->peek(*t.members))
                found.push_back(o);
    return found;
}

std::vector<LgObject*> SheetPage::ownedObjects(bool selectedOnly) const
{
    std::vector<LgObject*> found;
    for (size_t i = 0; i < targets_.size(); ++i) {
        if (selectedOnly && i != selected_)
            continue;
        for (const Member& m : targets_[i].members->members().all())
            if (m.readOnly && m.type == VT_DISPATCH && m.peek)
                if (LgObject* o = m.peek(*targets_[i].members); o && !o->parentCollection())
                    found.push_back(o);
    }
    return found;
}

} // namespace lumigra
