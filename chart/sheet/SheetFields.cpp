#include "sheet/SheetFields.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QIntValidator>
#include <QLineEdit>
#include <QLocale>
#include <QPixmap>
#include <QPushButton>

#include <cstdio>
#include <limits>

#include "sheet/EnumCaptions.h"

namespace lumigra {

using namespace platform::com;

namespace {

// Members take numbers in the C locale whatever the desktop's.
QString numberText(double v) { return QLocale::c().toString(v, 'g', 15); }

class BoolField final : public SheetField {
public:
    BoolField() { QObject::connect(&box_, &QCheckBox::clicked, [this] { touch(); }); }
    QWidget* widget() override { return &box_; }
    void show(const Variant& v) override
    {
        box_.setChecked(v.toBool().value_or(false));
        untouch();
    }
    bool read(Variant& v) const override
    {
        v = Variant::fromBool(box_.isChecked());
        return true;
    }

private:
    QCheckBox box_;
};

class TextLineField : public SheetField {
public:
    TextLineField() { QObject::connect(&edit_, &QLineEdit::textEdited, [this] { touch(); }); }
    QWidget* widget() override { return &edit_; }
    void show(const Variant& v) override
    {
        edit_.setText(QString::fromStdString(v.toText().value_or("")));
        untouch();
    }
    bool read(Variant& v) const override
    {
        v = Variant::fromString(edit_.text().toStdString());
        return true;
    }

protected:
    QLineEdit edit_;
};

class IntField final : public TextLineField {
public:
    explicit IntField(VarType type) : type_(type)
    {
        const bool shortInt = type == VT_I2;
        validator_.setRange(shortInt ? std::numeric_limits<int16_t>::min() : std::numeric_limits<int32_t>::min(),
                            shortInt ? std::numeric_limits<int16_t>::max() : std::numeric_limits<int32_t>::max());
        edit_.setValidator(&validator_);
    }
    void show(const Variant& v) override
    {
        edit_.setText(QString::number(v.toI4().value_or(0)));
        untouch();
    }
    bool read(Variant& v) const override
    {
        bool ok = false;
        const int n = QLocale::c().toInt(edit_.text().trimmed(), &ok);
        if (!ok || n < validator_.bottom() || n > validator_.top())
            return false;
        v = type_ == VT_I2 ? Variant::fromI2(static_cast<int16_t>(n)) : Variant::fromI4(n);
        return true;
    }

private:
    VarType type_;
    QIntValidator validator_;
};

// Doubles, and the number-or-date values of axis ends and intervals.
class NumberField final : public TextLineField {
public:
    void show(const Variant& v) override
    {
        date_ = v.vt() == VT_DATE;
        edit_.setText(v.isEmpty() ? QString() : numberText(v.toDouble().value_or(0)));
        untouch();
    }
    bool read(Variant& v) const override
    {
        bool ok = false;
        const double d = QLocale::c().toDouble(edit_.text().trimmed(), &ok);
        if (!ok)
            return false;
        v = date_ ? Variant::fromDate(d) : Variant::fromR8(d);
        return true;
    }

private:
    bool date_ = false;
};

class EnumField final : public SheetField {
public:
    EnumField(VarType type, const std::vector<EnumChoice>& choices) : type_(type)
    {
        for (const EnumChoice& c : choices)
            combo_.addItem(QString::fromUtf8(c.caption), c.value);
        listed_ = combo_.count();
        QObject::connect(&combo_, &QComboBox::activated, [this] { touch(); });
    }
    QWidget* widget() override { return &combo_; }
    void show(const Variant& v) override
    {
        // A stored value outside the list stays selectable as its number.
        while (combo_.count() > listed_)
            combo_.removeItem(combo_.count() - 1);
        const int value = v.toI4().value_or(0);
        int at = combo_.findData(value);
        if (at < 0) {
            combo_.addItem(QString::number(value), value);
            at = combo_.count() - 1;
        }
        combo_.setCurrentIndex(at);
        untouch();
    }
    bool read(Variant& v) const override
    {
        const int value = combo_.currentData().toInt();
        v = type_ == VT_I2 ? Variant::fromI2(static_cast<int16_t>(value)) : Variant::fromI4(value);
        return true;
    }

private:
    VarType type_;
    QComboBox combo_;
    int listed_ = 0;
};

QColor qtColour(int32_t c)
{
    const auto u = static_cast<uint32_t>(c);
    return QColor(static_cast<int>(u & 0xFF), static_cast<int>((u >> 8) & 0xFF), static_cast<int>((u >> 16) & 0xFF));
}

int32_t windowsColour(const QColor& c)
{
    return static_cast<int32_t>(static_cast<uint32_t>(c.red()) | (static_cast<uint32_t>(c.green()) << 8)
                                | (static_cast<uint32_t>(c.blue()) << 16));
}

class ColourField final : public SheetField {
public:
    ColourField()
    {
        QObject::connect(&button_, &QPushButton::clicked, [this] {
            QColor chosen = QColorDialog::getColor(qtColour(colour_), button_.window());
            if (!chosen.isValid())
                return;
            setColour(windowsColour(chosen));
            touch();
        });
    }
    QWidget* widget() override { return &button_; }
    void show(const Variant& v) override
    {
        setColour(v.toI4().value_or(0));
        untouch();
    }
    bool read(Variant& v) const override
    {
        v = Variant::fromI4(colour_);
        return true;
    }

private:
    void setColour(int32_t colour)
    {
        colour_ = colour;
        button_.setText(QString::fromStdString(colourText(colour)));
        constexpr int kSwatch = 16;
        QPixmap swatch(kSwatch, kSwatch);
        swatch.fill(colour < 0 ? QColor(Qt::transparent) : qtColour(colour));
        button_.setIcon(swatch);
    }

    QPushButton button_;
    int32_t colour_ = 0;
};

// "Nothing" is the empty entry at the top of every object list.
class RefField final : public SheetField {
public:
    explicit RefField(std::vector<RefChoice> choices) : choices_(std::move(choices))
    {
        combo_.addItem(QStringLiteral("(Nothing)"));
        for (const RefChoice& c : choices_)
            combo_.addItem(QString::fromStdString(c.name));
        QObject::connect(&combo_, &QComboBox::activated, [this] { touch(); });
    }
    QWidget* widget() override { return &combo_; }
    void show(const Variant& v) override
    {
        int at = 0;
        if (v.vt() == VT_DISPATCH)
            for (size_t i = 0; i < choices_.size(); ++i)
                if (choices_[i].object == v.dispatch())
                    at = static_cast<int>(i) + 1;
        combo_.setCurrentIndex(at);
        untouch();
    }
    bool read(Variant& v) const override
    {
        const int at = combo_.currentIndex();
        v = at <= 0 ? Variant::fromDispatch(nullptr) : Variant::fromDispatch(choices_[static_cast<size_t>(at - 1)].object);
        return true;
    }

private:
    std::vector<RefChoice> choices_;
    QComboBox combo_;
};

} // namespace

std::string colourText(int32_t colour)
{
    if (colour < 0)
        return std::to_string(colour);
    char text[16];
    const auto u = static_cast<uint32_t>(colour);
    std::snprintf(text, sizeof text, "#%02X%02X%02X", u & 0xFF, (u >> 8) & 0xFF, (u >> 16) & 0xFF);
    return text;
}

std::unique_ptr<SheetField> makeField(const Member& m, int32_t objectId, std::vector<RefChoice> choices)
{
    const std::vector<EnumChoice>& listed = enumChoices(objectId, m.name);
    if (!listed.empty())
        return std::make_unique<EnumField>(m.type, listed);
    switch (m.type) {
    case VT_BOOL: return std::make_unique<BoolField>();
    case VT_BSTR: return std::make_unique<TextLineField>();
    case VT_R8:
    case VT_VARIANT: return std::make_unique<NumberField>();
    case VT_DISPATCH: return std::make_unique<RefField>(std::move(choices));
    case VT_I2:
    case VT_I4:
        if (m.type == VT_I4 && isColourMember(m.name))
            return std::make_unique<ColourField>();
        return std::make_unique<IntField>(m.type);
    default: return nullptr;
    }
}

} // namespace lumigra
