#pragma once
// Shared by the widget tests: FITS fixtures written byte by byte, the main
// window with a scripted dialog service, and event helpers.
#include "../support/TestSupport.h"
#include "platform/UiService.h"
#include "state/AppState.h"
#include "shell/gui/MdiRaylen.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace guitest {

using testsupport::card;
using testsupport::readAll;
using testsupport::TempDir;
using testsupport::writeAll;

inline std::string valueCard(const std::string& key, const std::string& value)
{
    std::string c = key;
    c.resize(8, ' ');
    c += "= ";
    std::string v = value;
    if (v.size() < 20)
        v = std::string(20 - v.size(), ' ') + v;
    return card(c + v);
}

using PixelValue = std::function<double(int x, int y)>;

// A FITS image written by hand: BITPIX 16 (with BZERO 32768 when asked),
// 32 or -32, big-endian data, padded to whole blocks.
inline std::string fitsBytes(int bitpix, int width, int height, const PixelValue& value, bool bzero32768 = false,
                             const std::vector<std::string>& extraCards = {})
{
    std::string header = card("SIMPLE  =                    T");
    header += valueCard("BITPIX", std::to_string(bitpix));
    header += valueCard("NAXIS", "2");
    header += valueCard("NAXIS1", std::to_string(width));
    header += valueCard("NAXIS2", std::to_string(height));
    if (bzero32768) {
        header += valueCard("BZERO", "32768");
        header += valueCard("BSCALE", "1");
    }
    for (const std::string& extra : extraCards)
        header += card(extra);
    header += card("END");
    header.resize((header.size() + 2879) / 2880 * 2880, ' ');
    std::string data;
    auto put = [&data](uint64_t bits, int bytes) {
        for (int i = bytes - 1; i >= 0; --i)
            data.push_back(static_cast<char>((bits >> (8 * i)) & 0xFF));
    };
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            double v = value(x, y);
            if (bitpix == 16) {
                long stored = std::lround(bzero32768 ? v - 32768 : v);
                put(static_cast<uint16_t>(static_cast<int16_t>(stored)), 2);
            } else if (bitpix == 32) {
                put(static_cast<uint32_t>(static_cast<int32_t>(std::lround(v))), 4);
            } else {
                float f = static_cast<float>(v);
                uint32_t bits;
                std::memcpy(&bits, &f, 4);
                put(bits, 4);
            }
        }
    data.resize((data.size() + 2879) / 2880 * 2880, '\0');
    return header + data;
}

inline std::string writeFits(const std::string& path, int bitpix, int width, int height, const PixelValue& value,
                             bool bzero32768 = false, const std::vector<std::string>& extraCards = {})
{
    writeAll(path, fitsBytes(bitpix, width, height, value, bzero32768, extraCards));
    return path;
}

// The main window with a fresh shared state and a scripted dialog service.
class Harness {
public:
    Harness() : scope_(&ui)
    {
        raylen::appState() = raylen::AppState();
        main = std::make_unique<raylen::MdiRaylen>();
        main->show();
        QApplication::processEvents();
    }
    ~Harness()
    {
        // Nothing left to ask about when the window goes.
        raylen::appState().blnImageChanged = false;
        main.reset();
        QApplication::processEvents();
    }

    // Opens a file through the main window's open command.
    void openThroughDialog(const std::string& path)
    {
        ui.answerDialog(path);
        main->mnuOpen->trigger();
        QApplication::processEvents();
    }

    platform::ScriptedUiService ui;
    std::unique_ptr<raylen::MdiRaylen> main;

private:
    platform::ScopedUiService scope_;
};

inline void mouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, QPointF(at), widget->mapToGlobal(QPointF(at)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

inline std::string text(const QString& s) { return s.toStdString(); }

// Opens the menu that holds `item` and clicks the item with the mouse, as
// a user picks it; false when no menu holds it or it did not fire.
inline bool clickMenuItem(QAction* item)
{
    QMenu* menu = nullptr;
    for (QObject* o : item->associatedObjects())
        if (auto* m = qobject_cast<QMenu*>(o))
            menu = m;
    if (menu == nullptr)
        return false;
    bool fired = false;
    const QMetaObject::Connection watch = QObject::connect(item, &QAction::triggered, [&] { fired = true; });
    menu->popup(QPoint(0, 0));
    QApplication::processEvents();
    const QPoint at = menu->actionGeometry(item).center();
    mouse(menu, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
    mouse(menu, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    mouse(menu, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
    QApplication::processEvents();
    QObject::disconnect(watch);
    menu->hide();
    return fired;
}

} // namespace guitest
