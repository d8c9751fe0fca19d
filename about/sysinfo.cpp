#include "sysinfo.h"

#include "ansicodepage.h"

#include <algorithm>
#include <array>

namespace brinevar {
namespace {

// Closes a key that was opened, however the reader leaves.
class OpenKey {
public:
    OpenKey(Registry &registry, HKey key) : registry_(registry), key_(key) {}
    ~OpenKey() { registry_.CloseKey(key_); } // the result of closing changes nothing
    OpenKey(const OpenKey &) = delete;
    OpenKey &operator=(const OpenKey &) = delete;

    HKey handle() const { return key_; }

private:
    Registry &registry_;
    HKey key_;
};

} // namespace

bool GetKeyValue(Registry &registry, HKey KeyRoot, const std::string &KeyName,
                 const std::string &SubKeyRef, std::string &KeyVal)
{
    HKey handle = 0;
    if (registry.OpenKeyEx(KeyRoot, ToAnsi(KeyName), 0, kSysInfoKeyAccess, &handle) !=
        kErrorSuccess) {
        KeyVal.clear();
        return false;
    }
    const OpenKey key(registry, handle);

    std::array<unsigned char, kKeyValueBufferSize> buffer{};
    std::uint32_t size = kKeyValueBufferSize;
    std::uint32_t type = 0;
    if (registry.QueryValueEx(key.handle(), ToAnsi(SubKeyRef), &type, buffer.data(), &size) !=
        kErrorSuccess) {
        KeyVal.clear();
        return false;
    }
    if (size == 0)
        throw EmptyRegistryValue("The registry value " + KeyName + "\\" + SubKeyRef +
                                 " holds no data");

    // A size beyond the buffer can only come from a faulty registry; never
    // read past the buffer for it.
    std::string_view data(reinterpret_cast<const char *>(buffer.data()),
                          std::min(size, kKeyValueBufferSize));
    if (data.back() == '\0')
        data.remove_suffix(1);

    switch (type) {
    case kRegSz:
        KeyVal = FromAnsi(data);
        break;
    case kRegDword: {
        // Least significant byte first; the zeroed buffer pads shorter data.
        // Read unsigned: 0xFFFFFFFF is 4294967295, not -1.
        std::uint32_t number = 0;
        for (int i = 3; i >= 0; --i)
            number = number << 8 | buffer[std::size_t(i)];
        KeyVal = std::to_string(number);
        break;
    }
    default:
        break; // other types are found, but give no text
    }
    return true;
}

namespace {

// Finds the tool and starts it; false when it is not there or does not start.
bool FindAndStart(const SysInfoSystem &system)
{
    std::string path;
    if (!GetKeyValue(system.machine.registry, kHKeyLocalMachine, std::string(kSysInfoKey),
                     std::string(kSysInfoValue), path)) {
        if (!GetKeyValue(system.machine.registry, kHKeyLocalMachine,
                         std::string(kSysInfoLocationKey), std::string(kSysInfoLocationValue),
                         path))
            return false;
        // The folder is taken as it stands: one ending in a backslash gives a
        // doubled backslash, which Windows reads as one.
        std::string candidate = path + std::string(kSysInfoProgram);
        if (!system.machine.isOrdinaryFile(candidate))
            return false;
        path = std::move(candidate);
    }
    // The first entry's path is not tested here: a missing program fails to
    // start.
    return system.machine.startProgram(path);
}

} // namespace

void StartSysInfo(const SysInfoSystem &system)
{
    bool started = false;
    try {
        started = FindAndStart(system);
    } catch (const std::exception &) {
        // A failure on the way ends in the same message as a tool not found.
    }
    if (!started)
        system.message(std::string(kSysInfoUnavailable));
}

} // namespace brinevar
