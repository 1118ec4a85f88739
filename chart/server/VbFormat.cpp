#include "server/VbFormat.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <atomic>
#include <new>

#include "model/DispatchObject.h"
#include "model/Object.h"
#include "platform/Format.h"
#include "module/Module.h"
#include "server/ModuleFactory.h"

namespace lumigra {

using namespace platform::com;

namespace {

class VbFormat : public DispatchObject {
public:
    VbFormat() { ++liveObjectCount; }
    ~VbFormat() override { --liveObjectCount; }

    const MemberTable& members() const override;
    std::string errorSource() const override { return ProgID_VbFormat; }
};

// Format of Basic: a text that is no number is passed through; dates
// without a format of their own read as general dates.
Variant formatVal(Dispatchable&, Args& a)
{
    const Variant& value = a[0].deref();
    std::string format = isOmitted(a, 1) ? std::string() : argText(a[1]);
    if (value.isEmpty() || value.vt() == VT_NULL)
        return Variant::fromString("");
    if (value.vt() == VT_BSTR) {
        std::optional<double> number = value.toDouble();
        if (!number)
            return Variant::fromString(*value.toText());
        return Variant::fromString(platform::Format(*number, format.empty() ? "General Number" : format));
    }
    std::optional<double> number = value.toDouble();
    if (!number)
        raiseError(lgErrBadArgument);
    if (value.vt() == VT_DATE && (format.empty() || format == "General Date"))
        return Variant::fromString(platform::formatGeneralDate(*number));
    return Variant::fromString(platform::Format(*number, format.empty() ? "General Number" : format));
}

Variant dateVal(Dispatchable&, Args& a)
{
    const Variant& value = a[0].deref();
    if (value.vt() == VT_DATE)
        return value;
    std::optional<double> date = parseDateText(argText(value));
    if (!date)
        raiseError(lgErrBadArgument);
    return Variant::fromDate(*date);
}

const MemberTable& VbFormat::members() const
{
    static const std::vector<Member> own{
        {"FormatVal", dispid::vbFormat::FormatVal, MemberKind::Method, VT_BSTR, false, &formatVal, nullptr, 1, 1},
        {"DateVal", dispid::vbFormat::DateVal, MemberKind::Method, VT_DATE, false, &dateVal, nullptr, 1},
    };
    static const MemberTable table{&own};
    return table;
}

class VbFormatFactory : public ModuleFactory {
protected:
    HRESULT make(IUnknown** made) override
    {
        IDispatch* format = createVbFormat();
        if (!format)
            return E_OUTOFMEMORY;
        *made = format;
        return S_OK;
    }
};

} // namespace

IDispatch* createVbFormat() { return new (std::nothrow) VbFormat; }

IClassFactory* vbFormatFactory()
{
    static VbFormatFactory factory;
    return &factory;
}

std::optional<double> parseDateText(const std::string& text)
{
    static const QStringList dateTimes{"yyyy/M/d H:m:s", "yyyy/M/d H:m", "yyyy-M-d H:m:s", "yyyy-M-dTH:m:s",
                                       "yyyy-M-d H:m"};
    static const QStringList dates{"yyyy/M/d", "yyyy-M-d"};
    static const QStringList times{"H:m:s", "H:m"};
    const QDate epoch(1899, 12, 30);
    QString t = QString::fromStdString(text).trimmed();
    for (const QString& f : dateTimes) {
        QDateTime dt = QDateTime::fromString(t, f);
        if (dt.isValid()) {
            // Before the epoch the fraction still counts forward from midnight.
            double days = static_cast<double>(epoch.daysTo(dt.date()));
            double fraction = dt.time().msecsSinceStartOfDay() / 86400000.0;
            return days < 0 ? days - fraction : days + fraction;
        }
    }
    for (const QString& f : dates) {
        QDate d = QDate::fromString(t, f);
        if (d.isValid())
            return static_cast<double>(epoch.daysTo(d));
    }
    for (const QString& f : times) {
        QTime tm = QTime::fromString(t, f);
        if (tm.isValid())
            return tm.msecsSinceStartOfDay() / 86400000.0;
    }
    return std::nullopt;
}

} // namespace lumigra
