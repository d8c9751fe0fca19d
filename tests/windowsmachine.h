// What main passes the Windows program's window, over a program folder of the
// test's own.
#pragma once

#include "file.h"
#include "launcher.h"
#include "mainwindow.h"
#include "settingsstore.h"
#include "sysinfo.h"
#include "testfolder.h"
#include "updatesfolder.h"

struct Machine {
    brinevar::win::RegistrySettingsStore store;
    TestFolder folder;
    brinevar::MainServices services{store, brinevar::win::UserNumberFormat,
                                    brinevar::MachineDefaultUpdatesFolder,
                                    brinevar::PlacesOf(folder.path(), folder.path())};
    brinevar::SysInfoMachine sysInfo = brinevar::SystemSysInfoMachine();
};
