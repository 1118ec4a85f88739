#include "kinds/StandardFont.h"

#include <atomic>
#include <cmath>
#include <new>

#include "draw/Millimetres.h"
#include "kinds/Resources.h"
#include "model/DispatchObject.h"
#include "model/Object.h"
#include "platform/com/Variant.h"

namespace lumigra {

using namespace platform::com;

namespace {

constexpr int16_t NormalWeight = 400, BoldWeight = 700;

class StandardFont : public DispatchObject {
public:
    explicit StandardFont(const StandardFontFields& f) : f_(f) { ++liveObjectCount; }
    ~StandardFont() override { --liveObjectCount; }

    const MemberTable& members() const override;
    std::string errorSource() const override { return "Font"; }

    StandardFontFields f_;
};

StandardFontFields& fieldsOf(Dispatchable& d) { return static_cast<StandardFont&>(d).f_; }

template <bool StandardFontFields::*Flag>
Member flag(const char* name, DispId id)
{
    return Member{name, id, MemberKind::Property, VT_BOOL, false,
                  [](Dispatchable& d, Args&) { return Variant::fromBool(fieldsOf(d).*Flag); },
                  [](Dispatchable& d, Args&, const Variant& v) { fieldsOf(d).*Flag = argBool(v); }};
}

const MemberTable& StandardFont::members() const
{
    namespace id = dispid::stdFont;
    static const std::vector<Member> own{
        {"Name", id::Name, MemberKind::Property, VT_BSTR, false,
         [](Dispatchable& d, Args&) { return Variant::fromString(fieldsOf(d).name); },
         [](Dispatchable& d, Args&, const Variant& v) { fieldsOf(d).name = argText(v); }},
        {"Size", id::Size, MemberKind::Property, VT_CY, false,
         [](Dispatchable& d, Args&) { return Variant::fromCurrency(fieldsOf(d).sizeCy); },
         [](Dispatchable& d, Args&, const Variant& v) {
             double points = argDouble(v);
             if (!(points > 0) || points > 1e6)
                 raiseError(lgErrBadArgument);
             fieldsOf(d).sizeCy = std::llround(points * 10000);
         }},
        {"Bold", id::Bold, MemberKind::Property, VT_BOOL, false,
         [](Dispatchable& d, Args&) { return Variant::fromBool(fieldsOf(d).bold); },
         [](Dispatchable& d, Args&, const Variant& v) {
             auto& f = fieldsOf(d);
             f.bold = argBool(v);
             f.weight = f.bold ? BoldWeight : NormalWeight;
         }},
        flag<&StandardFontFields::italic>("Italic", id::Italic),
        flag<&StandardFontFields::underline>("Underline", id::Underline),
        flag<&StandardFontFields::strikethrough>("Strikethrough", id::Strikethrough),
        {"Weight", id::Weight, MemberKind::Property, VT_I2, false,
         [](Dispatchable& d, Args&) { return Variant::fromI2(fieldsOf(d).weight); },
         [](Dispatchable& d, Args&, const Variant& v) {
             auto& f = fieldsOf(d);
             int16_t w = argI2(v);
             if (w < 0 || w > 1000)
                 raiseError(lgErrBadArgument);
             f.weight = w;
             f.bold = w >= 600;
         }},
        {"Charset", id::Charset, MemberKind::Property, VT_I2, false,
         [](Dispatchable& d, Args&) { return Variant::fromI2(fieldsOf(d).charset); },
         [](Dispatchable& d, Args&, const Variant& v) {
             int16_t c = argI2(v);
             if (c < 0 || c > 255)
                 raiseError(lgErrBadArgument);
             fieldsOf(d).charset = c;
         }},
    };
    static const MemberTable table{&own};
    return table;
}

std::optional<Variant> getProperty(IDispatch* font, DispId id)
{
    Args none;
    Variant result;
    ExcepInfo e;
    if (failed(font->Invoke(id, DISPATCH_PROPERTYGET, none, &result, &e)))
        return std::nullopt;
    return result;
}

} // namespace

ComPtr<IDispatch> createStandardFont(const StandardFontFields& fields)
{
    return ComPtr<IDispatch>::attach(new (std::nothrow) StandardFont(fields));
}

namespace {

constexpr double kPointsPerInch = 72.0;

} // namespace

int64_t millimetresToPointsCy(double mm) { return std::llround(mm * kPointsPerInch / kMillimetresPerInch * platform::com::currencyScale); }

double pointsCyToMillimetres(int64_t cy)
{
    return static_cast<double>(cy) / platform::com::currencyScale * kMillimetresPerInch / kPointsPerInch;
}

bool readStandardFont(IDispatch* font, StandardFontFields& out)
{
    namespace id = dispid::stdFont;
    if (!font)
        return false;
    auto name = getProperty(font, id::Name);
    auto size = getProperty(font, id::Size);
    auto bold = getProperty(font, id::Bold);
    auto italic = getProperty(font, id::Italic);
    auto underline = getProperty(font, id::Underline);
    auto strike = getProperty(font, id::Strikethrough);
    if (!name || !size || !bold || !italic || !underline || !strike)
        return false;
    auto text = name->toText();
    auto points = size->toDouble();
    auto b = bold->toBool(), i = italic->toBool(), u = underline->toBool(), s = strike->toBool();
    if (!text || !points || !b || !i || !u || !s)
        return false;
    StandardFontFields f;
    f.name = *text;
    f.sizeCy = std::llround(*points * 10000.0);
    f.bold = *b;
    f.italic = *i;
    f.underline = *u;
    f.strikethrough = *s;
    f.weight = f.bold ? BoldWeight : NormalWeight;
    // Weight and character set are optional on other font objects.
    if (auto w = getProperty(font, id::Weight))
        f.weight = w->toI2().value_or(f.weight);
    f.charset = 1;
    if (auto c = getProperty(font, id::Charset))
        f.charset = c->toI2().value_or(1);
    out = f;
    return true;
}

Member fontObjectMember()
{
    using F = LgFontHolder;
    return Member{"Font", dispid::font::Font, MemberKind::Property, VT_DISPATCH, false,
                  [](Dispatchable& d, Args&) {
                      auto& h = static_cast<F&>(d);
                      StandardFontFields f;
                      f.name = h.typeFace_;
                      f.sizeCy = millimetresToPointsCy(h.size_);
                      f.bold = h.bold_;
                      f.italic = h.italic_;
                      f.underline = h.underline_;
                      f.strikethrough = h.strikeThrough_;
                      f.weight = h.bold_ ? BoldWeight : NormalWeight;
                      f.charset = h.charSet_;
                      ComPtr<IDispatch> font = createStandardFont(f);
                      if (!font)
                          raiseError(lgErrOutOfMemory);
                      return Variant::fromDispatch(font.get());
                  },
                  [](Dispatchable& d, Args&, const Variant& v) {
                      auto& h = static_cast<F&>(d);
                      StandardFontFields f;
                      if (v.vt() != VT_DISPATCH || !readStandardFont(v.dispatch(), f) || f.name.empty()
                          || f.sizeCy <= 0 || f.charset < 0 || f.charset > 255)
                          raiseError(lgErrBadArgument);
                      // A size that reads back as the current one keeps its millimetres.
                      double size = f.sizeCy == millimetresToPointsCy(h.size_) ? h.size_
                                                                                : pointsCyToMillimetres(f.sizeCy);
                      h.assign(h.typeFace_, f.name);
                      h.assign(h.size_, size);
                      h.assign(h.bold_, f.bold);
                      h.assign(h.italic_, f.italic);
                      h.assign(h.underline_, f.underline);
                      h.assign(h.strikeThrough_, f.strikethrough);
                      h.assign(h.charSet_, f.charset);
                  }};
}

} // namespace lumigra
