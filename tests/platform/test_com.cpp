// The component-object stand-ins: variant conversions and the 16-byte
// memory form, identifier text, and the per-user registry.
#include "../support/TestSupport.h"

#include "platform/com/Dispatch.h"
#include "platform/com/Guid.h"
#include "platform/com/Registry.h"
#include "platform/com/Variant.h"

#include <cmath>
#include <cstring>

using namespace platform::com;

namespace {

std::array<uint8_t, 16> bytes16(std::initializer_list<int> head, std::initializer_list<int> value)
{
    std::array<uint8_t, 16> b{};
    size_t i = 0;
    for (int x : head)
        b[i++] = static_cast<uint8_t>(x);
    i = 8;
    for (int x : value)
        b[i++] = static_cast<uint8_t>(x);
    return b;
}

// The dispatch interface's identifier, whose text and memory form are fixed.
constexpr char dispatchText[] = "{00020400-0000-0000-C000-000000000046}";

} // namespace

TEST(Variant, ConversionsRoundHalfToEvenAndRefuseOverflow)
{
    EXPECT_EQ(Variant::fromString("2.5").toI4(), 2);
    EXPECT_EQ(Variant::fromString("3.5").toI4(), 4);
    EXPECT_EQ(Variant::fromR8(-2.5).toI2(), -2);
    EXPECT_EQ(Variant::fromR8(32767.4).toI2(), 32767);
    EXPECT_EQ(Variant::fromR8(32767.5).toI2(), std::nullopt);
    EXPECT_EQ(Variant::fromR8(-2147483648.4).toI4(), -2147483647 - 1);
    EXPECT_EQ(Variant::fromR8(2147483647.5).toI4(), std::nullopt);
    EXPECT_EQ(Variant::fromString("True").toDouble(), -1.0);
    EXPECT_EQ(Variant::fromString("false").toDouble(), 0.0);
    EXPECT_EQ(Variant::fromString("abc").toDouble(), std::nullopt);
    EXPECT_EQ(Variant().toDouble(), 0.0);
    EXPECT_EQ(Variant::fromBool(true).toI4(), -1);
    EXPECT_EQ(Variant::fromBool(true).toText(), "True");
    EXPECT_EQ(Variant::fromI2(-7).toText(), "-7");
    EXPECT_EQ(Variant::fromR4(0.1f).toText(), "0.1");
    EXPECT_EQ(Variant::fromR8(0.1).toText(), "0.1");
    EXPECT_EQ(Variant::fromR8(1e39).changeType(VT_R4), std::nullopt);
    EXPECT_EQ(Variant::fromString("12").changeType(VT_BOOL)->boolean(), true);
    EXPECT_EQ(Variant::fromI4(1).changeType(VT_DISPATCH), std::nullopt);
    // Currency: ten-thousandths, rounded half to even.
    EXPECT_EQ(Variant::fromR8(1.23456).changeType(VT_CY)->currency(), 12346);
    EXPECT_EQ(Variant::fromR8(0.00025).changeType(VT_CY)->currency(), 2);
    EXPECT_EQ(Variant::fromR8(0.00035).changeType(VT_CY)->currency(), 4);
    EXPECT_EQ(Variant::fromR8(0.00005).changeType(VT_CY)->currency(), 0);
    // 0.00015 is a little below its decimal text, so it rounds down.
    EXPECT_EQ(Variant::fromR8(0.00015).changeType(VT_CY)->currency(), 1);
    EXPECT_EQ(Variant::fromCurrency(12345).toDouble(), 1.2345);
    EXPECT_EQ(Variant::fromCurrency(-5).toText(), "-0.0005");
    EXPECT_EQ(Variant::fromR8(9.3e14).changeType(VT_CY), std::nullopt);
}

TEST(Variant, APackedSingleArrayIsTheArrayOfSingleVariants)
{
    const float block[] = {1.5f, std::nanf(""), -0.0f, 3e38f};
    Variant general = Variant::makeArray(VT_R4, 1, 4);
    for (size_t i = 0; i < 4; ++i)
        general.at(i) = Variant::fromR4(block[i]);
    Variant packed = Variant::fromSingles(block, 1);
    EXPECT_EQ(packed.vt(), VT_ARRAY | VT_R4);
    EXPECT_EQ(packed.lbound(), 1);
    EXPECT_EQ(packed.ubound(), 4);
    EXPECT_EQ(packed.elementCount(), 4u);
    EXPECT_EQ(packed.toBytes16(), bytes16({}, {}));
    EXPECT_TRUE(packed.sameAs(general));
    EXPECT_TRUE(general.sameAs(packed));
    EXPECT_TRUE(packed.packed()) << "comparing reads in place";
    Variant copy = packed;
    EXPECT_TRUE(copy.packed());
    EXPECT_TRUE(copy.sameAs(packed));
    general.at(0) = Variant::fromR4(2.0f);
    EXPECT_FALSE(packed.sameAs(general));

    // Reached by reference it unpacks, values and copies unchanged.
    EXPECT_EQ(packed.element(4)->r4(), 3e38f);
    EXPECT_FALSE(packed.packed());
    EXPECT_TRUE(packed.singles().empty());
    EXPECT_TRUE(packed.sameAs(copy));
    packed.at(0) = Variant::fromR4(2.0f);
    EXPECT_TRUE(packed.sameAs(general));
    EXPECT_EQ(copy.singles()[0], 1.5f);
    EXPECT_EQ(Variant::fromSingles({}).elementCount(), 0u);
}

TEST(Variant, SixteenByteFormIsTheAutomationLayout)
{
    // Type code in the first two bytes, the value from byte 8, little-endian.
    EXPECT_EQ(Variant::fromI2(-2).toBytes16(), bytes16({2, 0}, {0xFE, 0xFF}));
    EXPECT_EQ(Variant::fromI4(0x01020304).toBytes16(), bytes16({3, 0}, {4, 3, 2, 1}));
    EXPECT_EQ(Variant::fromR4(1.0f).toBytes16(), bytes16({4, 0}, {0, 0, 0x80, 0x3F}));
    EXPECT_EQ(Variant::fromR8(1.0).toBytes16(), bytes16({5, 0}, {0, 0, 0, 0, 0, 0, 0xF0, 0x3F}));
    EXPECT_EQ(Variant::fromCurrency(12345).toBytes16(), bytes16({6, 0}, {0x39, 0x30, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Variant::fromBool(true).toBytes16(), bytes16({11, 0}, {0xFF, 0xFF}));
    EXPECT_EQ(Variant::missing().toBytes16(), bytes16({10, 0}, {0x04, 0x00, 0x02, 0x80}));
    EXPECT_EQ(Variant::null().toBytes16(), bytes16({1, 0}, {}));
    // What holds a pointer is stored empty.
    EXPECT_EQ(Variant::fromString("text").toBytes16(), bytes16({}, {}));
    EXPECT_EQ(Variant::makeArray(VT_I2, 0, 3).toBytes16(), bytes16({}, {}));
    Variant target = Variant::fromI4(9);
    EXPECT_EQ(Variant::byRef(&target).toBytes16(), bytes16({3, 0}, {9}));

    for (const Variant& v : {Variant::fromI2(-32768), Variant::fromI4(-1), Variant::fromR4(-0.0f),
                             Variant::fromR8(6562.817), Variant::fromCurrency(-922337203685477LL),
                             Variant::fromDate(45000.25), Variant::fromBool(false), Variant::missing(), Variant::null(),
                             Variant()}) {
        auto bytes = v.toBytes16();
        EXPECT_TRUE(Variant::fromBytes16(bytes.data()).sameAs(v)) << v.vt();
    }
}

TEST(Guid, TextAndMemoryForm)
{
    auto parsed = parseGuid(dispatchText);
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(parsed->data1, 0x00020400u);
    EXPECT_EQ(parsed->data2, 0u);
    EXPECT_EQ(parsed->data3, 0u);
    EXPECT_EQ(parsed->data4, (std::array<uint8_t, 8>{0xC0, 0, 0, 0, 0, 0, 0, 0x46}));
    EXPECT_EQ(toString(*parsed), dispatchText);
    EXPECT_EQ(*parsed, makeGuid(dispatchText));
    // In memory as the interface identifiers are laid out on disk and wire.
    static_assert(sizeof(Guid) == 16);
    const uint8_t expected[16] = {0x00, 0x04, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                  0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
    EXPECT_EQ(std::memcmp(&*parsed, expected, 16), 0);

    EXPECT_EQ(parseGuid("6b29fc40-ca47-1067-b31d-00dd010662da"), makeGuid("{6B29FC40-CA47-1067-B31D-00DD010662DA}"));
    for (const char* bad : {"", "{6B29FC40-CA47-1067-B31D-00DD010662DA", "6B29FC40CA471067B31D00DD010662DA",
                            "{6B29FC40-CA47-1067-B31D-00DD010662DG}", "{6B29FC40-CA47-1067-B31D_00DD010662DA}",
                            "{6B29FC40-CA47-1067-B31D-00DD010662DA}x"})
        EXPECT_EQ(parseGuid(bad), std::nullopt) << bad;
}

TEST(Registry, ClassesByProgIdInTheUsersFile)
{
    testsupport::TempDir dir;
    const char* saved = std::getenv("XDG_DATA_HOME");
    std::string previous = saved ? saved : "";
    ::setenv("XDG_DATA_HOME", dir.path().c_str(), 1);
    EXPECT_EQ(registryFile(), dir.path() + "/raylen/components.ini");

    const Guid clsid = makeGuid("{6B29FC40-CA47-1067-B31D-00DD010662DA}");
    EXPECT_EQ(clsidFromProgId("Raylen.Probe"), std::nullopt);
    ASSERT_EQ(registerClass(clsid, "Raylen.Probe", "probe", "/nowhere/libprobe.so", "ProbeLib"), S_OK);
    EXPECT_EQ(clsidFromProgId("Raylen.Probe"), clsid);
    EXPECT_EQ(libraryOfClass(clsid), "/nowhere/libprobe.so");
    std::string text = testsupport::readAll(registryFile());
    EXPECT_NE(text.find("[ProgID]\nRaylen.Probe\\CLSID={6B29FC40-CA47-1067-B31D-00DD010662DA}"), std::string::npos)
        << text;

    void* object = reinterpret_cast<void*>(1);
    // Registered, but its library is not there, and nothing stands in for it.
    EXPECT_EQ(createInstance("Raylen.Probe", IID_IDispatch, &object), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(createInstance("Raylen.Unknown", IID_IDispatch, &object), CO_E_CLASSSTRING);
    EXPECT_EQ(createInstance("{not a class}", IID_IDispatch, &object), CO_E_CLASSSTRING);
    EXPECT_EQ(createInstance("Raylen.Probe", IID_IDispatch, &object, {{clsid, "Raylen.Probe", "libmissing.so"}}),
              CO_E_DLLNOTFOUND);
    EXPECT_EQ(createInstance("Raylen.Probe", IID_IDispatch, nullptr), E_POINTER);

    ASSERT_EQ(unregisterClass(clsid, "Raylen.Probe"), S_OK);
    EXPECT_EQ(clsidFromProgId("Raylen.Probe"), std::nullopt);
    EXPECT_EQ(libraryOfClass(clsid), std::nullopt);

    if (saved)
        ::setenv("XDG_DATA_HOME", previous.c_str(), 1);
    else
        ::unsetenv("XDG_DATA_HOME");
}
