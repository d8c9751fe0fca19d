#include "sysinfo.h"

#include "ansicodepage.h"

#include <algorithm>

namespace brinevar {

bool GetKeyValue(Registry &registry, HKey KeyRoot, const std::string &KeyName,
                 const std::string &SubKeyRef, std::string &KeyVal, Result &readable)
{
    RegistryValue value;
    if (!registry.ReadValue(KeyRoot, ToAnsi(KeyName), ToAnsi(SubKeyRef), kSysInfoKeyAccess,
                            kKeyValueBufferSize, value)) {
        KeyVal.clear();
        return false;
    }
    if (value.data.empty()) {
        KeyVal.clear();
        readable =
            Result::Failure("The registry value " + KeyName + "\\" + SubKeyRef + " holds no data");
        return false;
    }

    std::string_view data = value.data;
    if (data.back() == '\0')
        data.remove_suffix(1);

    switch (value.type) {
    case kRegSz:
        KeyVal = FromAnsi(data);
        break;
    case kRegDword: {
        // Least significant byte first; shorter data counts as zero bytes.
        // Read unsigned: 0xFFFFFFFF is 4294967295, not -1.
        std::uint32_t number = 0;
        for (std::size_t i = std::min<std::size_t>(value.data.size(), 4); i-- > 0;)
            number = number << 8 | static_cast<unsigned char>(value.data[i]);
        KeyVal = std::to_string(number);
        break;
    }
    default:
        break; // other types are found, but give no text
    }
    return true;
}

namespace {

// Finds the tool and starts it.
Result FindAndStart(const SysInfoSystem &system)
{
    const Result unavailable = Result::Failure(std::string(kSysInfoUnavailable));
    Result readable;
    std::string path;
    const bool named =
        GetKeyValue(system.machine.registry, kHKeyLocalMachine, std::string(kSysInfoKey),
                    std::string(kSysInfoValue), path, readable);
    if (!readable)
        return unavailable;
    if (!named) {
        if (!GetKeyValue(system.machine.registry, kHKeyLocalMachine,
                         std::string(kSysInfoLocationKey), std::string(kSysInfoLocationValue), path,
                         readable))
            return unavailable;
        // The folder is taken as it stands: one ending in a backslash gives a
        // doubled backslash, which Windows reads as one.
        std::string candidate = path + std::string(kSysInfoProgram);
        if (!system.machine.isOrdinaryFile(candidate))
            return unavailable;
        path = std::move(candidate);
    }
    // The first entry's path is not tested here: a missing program fails to
    // start.
    return system.machine.startProgram(path) ? Result() : unavailable;
}

} // namespace

void StartSysInfo(const SysInfoSystem &system)
{
    if (const Result started = FindAndStart(system); !started)
        system.message(started.message());
}

} // namespace brinevar
