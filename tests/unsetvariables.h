// Environment variables unset for one scope, and put back as they were
// (POSIX).
#pragma once

#include <cstdlib>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class UnsetVariables {
public:
    UnsetVariables(std::initializer_list<const char *> names)
    {
        for (const char *name : names) {
            const char *value = std::getenv(name);
            saved_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
            unsetenv(name);
        }
    }
    ~UnsetVariables()
    {
        for (const auto &[name, value] : saved_)
            if (value)
                setenv(name.c_str(), value->c_str(), 1);
    }
    UnsetVariables(const UnsetVariables &) = delete;
    UnsetVariables &operator=(const UnsetVariables &) = delete;

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};
