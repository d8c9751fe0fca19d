// A registry in memory for tests. It keeps what a standard user meets under
// HKEY_LOCAL_MACHINE: reading is allowed, a read that asks for any write
// right is refused. It records every read, so tests can see what was read.
#pragma once

#include "registry.h"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

class FakeRegistry : public brinevar::Registry {
public:
    using Value = brinevar::RegistryValue;
    // Key path below HKEY_LOCAL_MACHINE -> value name -> value.
    std::map<std::string, std::map<std::string, Value>> keys;

    struct Read {
        brinevar::HKey root;
        std::string key, value;
        std::uint32_t access;
    };
    std::vector<Read> reads;

    brinevar::Result ReadValue(brinevar::HKey root, const std::string &subKey,
                               const std::string &valueName, std::uint32_t access,
                               std::uint32_t bufferSize, Value &value) override
    {
        reads.push_back({root, subKey, valueName, access});
        if (root != brinevar::kHKeyLocalMachine || !keys.contains(subKey))
            return brinevar::RegistryFailure(brinevar::kErrorFileNotFound);
        if (access & ~brinevar::kKeyRead)
            return brinevar::RegistryFailure(brinevar::kErrorAccessDenied);
        const auto found = keys.at(subKey).find(valueName);
        if (found == keys.at(subKey).end())
            return brinevar::RegistryFailure(brinevar::kErrorFileNotFound);
        if (found->second.data.size() > bufferSize)
            return brinevar::RegistryFailure(brinevar::kErrorMoreData);
        value = found->second;
        return {};
    }

    // Whether any read asked for the key `keyPath`.
    bool askedFor(const std::string &keyPath) const
    {
        return std::ranges::any_of(reads, [&](const Read &r) { return r.key == keyPath; });
    }
};
