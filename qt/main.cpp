#include "application.h"
#include "file.h"
#include "frmmain.h"
#include "settingsstore.h"
#include "sysinfo.h"
#include "updatesfolder.h"

using namespace brinevar;

int main(int argc, char *argv[])
{
    Dialogs dialogs;
    Application app(argc, argv, dialogs);
    // The machine and the places the windows work with, found once.
    QtSettingsStore store;
    const MainServices services{store, UserNumberFormat, MachineDefaultUpdatesFolder,
                                PlacesOf(ProgramFolder(), UserDataFolder(), VirtualStoreFolder())};
    const SysInfoMachine machine = SystemSysInfoMachine();
    return app.run([&] {
        auto window = std::make_unique<frmMain>(dialogs, services, machine);
        window->Form_Load();
        return window;
    });
}
