// The container's persisted properties: the exchange version, the stock
// back colour, the chart as "Contents" and the pictures beside it.
#include <filesystem>
#include <fstream>

#include "StorageHost.h"
#include "lumigra/Persist.h"

using namespace charttest;

namespace {

namespace c = dsp::control;
namespace col = dsp::collection;

ComPtr<lumigra::ILumigraPersist> persistOf(const Obj& control)
{
    ComPtr<lumigra::ILumigraPersist> p;
    EXPECT_EQ(control->QueryInterface(lumigra::IID_ILumigraPersist, p.out()), S_OK);
    return p;
}

std::vector<uint8_t> le32(uint32_t v)
{
    return {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
            static_cast<uint8_t>(v >> 24)};
}

} // namespace

TEST(ChartPersist, SavesVersionBackColourContentsAndPictures)
{
    Obj control = newControl();
    Put(control, c::BackColor, I4(0x123456));
    testsupport::TempDir dir;
    const std::string image = dir.file("logo.gif");
    testsupport::writeAll(image, "GIF89a");
    Obj holder = CallObj(GetObj(control, c::PictureHolders), col::Add, {Str("Logo")});
    ASSERT_TRUE(Call(holder, dsp::pictureHolder::LoadPicture, {Str(image)}).boolean());

    lumigra::PropertyBag bag;
    ASSERT_EQ(persistOf(control)->saveProperties(bag), S_OK);
    std::vector<std::string> names;
    for (auto& [name, bytes] : bag.values)
        names.push_back(name);
    EXPECT_EQ(names, (std::vector<std::string>{"_Version", "BackColor", "Contents", "BackPicture", "Picture0"}));
    EXPECT_EQ(*bag.find("_Version"), le32(0x00010002));
    EXPECT_EQ(*bag.find("BackColor"), le32(0x123456));
    EXPECT_EQ(*bag.find("Contents"), host(control)->saveObjectText());
    EXPECT_EQ(*bag.find("BackPicture"), (std::vector<uint8_t>{'l', 't', 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(*bag.find("Picture0"), (std::vector<uint8_t>{'l', 't', 0, 0, 6, 0, 0, 0, 'G', 'I', 'F', '8', '9', 'a'}));
}

TEST(ChartPersist, LoadingRestoresTheChartWithTheContainersOwnSettingsAndEndsUnmodified)
{
    Obj source = newControl();
    Put(source, c::AutoRedraw, Bool(false));
    Put(source, c::OLEDropMode, I2(0));
    Put(source, c::OLEDragMode, I2(0));
    CallObj(GetObj(source, c::XyCharts), col::Add, {Str("Spectrum")});
    lumigra::PropertyBag bag;
    ASSERT_EQ(persistOf(source)->saveProperties(bag), S_OK);

    Obj target = newControl();
    auto persist = persistOf(target);
    EXPECT_EQ(persist->loadedVersion(), 0);
    ASSERT_EQ(persist->loadProperties(bag), S_OK);
    EXPECT_EQ(persist->loadedVersion(), 0x00010002);
    EXPECT_FALSE(host(target)->isModified());
    EXPECT_EQ(textOf(target), textOf(source));
    // Unlike Copy and RestoreFromMemory, the container's copy takes these three.
    EXPECT_FALSE(Get(target, c::AutoRedraw).boolean());
    EXPECT_EQ(Get(target, c::OLEDropMode).i2(), 0);
    EXPECT_EQ(Get(target, c::OLEDragMode).i2(), 0);

    Obj other = newControl();
    int32_t handle = Call(source, c::SaveToMemory).i4();
    ASSERT_EQ(Call(other, c::RestoreFromMemory, {I4(handle), I2(93)}).i4(), 1);
    EXPECT_TRUE(Get(other, c::AutoRedraw).boolean());
    EXPECT_EQ(Get(other, c::OLEDropMode).i2(), 2);
}

TEST(ChartPersist, ABagWithoutContentsKeepsTheChartAndADamagedOneLeavesItUnmodified)
{
    Obj control = newControl();
    CallObj(GetObj(control, c::Pens), col::Add, {I4(2)});
    std::string pens = collectionRecord(textOf(control), "Pens");
    lumigra::PropertyBag colourOnly;
    colourOnly.put("BackColor", le32(0xFF));
    colourOnly.put("_Version", {1, 2}); // too short to be a version
    ASSERT_EQ(persistOf(control)->loadProperties(colourOnly), S_OK);
    EXPECT_EQ(collectionRecord(textOf(control), "Pens"), pens);
    EXPECT_EQ(Get(control, c::BackColor).i4(), 0xFF);
    EXPECT_EQ(persistOf(control)->loadedVersion(), 0);
    EXPECT_FALSE(host(control)->isModified());

    platform::ScriptedUiService ui;
    platform::ScopedUiService scoped(&ui);
    lumigra::PropertyBag newer;
    std::string text = "Lumigra:\nVersion=";
    int16_t version = 130;
    text.append(reinterpret_cast<const char*>(&version), 2);
    text += "\n";
    uint32_t size = static_cast<uint32_t>(text.size());
    std::vector<uint8_t> block(reinterpret_cast<uint8_t*>(&size), reinterpret_cast<uint8_t*>(&size) + 4);
    block.insert(block.end(), text.begin(), text.end());
    block.push_back(0);
    newer.put("Contents", block);
    newer.put("BackPicture", std::vector<uint8_t>{'l', 't', 0, 0, 2, 0, 0, 0, 'B', 'M'});
    const std::string before = textOf(control);
    ui.answers.push_back(platform::vbYes);
    EXPECT_NE(persistOf(control)->loadProperties(newer), S_OK);
    // Abandoned: the chart stays whole, its pens included.
    EXPECT_EQ(textOf(control), before);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_NE(ui.shown[0].prompt.find("(120)"), std::string::npos);
    EXPECT_NE(ui.shown[0].prompt.find("(130)"), std::string::npos);
    EXPECT_FALSE(host(control)->isModified());
}

TEST(ChartPersist, CopyCarriesThePicturesToTheOtherControl)
{
    Obj source = newControl(), target = newControl();
    testsupport::TempDir dir;
    const std::string image = dir.file("logo.png");
    testsupport::writeAll(image, "\x89PNG");
    Obj holder = CallObj(GetObj(source, c::PictureHolders), col::Add, {Str("Logo")});
    ASSERT_TRUE(Call(holder, dsp::pictureHolder::LoadPicture, {Str(image)}).boolean());
    EXPECT_TRUE(Call(source, c::Copy, {O(target)}).boolean());
    Obj copied = CallObj(GetObj(target, c::PictureHolders), col::Item, {I4(1)});
    EXPECT_FALSE(Get(copied, dsp::pictureHolder::IsEmpty).boolean());
    lumigra::PropertyBag bag;
    ASSERT_EQ(persistOf(target)->saveProperties(bag), S_OK);
    EXPECT_EQ(*bag.find("Picture0"), (std::vector<uint8_t>{'l', 't', 0, 0, 4, 0, 0, 0, 0x89, 'P', 'N', 'G'}));
}
