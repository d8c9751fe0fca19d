// Windows names its system information tool in the registry.
#include "sysinfo.h"

#include "ansicodepage.h"
#include "file.h"

#include <algorithm>

namespace brinevar {

bool GetKeyValue(Registry &registry, HKey KeyRoot, const std::string &KeyName,
                 const std::string &SubKeyRef, std::string &KeyVal, Result &readable)
{
    RegistryValue value;
    // Why the value cannot be read (missing, refused, too long) is dropped on
    // purpose: to the search each is an entry that is not there.
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

Result FindSysInfo(Registry &registry,
                   const std::function<bool(const std::string &)> &isOrdinaryFile,
                   std::string &commandLine)
{
    const Result unavailable = Result::Failure(std::string(kSysInfoUnavailable));
    Result readable;
    commandLine.clear();
    // The first entry's path is not tested here: a missing program fails to
    // start.
    if (GetKeyValue(registry, kHKeyLocalMachine, std::string(kSysInfoKey),
                    std::string(kSysInfoValue), commandLine, readable))
        return {};
    if (!readable)
        return readable;
    if (!GetKeyValue(registry, kHKeyLocalMachine, std::string(kSysInfoLocationKey),
                     std::string(kSysInfoLocationValue), commandLine, readable))
        return readable ? unavailable : readable;
    // The folder is taken as it stands: one ending in a backslash gives a
    // doubled backslash, which Windows reads as one.
    commandLine += kSysInfoProgram;
    return isOrdinaryFile(commandLine) ? Result() : unavailable;
}

Result FindSysInfo(std::string &commandLine)
{
    return FindSysInfo(SystemRegistry(), IsOrdinaryFile, commandLine);
}

} // namespace brinevar
