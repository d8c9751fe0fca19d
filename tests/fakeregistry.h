// A registry in memory for tests. It keeps what a standard user meets under
// HKEY_LOCAL_MACHINE: reading is allowed, an open that asks for any write
// right is refused. It records every call, so tests can see which values were
// read and that every key opened was closed again.
#pragma once

#include "registry.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

class FakeRegistry : public brinevar::Registry {
public:
    struct Value {
        std::uint32_t type;
        std::string data; // the raw bytes, closing zero included where wanted
    };
    // Key path below HKEY_LOCAL_MACHINE -> value name -> value.
    std::map<std::string, std::map<std::string, Value>> keys;

    struct Open {
        brinevar::HKey root;
        std::string path;
        std::uint32_t options, access;
    };
    std::vector<Open> opens;          // every open asked for
    std::vector<std::string> queries; // "key path|value name", every query asked for
    std::vector<brinevar::HKey> opened, closed;

    long OpenKeyEx(brinevar::HKey key, const std::string &subKey, std::uint32_t options,
                   std::uint32_t samDesired, brinevar::HKey *result) override
    {
        opens.push_back({key, subKey, options, samDesired});
        if (key != brinevar::kHKeyLocalMachine || !keys.contains(subKey))
            return brinevar::kErrorFileNotFound;
        if (samDesired & ~brinevar::kKeyRead)
            return brinevar::kErrorAccessDenied;
        *result = 0x1000 + opens.size();
        handles_[*result] = subKey;
        opened.push_back(*result);
        return brinevar::kErrorSuccess;
    }

    long QueryValueEx(brinevar::HKey key, const std::string &valueName, std::uint32_t *type,
                      unsigned char *data, std::uint32_t *dataSize) override
    {
        const auto handle = handles_.find(key);
        if (handle == handles_.end())
            return brinevar::kErrorInvalidHandle;
        queries.push_back(handle->second + '|' + valueName);
        const auto &values = keys.at(handle->second);
        const auto value = values.find(valueName);
        if (value == values.end())
            return brinevar::kErrorFileNotFound;
        const auto size = std::uint32_t(value->second.data.size());
        const bool fits = size <= *dataSize;
        *type = value->second.type;
        *dataSize = size;
        if (!fits)
            return brinevar::kErrorMoreData;
        std::memcpy(data, value->second.data.data(), size);
        return brinevar::kErrorSuccess;
    }

    long CloseKey(brinevar::HKey key) override
    {
        closed.push_back(key);
        return handles_.erase(key) ? brinevar::kErrorSuccess : brinevar::kErrorInvalidHandle;
    }

    // Whether each key opened was closed exactly once, and nothing else was.
    bool everyKeyClosedOnce() const
    {
        auto a = opened, b = closed;
        std::ranges::sort(a);
        std::ranges::sort(b);
        return a == b;
    }

    // Whether any open asked for the key `keyPath`.
    bool askedFor(const std::string &keyPath) const
    {
        return std::ranges::any_of(opens, [&](const Open &o) { return o.path == keyPath; });
    }

private:
    std::map<brinevar::HKey, std::string> handles_;
};
