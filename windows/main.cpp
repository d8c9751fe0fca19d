// The Windows program's entry: finds the machine's services and places once,
// and creates frmMain, which loads itself and runs.
#include "dialogs.h"
#include "elevation.h"
#include "file.h"
#include "frmmain.h"
#include "settingsstore.h"
#include "sysinfo.h"
#include "updatesfolder.h"

#include <exception>

using namespace brinevar;

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show)
{
    // Anything not handled where it arose ends the program with a report that
    // names it, as the platform's own error report would.
    try {
        // The elevated copy of a save as administrator does that alone.
        if (int exitCode = 0; win::RunAsElevatedCopy(exitCode))
            return exitCode;
        win::RegistrySettingsStore store;
        const MainServices services{
            store, win::UserNumberFormat, MachineDefaultUpdatesFolder,
            PlacesOf(ProgramFolder(), UserDataFolder(), VirtualStoreFolder()), win::RunElevated};
        frmMain window(instance, services, SystemSysInfoMachine());
        return window.Run(show);
    } catch (const std::exception &error) {
        win::MsgBox(nullptr, error.what());
        return 1;
    }
}
