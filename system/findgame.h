// The look for an installed game, whose Updates folder the folder prompt
// then offers. The places looked in are patterns, evaluated over what a
// machine tells (its home folder, environment, registry and drives), so that
// the look takes a bounded time: no folder is searched below the levels that
// a pattern names.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace brinevar {

class Registry;

// What the look reads of a machine. The program passes the machine's own
// (MachineLookSources); each system reads only its own members.
struct LookSources {
    // POSIX systems: the user's home folder, below which the launchers keep
    // their Wine prefixes.
    std::filesystem::path home;
    // An environment variable's value (UTF-8); empty when it is not set.
    std::function<std::string(const std::string &name)> variable;
    // Windows: where the game's setup records its folder, and the roots of
    // the fixed drives ("D:\").
    Registry *registry = nullptr;
    std::function<std::vector<std::filesystem::path>()> fixedDrives;
};

// This machine's sources. Reads nothing yet: the look reads them when it runs.
LookSources MachineLookSources();

// Where this system may hold the game's folder, most likely first. A name
// "*" in a pattern stands for each entry of the folder before it.
std::vector<std::filesystem::path> GameFolderPatterns(const LookSources &sources);

// The Updates folder of the first folder matching `patterns` that holds the
// game: its program zoo.exe and an Updates folder, names compared without
// regard to case (as a Windows drive does, also in a Wine prefix on Linux).
std::optional<std::filesystem::path>
FindGameUpdates(const std::vector<std::filesystem::path> &patterns);

} // namespace brinevar
