// Creating the control by CLSID and ProgID, registered and unregistered,
// and the module-wide limits of the component server.
#include <dlfcn.h>

#include <fstream>
#include <sstream>

#include "ChartHost.h"
#include "lumigra/Errors.h"
#include "platform/com/Registry.h"

using namespace charttest;

namespace {

using ServerFn = HRESULT (*)();

void* componentLibrary()
{
    std::string path = std::string(RAYLEN_BIN_DIR) + "/liblumigra.so";
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    EXPECT_NE(handle, nullptr) << dlerror();
    return handle;
}

HRESULT createStrict(const std::string& text, Obj& out)
{
    // No registration-free fallback: only the registry can resolve it.
    return createInstance(text, IID_IDispatch, reinterpret_cast<void**>(out.out()));
}

} // namespace

TEST(ChartServer, CreatesUnregisteredControlBesideTheProgramByProgIdAndClsid)
{
    testDataHome();
    Obj byProgId, byClsid;
    ASSERT_EQ(lumigra::createControl("LUMIGRA.LumigraCtrl.1", reinterpret_cast<IDispatch**>(byProgId.out())), S_OK);
    ASSERT_EQ(lumigra::createControl("{DD4CC723-3918-11D0-8BF9-000000000001}",
                                     reinterpret_cast<IDispatch**>(byClsid.out())),
              S_OK);
    EXPECT_EQ(Call(byProgId, dsp::control::GetVersion).i2(), 120);
    EXPECT_EQ(Call(byClsid, dsp::control::Path).str(), std::string(RAYLEN_BIN_DIR));
    Obj none;
    EXPECT_EQ(createStrict("LUMIGRA.LumigraCtrl.1", none), CO_E_CLASSSTRING);
    EXPECT_EQ(createStrict("{DD4CC723-3918-11D0-8BF9-000000000001}", none), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(lumigra::createControl("{DD4CC723-3918-11D0-8BF9-000000000002}", reinterpret_cast<IDispatch**>(none.out())),
              REGDB_E_CLASSNOTREG);
}

TEST(ChartServer, RegistrationWritesTheUserRegistryAndCreationUsesIt)
{
    testDataHome();
    void* library = componentLibrary();
    auto registerServer = reinterpret_cast<ServerFn>(dlsym(library, "DllRegisterServer"));
    auto unregisterServer = reinterpret_cast<ServerFn>(dlsym(library, "DllUnregisterServer"));
    ASSERT_TRUE(registerServer && unregisterServer);
    ASSERT_EQ(registerServer(), S_OK);

    std::ifstream in(registryFile());
    std::stringstream contents;
    contents << in.rdbuf();
    EXPECT_NE(contents.str().find("LUMIGRA.LumigraCtrl.1"), std::string::npos);
    EXPECT_NE(contents.str().find(std::string(RAYLEN_BIN_DIR) + "/liblumigra.so"), std::string::npos);
    ASSERT_TRUE(clsidFromProgId("LUMIGRA.LumigraCtrl.1"));
    EXPECT_EQ(toString(*clsidFromProgId("LUMIGRA.LumigraCtrl.1")), "{DD4CC723-3918-11D0-8BF9-000000000001}");

    Obj byProgId, byClsid;
    ASSERT_EQ(createStrict("LUMIGRA.LumigraCtrl.1", byProgId), S_OK);
    ASSERT_EQ(createStrict("{dd4cc723-3918-11d0-8bf9-000000000001}", byClsid), S_OK);
    EXPECT_EQ(Get(byProgId, dsp::control::MaxLoop).i4(), 20000);

    ASSERT_EQ(unregisterServer(), S_OK);
    Obj none;
    EXPECT_EQ(createStrict("LUMIGRA.LumigraCtrl.1", none), CO_E_CLASSSTRING);
    EXPECT_FALSE(libraryOfClass(lumigra::CLSID_Lumigra));
}

TEST(ChartServer, UnloadsOnlyWhenNoObjectIsAlive)
{
    void* library = componentLibrary();
    auto canUnload = reinterpret_cast<ServerFn>(dlsym(library, "DllCanUnloadNow"));
    ASSERT_TRUE(canUnload);
    {
        Obj control = newControl();
        Obj pen = CallObj(GetObj(control, dsp::control::Pens), dsp::collection::Add);
        control.reset();
        EXPECT_EQ(canUnload(), S_FALSE); // the pen outlives its control
        // An object of a destroyed control refuses every call.
        Raised r = invokeRaw(pen, dsp::pen::Width, DISPATCH_PROPERTYGET, {});
        EXPECT_EQ(r.status, DISP_E_EXCEPTION);
        EXPECT_EQ(r.info.wCode, 1001);
    }
    EXPECT_EQ(canUnload(), S_OK);
}

TEST(ChartServer, The201stControlShowsTheLimitMessageAndStillWorks)
{
    platform::ScriptedUiService ui;
    platform::ScopedUiService scope(&ui);
    std::vector<Obj> controls;
    for (int i = 0; i < 200; ++i)
        controls.push_back(newControl());
    EXPECT_TRUE(ui.shown.empty());
    Obj extra = newControl();
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].prompt, "ERROR(Lumigra):作成できるコントロールの最大数(200)を超えました。");
    EXPECT_EQ(Call(extra, dsp::control::GetVersion).i2(), 120);
    // A slot given back is taken by the next control.
    controls.pop_back();
    Obj again = newControl();
    EXPECT_EQ(ui.shown.size(), 1u);
}
