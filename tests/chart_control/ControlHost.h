#pragma once
// A widget host for the control: creates it by CLSID, embeds its window,
// listens to its events and reads pixels back.
#include <QApplication>
#include <QImage>
#include <QWidget>

#include <atomic>
#include <functional>
#include <map>

#include "ChartHost.h"
#include "lumigra/Window.h"

namespace controltest {

using namespace charttest;

inline constexpr char kClsid[] = "{DD4CC723-3918-11D0-8BF9-000000000001}";

inline Obj controlByClsid()
{
    testDataHome();
    Obj control;
    EXPECT_EQ(lumigra::createControl(kClsid, reinterpret_cast<IDispatch**>(control.out())), S_OK);
    return control;
}

// The control's window, sized and shown offscreen.
inline QWidget* showWindow(const Obj& control, int width, int height)
{
    void* p = nullptr;
    EXPECT_EQ(control->QueryInterface(lumigra::IID_ILumigraWindow, &p), S_OK);
    auto* window = static_cast<lumigra::ILumigraWindow*>(p);
    QWidget* w = window->window(nullptr);
    window->Release();
    if (!w)
        return nullptr;
    w->resize(width, height);
    w->show();
    QApplication::processEvents();
    return w;
}

// An event sink of _DLumigraEvents: counts each event and lets the test answer.
class EventSink final : public IDispatch {
public:
    std::function<void(DispId, std::vector<Variant>&)> handler;
    std::map<DispId, int> calls;

    HRESULT QueryInterface(const Guid& iid, void** object) override
    {
        if (iid == IID_IUnknown || iid == IID_IDispatch) {
            AddRef();
            *object = this;
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    uint32_t AddRef() override { return ++refs; }
    uint32_t Release() override { return --refs; } // lives on the test's stack
    HRESULT GetIDsOfNames(const std::vector<std::string>&, std::vector<DispId>&) override { return E_NOTIMPL; }
    HRESULT Invoke(DispId id, uint16_t, std::vector<Variant>& args, Variant*, ExcepInfo*) override
    {
        ++calls[id];
        if (handler)
            handler(id, args);
        return S_OK;
    }
    std::atomic<uint32_t> refs{1};
};

// Registers a sink for as long as the object lives.
class Advised {
public:
    Advised(const Obj& control, EventSink& sink) : control_(host(control))
    {
        EXPECT_EQ(control_->advise(&sink, &cookie_), S_OK);
    }
    ~Advised() { control_->unadvise(cookie_); }

private:
    lumigra::ILumigraControl* control_;
    uint32_t cookie_ = 0;
};

// Drawing millimetres of a control painted at dpi (no offset, scale 1) to pixels.
struct Surface {
    double dpi;
    int heightPx;
    double perMm() const { return dpi / 25.4; }
    double px(double mm) const { return mm * perMm(); }
    double py(double mm) const { return heightPx - mm * perMm(); }
};

inline bool dark(QRgb c) { return qRed(c) < 90 && qGreen(c) < 90 && qBlue(c) < 90; }

// Is there a dark pixel within radius of (x, y)?
inline bool darkNear(const QImage& image, double x, double y, int radius = 1)
{
    const int cx = static_cast<int>(x), cy = static_cast<int>(y);
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx) {
            const int px = cx + dx, py = cy + dy;
            if (image.valid(px, py) && dark(image.pixel(px, py)))
                return true;
        }
    return false;
}

} // namespace controltest
