#pragma once
// One editor per settable member: a check box, a number or text box, a
// list of captions, a colour button or a list of objects. A field remembers
// whether the user touched it; only touched fields are applied.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/Dispatchable.h"

class QWidget;

namespace lumigra {

class SheetField {
public:
    virtual ~SheetField() = default;
    virtual QWidget* widget() = 0;
    // Shows a value read from the object; clears the touched mark.
    virtual void show(const Variant& value) = 0;
    // The value shown, as the member takes it; false when the text is no
    // value of the member's type.
    virtual bool read(Variant& value) const = 0;

    bool touched() const { return touched_; }
    void untouch() { touched_ = false; }
    // Shows an edit not yet applied, touched again.
    void showPending(const Variant& value)
    {
        show(value);
        touched_ = true;
    }
    // Runs when the user changes the field.
    std::function<void()> onTouched;

protected:
    void touch()
    {
        touched_ = true;
        if (onTouched)
            onTouched();
    }

private:
    bool touched_ = false;
};

// An object a reference field may name.
struct RefChoice {
    std::string name;
    platform::com::IDispatch* object; // kept alive by the sheet
};

// The editor for member m of an object of kind objectId; choices are the
// objects a reference member may take.
std::unique_ptr<SheetField> makeField(const Member& m, int32_t objectId, std::vector<RefChoice> choices);

// Windows colour value (0x00BBGGRR) to the button text and back.
std::string colourText(int32_t colour);

} // namespace lumigra
