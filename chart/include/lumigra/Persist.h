#pragma once
// The control's persisted properties, as a container keeps them with its
// document: named values in a property bag. The host asks the control for
// this interface with QueryInterface(IID_ILumigraPersist).
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/com/Dispatch.h"

namespace lumigra {

inline constexpr platform::com::Guid IID_ILumigraPersist =
    platform::com::makeGuid("{DD4CC7F1-3918-11D0-8BF9-000000000001}");

struct PropertyBag {
    std::vector<std::pair<std::string, std::vector<uint8_t>>> values;

    const std::vector<uint8_t>* find(const std::string& name) const
    {
        for (auto& [key, bytes] : values)
            if (key == name)
                return &bytes;
        return nullptr;
    }
    void put(const std::string& name, std::vector<uint8_t> bytes)
    {
        for (auto& [key, value] : values)
            if (key == name) {
                value = std::move(bytes);
                return;
            }
        values.emplace_back(name, std::move(bytes));
    }
};

struct ILumigraPersist : platform::com::IUnknown {
    // "_Version" (major << 16 | minor, 4 bytes), the stock "BackColor" (4
    // bytes), "Contents" (the object text of the whole chart),
    // "BackPicture" and "Picture0", "Picture1", ... for the picture holders
    // (standard picture streams). Little-endian throughout.
    virtual platform::com::HRESULT saveProperties(PropertyBag& bag) = 0;
    // Loads what the bag holds; without "Contents" the chart stays. The
    // control ends unmodified, even when loading stopped part way.
    virtual platform::com::HRESULT loadProperties(const PropertyBag& bag) = 0;
    // The version the last load found (0 when none was stored).
    virtual int32_t loadedVersion() = 0;

protected:
    ~ILumigraPersist() = default;
};

} // namespace lumigra
