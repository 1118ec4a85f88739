#include "sheet/PropertySheet.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "control/LumigraCtrl.h"
#include "control/PropertySheetLink.h"
#include "model/Collection.h"
#include "sheet/EnumCaptions.h"
#include "sheet/SheetPage.h"

namespace lumigra {

using namespace platform::com;

namespace {

// Only one sheet at a time in the process.
bool sheetShown = false;

constexpr int kSheetWidth = 640;
constexpr int kSheetHeight = 480;

SheetTarget targetOf(LgObject* o) { return {static_cast<IDispatch*>(o), o, o}; }

bool openSheet(LumigraCtrl& control, LgObject* target, QWidget* parent)
{
    if (sheetShown)
        return false;
    sheetShown = true;
    auto keep = ComPtr<LumigraCtrl>::share(&control);
    {
        PropertySheet sheet(control, target, parent);
        sheet.exec();
    }
    sheetShown = false;
    return true;
}

struct PropertySheetRegistration {
    PropertySheetRegistration() { setPropertySheetOpener(&openSheet); }
} propertySheetRegistration;

} // namespace

bool propertySheetShown() { return sheetShown; }

PropertySheet::PropertySheet(LumigraCtrl& control, LgObject* target, QWidget* parent)
    : QDialog(parent), control_(control)
{
    setObjectName(QStringLiteral("PropertySheet"));
    setWindowTitle(QString::fromStdString(target ? target->name() : std::string("Lumigra Works")));
    resize(kSheetWidth, kSheetHeight);
    auto* layout = new QVBoxLayout(this);
    tabs_ = new QTabWidget(this);
    layout->addWidget(tabs_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, this);
    layout->addWidget(buttons);
    connect(buttons->button(QDialogButtonBox::Ok), &QPushButton::clicked, this, [this] {
        if (applyAll())
            accept();
    });
    connect(buttons->button(QDialogButtonBox::Apply), &QPushButton::clicked, this, [this] { applyAll(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    if (!target) {
        addControlPage();
        for (int id = 0; id < cidCount; ++id)
            addCollectionPage(id);
        std::vector<LgObject*> owned;
        for (SheetPage* page : std::vector<SheetPage*>(pages_)) {
            std::vector<LgObject*> more = page->ownedObjects(false);
            owned.insert(owned.end(), more.begin(), more.end());
        }
        addOwnedPage(std::move(owned));
        return;
    }
    SheetPage* own = addPage(target->parentCollection(), target);
    // The pens, brushes, fonts... the object draws with are one tab away.
    for (LgObject* used : own->referencedObjects())
        addPage(used->parentCollection(), used);
    addOwnedPage(own->ownedObjects(true));
    tabs_->setCurrentIndex(0);
}

void PropertySheet::addControlPage()
{
    auto* page = new SheetPage(control_, {{static_cast<IDispatch*>(static_cast<ILumigraControl*>(&control_)), &control_, nullptr}},
                               kControlKind, tabs_);
    tabs_->addTab(page, QStringLiteral("Lumigra"));
    pages_.push_back(page);
}

void PropertySheet::addCollectionPage(int id)
{
    LgCollection* c = control_.collection(id);
    if (c && c->count() > 0)
        addPage(c, nullptr);
}

SheetPage* PropertySheet::addPage(LgCollection* c, LgObject* target)
{
    if (auto shown = byCollection_.find(c); c && shown != byCollection_.end())
        return shown->second;
    std::vector<SheetTarget> targets;
    if (c)
        for (int32_t i = 0; i < c->count(); ++i)
            targets.push_back(targetOf(c->at(i)));
    else
        targets.push_back(targetOf(target));
    const int32_t kind = c ? c->spec().elementObjectId : target->objectId();
    auto* page = new SheetPage(control_, std::move(targets), kind, tabs_);
    if (target)
        page->select(target);
    tabs_->addTab(page, QString::fromUtf8(c ? c->spec().property : target->className()));
    pages_.push_back(page);
    if (c)
        byCollection_[c] = page;
    return page;
}

void PropertySheet::addOwnedPage(std::vector<LgObject*> objects)
{
    // One page per kind, in the order the kinds first appear.
    while (!objects.empty()) {
        const int32_t kind = objects.front()->objectId();
        const char* title = objects.front()->className();
        std::vector<SheetTarget> targets;
        std::vector<LgObject*> others;
        for (LgObject* o : objects) {
            if (o->objectId() == kind)
                targets.push_back(targetOf(o));
            else
                others.push_back(o);
        }
        auto* page = new SheetPage(control_, std::move(targets), kind, tabs_);
        tabs_->addTab(page, QString::fromUtf8(title));
        pages_.push_back(page);
        objects = std::move(others);
    }
}

bool PropertySheet::applyAll()
{
    for (SheetPage* page : pages_)
        if (!page->apply()) {
            tabs_->setCurrentWidget(page);
            return false;
        }
    return true;
}

} // namespace lumigra
