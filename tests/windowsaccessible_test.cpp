// What screen readers find in the Windows windows through oleacc, beyond the
// controls' own names: the captions that the windows paint; and the system
// DLLs that the program loads while it runs, from the system folder alone.
#include "frmmain.h"
#include "mainlayout.h"
#include "systemlibrary.h"
#include "widetext.h"
#include "windowsmachine.h"

#include <gtest/gtest.h>
#include <oleacc.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace brinevar;
using namespace brinevar::win;

namespace {

struct Caption {
    std::string name;
    std::string shortcut;
    VARIANT id;
};

struct Children {
    std::vector<Caption> captions; // in order
    std::vector<HWND> controls;    // in order
    bool captionAfterControl = false;
};

std::string Utf8(BSTR text)
{
    const std::string utf8 = WideToUtf8(text ? text : L"");
    SysFreeString(text);
    return utf8;
}

// The children of `window`'s client area, as a screen reader lists them.
Children ChildrenOf(HWND window)
{
    Children found;
    IAccessible *client = nullptr;
    if (AccessibleObjectFromWindow(window, DWORD(OBJID_CLIENT), __uuidof(IAccessible),
                                   reinterpret_cast<void **>(&client)) != S_OK)
        return found;
    LONG count = 0, got = 0;
    client->get_accChildCount(&count);
    std::vector<VARIANT> children(std::size_t(count), VARIANT{});
    AccessibleChildren(client, 0, count, children.data(), &got);
    for (LONG i = 0; i < got; ++i) {
        VARIANT &child = children[std::size_t(i)];
        if (child.vt == VT_DISPATCH) {
            HWND control = nullptr;
            IAccessible *object = nullptr;
            if (SUCCEEDED(child.pdispVal->QueryInterface(__uuidof(IAccessible),
                                                         reinterpret_cast<void **>(&object)))) {
                WindowFromAccessibleObject(object, &control);
                object->Release();
            }
            found.controls.push_back(control);
            child.pdispVal->Release();
            continue;
        }
        found.captionAfterControl |= !found.controls.empty();
        VARIANT role{};
        BSTR name = nullptr, shortcut = nullptr;
        client->get_accRole(child, &role);
        client->get_accName(child, &name);
        client->get_accKeyboardShortcut(child, &shortcut);
        if (role.vt == VT_I4 && role.lVal == ROLE_SYSTEM_STATICTEXT)
            found.captions.push_back({Utf8(name), Utf8(shortcut), child});
        else
            found.captions.push_back({"(not static text) " + Utf8(name), Utf8(shortcut), child});
    }
    client->Release();
    return found;
}

class WindowsAccessibleTest : public ::testing::Test {
protected:
    void SetUp() override { CoInitialize(nullptr); }
    void TearDown() override { CoUninitialize(); }
};

// Every caption of the main window, the introduction and the warning among
// them, before its 32 controls; the two links with their access keys.
TEST_F(WindowsAccessibleTest, TheMainWindowListsItsCaptionsWithTheirWords)
{
    Machine machine;
    frmMain main(GetModuleHandleW(nullptr), machine.services, machine.sysInfo);
    HWND window = FindWindowW(L"BrinevarMain", nullptr);
    ASSERT_NE(window, nullptr);
    const Children children = ChildrenOf(window);

    std::vector<std::string> names, expected;
    for (const Caption &caption : children.captions) {
        names.push_back(caption.name);
        const std::string wanted = caption.name == "View ZT Path" ? "Alt+V"
                                   : caption.name == "About"      ? "Alt+A"
                                                                  : "";
        EXPECT_EQ(caption.shortcut, wanted) << caption.name;
    }
    for (const ControlRow &row : MainLayout())
        if (row.kind == ControlKind::Label || row.kind == ControlKind::LinkLabel)
            expected.push_back(ShownText(row.text));
    EXPECT_EQ(names, expected);
    EXPECT_NE(std::find(names.begin(), names.end(),
                        "This will replace any tanks.cfg file in your updates folder."),
              names.end());
    EXPECT_FALSE(children.captionAfterControl);
    ASSERT_EQ(children.controls.size(), 32u);
    for (HWND control : children.controls)
        EXPECT_EQ(GetParent(control), window);

    // Pointing at the warning finds it.
    IAccessible *client = nullptr;
    ASSERT_EQ(AccessibleObjectFromWindow(window, DWORD(OBJID_CLIENT), __uuidof(IAccessible),
                                         reinterpret_cast<void **>(&client)),
              S_OK);
    const ControlRow *warning = FindRow(MainLayout(), "Label36");
    POINT point{TwipsToPixels(warning->left + 60, DpiOf(window)),
                TwipsToPixels(warning->top + 60, DpiOf(window))};
    ClientToScreen(window, &point);
    VARIANT hit{};
    ASSERT_EQ(client->accHitTest(point.x, point.y, &hit), S_OK);
    BSTR name = nullptr;
    client->get_accName(hit, &name);
    EXPECT_EQ(Utf8(name), ShownText(warning->text));
    client->Release();
    DestroyWindow(window);
    MSG quit; // the one WM_DESTROY posts
    PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

// Looked at while the box is up, then Esc; a box that stays closes itself
// after a while, so that a failing test cannot hang.
Children aboutChildren;
bool aboutStayedOpen = false;
int aboutTicks = 0;

void CALLBACK LookAtTheAboutBox(HWND, UINT, UINT_PTR, DWORD)
{
    HWND box = FindWindowW(nullptr, L"About Brinevar");
    if (!box)
        return;
    if (++aboutTicks == 1) {
        aboutChildren = ChildrenOf(box);
        PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
    } else if (aboutTicks > 40) {
        aboutStayedOpen = true;
        EndDialog(box, IDOK);
    }
}

// The about box's title and version line, description and thanks, and Esc
// closing it through its OK button.
TEST_F(WindowsAccessibleTest, TheAboutBoxListsItsTitleAndVersion)
{
    Machine machine;
    frmMain main(GetModuleHandleW(nullptr), machine.services, machine.sysInfo);
    HWND window = FindWindowW(L"BrinevarMain", nullptr);
    ASSERT_NE(window, nullptr);
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, LookAtTheAboutBox);
    main.CreateAbout()->ShowModal();
    KillTimer(nullptr, timer);
    EXPECT_FALSE(aboutStayedOpen) << "Esc did not close the box";

    std::vector<std::string> names;
    for (const Caption &caption : aboutChildren.captions)
        names.push_back(caption.name);
    EXPECT_EQ(names,
              (std::vector<std::string>{"Brinevar", "Version 1.0.0",
                                        "To Edit the tanks.cfg file in Zoo Tycoon Marine Mania",
                                        "Thanks to:", "Everyone who beta tested for me!!"}));
    EXPECT_EQ(aboutChildren.controls.size(), 2u);
    DestroyWindow(window);
    MSG quit; // the one WM_DESTROY posts
    PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

std::wstring ModulePath(HMODULE module)
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(module, path, MAX_PATH);
    return path;
}

std::wstring Lower(std::wstring text)
{
    CharLowerW(text.data());
    return text;
}

// A DLL beside the program is passed over, whether the system can restrict
// the search or not (Windows 7 without KB2533623): only the system folder is
// searched. Loaded by its bare name, the DLL beside the program is found.
TEST(WindowsSystemLibraryTest, ASystemDllComesFromTheSystemFolderOnly)
{
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    for (const bool restricted : {true, false}) {
        if (restricted && !CanSearchSystemFolderOnly())
            continue;
        EXPECT_EQ(LoadSystemLibrary(L"planted.dll", restricted), nullptr) << restricted;
        HMODULE loaded = LoadSystemLibrary(L"oleacc.dll", restricted);
        ASSERT_NE(loaded, nullptr) << restricted;
        EXPECT_EQ(Lower(ModulePath(loaded)), Lower(std::wstring(system) + L"\\oleacc.dll"));
        FreeLibrary(loaded);
    }
    HMODULE bare = LoadLibraryW(L"planted.dll");
    EXPECT_NE(GetProcAddress(bare, "Planted"), nullptr) << "the DLL is not beside the test";
    FreeLibrary(bare);
}

} // namespace
