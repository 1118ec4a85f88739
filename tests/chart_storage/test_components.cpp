// The module's registered pieces: clipboard formats, the format component
// "Lumigra.VbFormat" and its binding, the [HelperDLL] add-in, the about box.
#include <filesystem>
#include <fstream>
#include <sstream>

#include <QWidget>

#include "IniFile.h"
#include "StorageHost.h"
#include "lumigra/Window.h"
#include "platform/com/Registry.h"
#include "module/ClipboardFormats.h"
#include "server/Components.h"
#include "server/VbFormat.h"

extern "C" platform::com::HRESULT DllRegisterServer();
extern "C" platform::com::HRESULT DllUnregisterServer();
extern "C" platform::com::HRESULT DllCanUnloadNow();

using namespace charttest;

namespace {

namespace c = dsp::control;
namespace col = dsp::collection;

constexpr int vbSystemModal = 4096;
const Guid CLSID_Broken = makeGuid("{0BAD0BAD-0000-4000-8000-000000000001}");
const Guid CLSID_TestAddIn = makeGuid("{5E1F0A10-7C2B-4D3E-9F40-112233445566}");

Obj formatObject()
{
    Obj format;
    std::vector<RegistrationFreeClass> beside{{lumigra::CLSID_VbFormat, "Lumigra.VbFormat", "liblumigra.so"}};
    EXPECT_EQ(createInstance("Lumigra.VbFormat", IID_IDispatch, reinterpret_cast<void**>(format.out()), beside), S_OK);
    return format;
}

} // namespace

TEST(ChartComponents, PrivateFormatsAreRegisteredOncePerProcessUnderTheirMimeTypes)
{
    Obj first = newControl(), second = newControl();
    // Registered at module start-up, before anything else.
    EXPECT_EQ(lumigra::registerClipboardFormat("Lumigra Private Format"), 0xC000u);
    int16_t format = Call(first, c::ClipFormat).i2();
    EXPECT_EQ(Call(second, c::ClipFormat).i2(), format);
    uint16_t number = static_cast<uint16_t>(format);
    EXPECT_GT(number, 0xC000u);
    EXPECT_LT(format, 0) << "a registered format number does not fit a positive 16-bit value";
    EXPECT_EQ(lumigra::registerClipboardFormat("LUMIGRA WORKS PRIVATE FORMAT"), number);
    EXPECT_EQ(lumigra::clipboardFormatMime(number).value_or(""), "application/x-lumigra-works-private-format");
    EXPECT_EQ(lumigra::clipboardFormatMime(0xC000).value_or(""), "application/x-lumigra-private-format");
    EXPECT_FALSE(lumigra::clipboardFormatMime(0xBFFF).has_value());
}

TEST(ChartComponents, FormatComponentFormatsNumbersAndDatesAndParsesDates)
{
    newControl();
    Obj format = formatObject();
    ASSERT_TRUE(format);
    DispId formatVal = dispIdOf(format.get(), "FormatVal");
    DispId dateVal = dispIdOf(format.get(), "DateVal");
    EXPECT_EQ(Call(format, formatVal, {R8(1234.5), Str("0.0#####E+0")}).str(), "1.2345E+3");
    EXPECT_EQ(Call(format, formatVal, {R8(3.14159), Str("0.00")}).str(), "3.14");
    EXPECT_EQ(Call(format, formatVal, {R8(2.5)}).str(), "2.5");
    EXPECT_EQ(Call(format, formatVal, {Str("abc"), Str("0.00")}).str(), "abc");
    // Reference values from Python's datetime (days since 1899-12-30).
    EXPECT_EQ(Call(format, formatVal, {Variant::fromDate(46000.5), Str("General Date")}).str(), "2025/12/09 12:00:00");
    Variant date = Call(format, dateVal, {Str("2026/12/07 10:30:00")});
    EXPECT_EQ(date.vt(), VT_DATE);
    EXPECT_DOUBLE_EQ(date.r8(), 46363.4375);
    EXPECT_DOUBLE_EQ(Call(format, dateVal, {Str("1899-12-29 06:00:00")}).r8(), -1.25);
    Raised bad = invokeRaw(format, dateVal, DISPATCH_METHOD, {Str("not a date")});
    EXPECT_EQ(bad.status, DISP_E_EXCEPTION);
    EXPECT_EQ(bad.info.wCode, 1003);
    EXPECT_EQ(bad.info.source, "Lumigra.VbFormat");
}

TEST(ChartComponents, FormatBindingReportsAMissingComponentAndTriesAgainOnTheNextNeed)
{
    newControl();
    platform::ScriptedUiService ui;
    platform::ScopedUiService scoped(&ui);
    lumigra::releaseComponents(2);
    const std::string loadFailure = "Lumigra:エラー、Format.dll をロードできません。";

    // Registered to a file that is no library: only the load message.
    std::string notALibrary = std::string(RAYLEN_TEST_DIR) + "/ole_dump.py";
    ASSERT_EQ(registerClass(CLSID_Broken, "Lumigra.VbFormat", "broken", notALibrary, ""), S_OK);
    std::string text = "left over";
    EXPECT_FALSE(lumigra::formatValue(Variant::fromR8(1.5), "0.0", text));
    EXPECT_EQ(text, "");
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].prompt, loadFailure);
    EXPECT_EQ(ui.shown[0].style, platform::vbCritical | vbSystemModal);

    // Registered to a class without a library: the system's text first.
    ASSERT_EQ(registerClass(CLSID_Broken, "Lumigra.VbFormat", "broken", "/nonexistent/Format.so", ""), S_OK);
    EXPECT_EQ(lumigra::dateValue("2026/12/07"), 0.0);
    ASSERT_EQ(ui.shown.size(), 3u);
    EXPECT_EQ(ui.shown[1].prompt, "クラスが登録されていません");
    EXPECT_EQ(ui.shown[2].prompt, loadFailure);

    // Registered properly, the next need binds it.
    unregisterClass(CLSID_Broken, "Lumigra.VbFormat");
    ASSERT_EQ(DllRegisterServer(), S_OK);
    EXPECT_EQ(clsidFromProgId("Lumigra.VbFormat"), lumigra::CLSID_VbFormat);
    Obj registered;
    EXPECT_EQ(createInstance("Lumigra.VbFormat", IID_IDispatch, reinterpret_cast<void**>(registered.out())), S_OK);
    EXPECT_TRUE(lumigra::formatValue(Variant::fromR8(1.5), "0.00", text));
    EXPECT_EQ(text, "1.50");
    EXPECT_DOUBLE_EQ(lumigra::dateValue("2026/12/07"), 46363.0);
    EXPECT_EQ(ui.shown.size(), 3u);
    // A value the component cannot format gives an empty text, not a failure.
    EXPECT_TRUE(lumigra::formatValue(Variant::makeArray(VT_R8, 0, 1), "0", text));
    EXPECT_EQ(text, "");
    EXPECT_EQ(DllUnregisterServer(), S_OK);
    EXPECT_FALSE(clsidFromProgId("Lumigra.VbFormat").has_value());
}

TEST(ChartComponents, AddInNamedInTheIniFileIsConsultedWithTheControlAndTwoObjects)
{
    IniFile ini(RAYLEN_BIN_DIR);
    Obj control = newControl();
    Obj pens = GetObj(control, c::Pens);
    Obj free = CallObj(pens, col::Add, {Str("Free")});
    Obj locked = CallObj(pens, col::Add, {Str("Locked")});
    ASSERT_EQ(registerClass(CLSID_TestAddIn, "LumigraTest.AddIn", "test add-in", TEST_ADDIN_LIBRARY, ""), S_OK);

    // Without a [HelperDLL] section every change is allowed.
    lumigra::releaseComponents(1);
    ini.write("[Lumigra]\nLoadMode=0\n");
    EXPECT_TRUE(lumigra::consultAddIn(control.get(), free.get(), locked.get()));
    EXPECT_EQ(Get(free, dsp::common::Tag).i4(), 0);

    ini.write("[HelperDLL]\nProgID=LumigraTest.AddIn\nEntry=MayChange\n");
    EXPECT_FALSE(lumigra::consultAddIn(control.get(), free.get(), locked.get()));
    EXPECT_TRUE(lumigra::consultAddIn(control.get(), free.get(), free.get()));
    EXPECT_EQ(Get(free, dsp::common::Tag).i4(), 2);
    // A call the add-in refuses counts as allowed.
    EXPECT_TRUE(lumigra::consultAddIn(free.get(), free.get(), locked.get()));

    // An entry the add-in does not have leaves it absent, silently.
    lumigra::releaseComponents(1);
    platform::ScriptedUiService ui;
    platform::ScopedUiService scoped(&ui);
    ini.write("[HelperDLL]\nProgID=LumigraTest.AddIn\nEntry=NoSuchMember\n");
    EXPECT_TRUE(lumigra::consultAddIn(control.get(), free.get(), locked.get()));
    EXPECT_EQ(Get(free, dsp::common::Tag).i4(), 2);
    EXPECT_TRUE(ui.shown.empty());
    lumigra::releaseComponents(1);
    unregisterClass(CLSID_TestAddIn, "LumigraTest.AddIn");
}

TEST(ChartComponents, ShutDownLetsGoOfTheFormatComponentOnlyWithLoadModeBit2)
{
    lumigra::releaseComponents(3);
    ASSERT_EQ(DllCanUnloadNow(), S_OK) << "an object of another test is still alive";
    std::string text;
    ASSERT_TRUE(lumigra::formatValue(Variant::fromI4(7), "00", text));
    EXPECT_EQ(text, "07");
    EXPECT_EQ(DllCanUnloadNow(), S_FALSE);
    lumigra::releaseComponents(1);
    EXPECT_EQ(DllCanUnloadNow(), S_FALSE);
    lumigra::releaseComponents(2);
    EXPECT_EQ(DllCanUnloadNow(), S_OK);
}

TEST(ChartComponents, AboutBoxShowsTheComponentVersion)
{
    platform::ScriptedUiService ui;
    platform::ScopedUiService scoped(&ui);
    Obj control = newControl();
    Call(control, c::AboutBox);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].prompt, "Lumigra Works Graph Component\nVersion 1.20");
    EXPECT_EQ(ui.shown[0].title, "Lumigra Works のバージョン情報");
}

TEST(ChartComponents, WindowHandleIsZeroUntilTheContainerAsksForTheWindow)
{
    Obj control = newControl();
    EXPECT_EQ(Call(control, c::hWnd).i4(), 0);
    ComPtr<lumigra::ILumigraWindow> window;
    ASSERT_EQ(control->QueryInterface(lumigra::IID_ILumigraWindow, window.out()), S_OK);
    QWidget* widget = window->window(nullptr);
    ASSERT_NE(widget, nullptr);
    int32_t handle = Call(control, c::hWnd).i4();
    EXPECT_NE(handle, 0);
    EXPECT_EQ(handle, static_cast<int32_t>(widget->winId()));
    delete widget;
}
