// The Windows window's controls and its focus gate, through real windows and
// real messages under Wine: rows drawn at their twips, a later label above
// an earlier one, Tab walking the focus order, a refused check stopping a
// press, and where the main window stands.
#include "accessibletext.h"
#include "focusgate.h"
#include "form.h"
#include "frmmain.h"
#include "mainlayout.h"
#include "widetext.h"
#include "windowsmachine.h"

#include <gtest/gtest.h>
#include <oleacc.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

using namespace brinevar;
using namespace brinevar::win;

namespace {

std::vector<int> clicked; // command ids of BN_CLICKED, in order

LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED)
        clicked.push_back(LOWORD(wParam));
    return DefWindowProcW(window, message, wParam, lParam);
}

// One window for all the cases: Wine takes seconds to take a shown window
// down where no window manager answers.
class WindowsFormTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = TestWindowProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"WindowsFormTest";
        RegisterClassW(&windowClass);
        window_ = CreateWindowExW(0, L"WindowsFormTest", L"Brinevar test",
                                  WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 900, 650, nullptr,
                                  nullptr, windowClass.hInstance, nullptr);
        form_.Build(window_, MainLayout(), DpiOf(window_), kTerrainListColumns);
        std::vector<HWND> order;
        for (const ControlRow *row : MainFocusOrder())
            order.push_back(form_.Find(row->name, row->index));
        gate_ = std::make_unique<FocusGate>(window_, order, [](HWND field) {
            checked_.push_back(Name(field));
            return refuse_ && Name(field) == "Text7";
        });
        ShowWindow(window_, SW_SHOW);
        SetForegroundWindow(window_);
    }
    static void TearDownTestSuite()
    {
        gate_.reset();
        DestroyWindow(window_);
    }
    void SetUp() override
    {
        refuse_ = false;
        SetFocus(Control("Text1"));
        Pump();
        checked_.clear();
        clicked.clear();
    }

    static HWND Control(const char *name, int index = -1) { return form_.Find(name, index); }
    static std::string Name(HWND control)
    {
        const ControlRow *row = form_.RowOf(control);
        return row ? std::string(row->name) + (row->index >= 0 ? std::to_string(row->index) : "")
                   : "?";
    }
    std::string Focus() { return Name(GetFocus()); }

    // One message through the gate and on to the window, as the loop does.
    void Deliver(HWND target, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        const MSG msg{target, message, wParam, lParam, 0, {}};
        if (!gate_->PreTranslate(msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Pump();
    }
    void Press(HWND target)
    {
        Deliver(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
        Deliver(target, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    }
    void Key(WPARAM key, bool shift = false)
    {
        BYTE keys[256] = {};
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(keys);
        Deliver(GetFocus(), WM_KEYDOWN, key);
        keys[VK_SHIFT] = 0;
        SetKeyboardState(keys);
    }
    static void Pump()
    {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    int IdOf(HWND control) { return GetDlgCtrlID(control); }

    static inline HWND window_ = nullptr;
    static inline Form form_;
    static inline std::unique_ptr<FocusGate> gate_;
    static inline std::vector<std::string> checked_;
    static inline bool refuse_ = false;
};

TEST_F(WindowsFormTest, RowsStandAtTheirTwipsAndALaterLabelLiesAbove)
{
    const int dpi = form_.Dpi();
    int windows = 0;
    for (HWND child = GetWindow(window_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        ++windows;
    EXPECT_EQ(windows, 32); // fields, buttons and the list; the parent paints the labels
    for (const ControlRow &row : MainLayout()) {
        const int left = TwipsToPixels(row.left, dpi), top = TwipsToPixels(row.top, dpi);
        const int bottom = TwipsToPixels(row.top + row.height, dpi);
        const int right = TwipsToPixels(row.left + row.width, dpi);
        if (HWND control = form_.Find(row.name, row.index)) {
            RECT r;
            GetWindowRect(control, &r);
            MapWindowPoints(nullptr, window_, reinterpret_cast<POINT *>(&r), 2);
            EXPECT_EQ(r.left, left) << row.name;
            EXPECT_EQ(r.top, top) << row.name;
            EXPECT_EQ(r.bottom, bottom) << row.name;
            EXPECT_EQ(r.right - r.left, TwipsToPixels(row.width, dpi)) << row.name;
            continue;
        }
        // A label is painted by the window: it answers where it is drawn.
        // Its corners belong to it or to a later label drawn above it (a
        // one-line caption may grow to hold its text, never shrink), and
        // nothing of it lies just left of, above or below it.
        for (const POINT corner : {POINT{left, top}, POINT{right - 1, bottom - 1}}) {
            const ControlRow *hit = form_.LabelAt(corner);
            EXPECT_TRUE(hit && hit >= &row) << row.name;
        }
        for (const POINT outside :
             {POINT{left - 1, top}, POINT{left, top - 1}, POINT{left, bottom}})
            EXPECT_NE(form_.LabelAt(outside), &row) << row.name;
    }
    // Where the two overlap, Label36 is drawn above Label33.
    const POINT overlap{TwipsToPixels(1000, dpi), TwipsToPixels(540, dpi)};
    ASSERT_NE(form_.LabelAt(overlap), nullptr);
    EXPECT_EQ(form_.LabelAt(overlap)->name, "Label36");
    EXPECT_EQ(SendMessageW(Control("List1"), LB_GETCOUNT, 0, 0), 18);
}

// The edit control's own limit of 30,000 typed characters is lifted.
TEST_F(WindowsFormTest, AFieldTakesTypingBeyondThirtyThousandCharacters)
{
    HWND field = Control("Text6");
    SetWindowTextW(field, std::wstring(30000, L'7').c_str());
    SetFocus(field);
    SendMessageW(field, EM_SETSEL, 30000, 30000);
    Deliver(field, WM_CHAR, L'8');
    EXPECT_EQ(GetWindowTextLengthW(field), 30001);
    SetWindowTextW(field, L"300");
}

TEST_F(WindowsFormTest, TabWalksTheFocusOrderBothWays)
{
    std::vector<std::string> expected;
    for (const ControlRow *row : MainFocusOrder())
        expected.push_back(std::string(row->name) +
                           (row->index >= 0 ? std::to_string(row->index) : ""));
    std::vector<std::string> forward{Focus()};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        Key(VK_TAB);
        forward.push_back(Focus());
    }
    std::vector<std::string> backward{Focus()};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        Key(VK_TAB, true);
        backward.insert(backward.begin(), Focus());
    }
    expected.push_back("Text1");
    EXPECT_EQ(forward, expected);
    EXPECT_EQ(backward, expected);
    EXPECT_TRUE(clicked.empty());
}

TEST_F(WindowsFormTest, ARefusedFieldKeepsTheFocusAndThePressIsLost)
{
    refuse_ = true;
    SetFocus(Control("Text7"));
    Press(Control("Command3"));
    Key(VK_TAB);
    Key(VK_TAB, true);
    Press(Control("List1"));
    EXPECT_EQ(Focus(), "Text7");
    EXPECT_TRUE(clicked.empty());
    EXPECT_EQ(checked_, (std::vector<std::string>{"Text7", "Text7", "Text7", "Text7"}));

    // Once the field passes, the same press moves the focus and clicks.
    refuse_ = false;
    Press(Control("Command3"));
    EXPECT_EQ(Focus(), "Command3");
    EXPECT_EQ(clicked, std::vector<int>{IdOf(Control("Command3"))});
}

TEST_F(WindowsFormTest, CaptionsTakeNoFocusAndRunNoCheck)
{
    refuse_ = true;
    SetFocus(Control("Text7"));
    for (const char *caption : {"Label41", "Label43", "Label22"}) {
        const ControlRow &row = *std::ranges::find(MainLayout(), caption, &ControlRow::name);
        const int dpi = form_.Dpi();
        const LPARAM middle = MAKELPARAM(TwipsToPixels(row.left + row.width / 2, dpi),
                                         TwipsToPixels(row.top + row.height / 2, dpi));
        Deliver(window_, WM_LBUTTONDOWN, MK_LBUTTON, middle);
        Deliver(window_, WM_LBUTTONUP, 0, middle);
    }
    EXPECT_EQ(Focus(), "Text7");
    EXPECT_TRUE(checked_.empty());
}

TEST_F(WindowsFormTest, EnterPressesOnlyAFocusedButton)
{
    Key(VK_RETURN); // in Text1
    Key(VK_ESCAPE);
    EXPECT_TRUE(clicked.empty());
    EXPECT_EQ(Focus(), "Text1");
    SetFocus(Control("cmdDefault"));
    Key(VK_RETURN);
    EXPECT_EQ(clicked, std::vector<int>{IdOf(Control("cmdDefault"))});
}

// On Xvfb's screen, larger than the window at 96 DPI, the frame is centred
// on the work area around the layout's whole client area.
TEST(WindowsMainWindowTest, KeepsItsClientSizeInAFrameCentredOnTheWorkArea)
{
    Machine machine;
    frmMain main(GetModuleHandleW(nullptr), machine.services, machine.sysInfo);
    HWND window = FindWindowW(L"BrinevarMain", nullptr);
    ASSERT_NE(window, nullptr);
    const int dpi = DpiOf(window);
    RECT client, frame;
    GetClientRect(window, &client);
    GetWindowRect(window, &frame);
    MONITORINFO monitor{sizeof monitor, {}, {}, 0};
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT &work = monitor.rcWork;
    DestroyWindow(window);
    MSG quit; // the one WM_DESTROY posts
    PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);

    EXPECT_EQ(client.right, TwipsToPixels(kMainWidth, dpi));
    EXPECT_EQ(client.bottom, TwipsToPixels(kMainHeight, dpi));
    EXPECT_GT(frame.left, work.left);
    EXPECT_GT(frame.top, work.top);
    EXPECT_LE(std::abs((frame.left - work.left) - (work.right - frame.right)), 1);
    EXPECT_LE(std::abs((frame.top - work.top) - (work.bottom - frame.bottom)), 1);
}

// What a screen reader reads: every field, "?" button and the list named and
// described through oleacc as the shared table says.
TEST(WindowsMainWindowTest, ScreenReadersFindTheSharedNamesAndDescriptions)
{
    Machine machine;
    frmMain main(GetModuleHandleW(nullptr), machine.services, machine.sysInfo);
    HWND window = FindWindowW(L"BrinevarMain", nullptr);
    ASSERT_NE(window, nullptr);
    CoInitialize(nullptr);
    const auto rows = MainLayout();
    for (const AccessibleText &text : MainAccessibleTexts()) {
        std::size_t row = 0;
        while (row < rows.size() &&
               (rows[row].name != text.control || rows[row].index != text.index))
            ++row;
        HWND control = GetDlgItem(window, Form::kFirstId + int(row));
        ASSERT_NE(control, nullptr) << text.control;
        IAccessible *object = nullptr;
        ASSERT_EQ(AccessibleObjectFromWindow(control, DWORD(OBJID_CLIENT), __uuidof(IAccessible),
                                             reinterpret_cast<void **>(&object)),
                  S_OK);
        VARIANT self{};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        BSTR name = nullptr, description = nullptr;
        EXPECT_EQ(object->get_accName(self, &name), S_OK) << text.control;
        object->get_accDescription(self, &description);
        EXPECT_EQ(WideToUtf8(name ? name : L""), text.name);
        EXPECT_EQ(WideToUtf8(description ? description : L""), text.description) << text.name;
        SysFreeString(name);
        SysFreeString(description);
        object->Release();
    }
    CoUninitialize();
    DestroyWindow(window);
    MSG quit; // the one WM_DESTROY posts
    PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

// Values as long as the reader takes show and come back whole at once,
// though the edit control is slow with long runs of digits under Wine.
TEST(WindowsMainWindowTest, ALongValueShowsAndComesBackWholeWithinASecond)
{
    Machine machine;
    frmMain main(GetModuleHandleW(nullptr), machine.services, machine.sysInfo);
    HWND window = FindWindowW(L"BrinevarMain", nullptr);
    ASSERT_NE(window, nullptr);
    const std::string digits(1 << 20, '7');
    const std::string letters = std::string(5000, 'x') + "\xC3\xA9"; // ends in a two-byte letter
    const auto start = std::chrono::steady_clock::now();
    main.SetFieldText(0, digits);
    main.SetFieldText(1, letters);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    UpdateWindow(window);
    const std::string back = main.FieldText(0);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(back, digits);
    EXPECT_EQ(main.FieldText(1), letters);
    EXPECT_LT(took, std::chrono::seconds(1));
    // What the user types into the field is its text from then on.
    // (A walk over the children rather than EnumChildWindows, whose callback
    // a lambda cannot be in 32-bit Windows' calling convention.)
    HWND field = GetWindow(window, GW_CHILD);
    for (wchar_t begins[4] = {}; field; field = GetWindow(field, GW_HWNDNEXT)) {
        GetWindowTextW(field, begins, 4);
        if (std::wstring(begins) == L"777")
            break;
    }
    ASSERT_NE(field, nullptr);
    SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"6"));
    EXPECT_EQ(main.FieldText(0), "6");
    // A short text replaces a long one entirely.
    main.SetFieldText(1, "5");
    EXPECT_EQ(main.FieldText(1), "5");
    DestroyWindow(window);
    MSG quit; // the one WM_DESTROY posts
    PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

// Where the system lacks the per-window calls (before Windows 10 1607), the
// system DPI and its frame serve; here they must agree with the calls.
TEST(WindowsDpiTest, WithoutThePerWindowCallsTheSystemDpiAndFrameServe)
{
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    const DpiCalls none;
    const int dpi = DpiOf(window);
    EXPECT_EQ(DpiOf(window, none), dpi);
    RECT looked{0, 0, 400, 300}, fallback = looked;
    AdjustFrameForDpi(looked, WS_OVERLAPPEDWINDOW, WS_EX_CONTROLPARENT, dpi);
    AdjustFrameForDpi(fallback, WS_OVERLAPPEDWINDOW, WS_EX_CONTROLPARENT, dpi, none);
    EXPECT_LT(fallback.top, 0); // a title bar above the client area
    EXPECT_TRUE(EqualRect(&looked, &fallback));
    DestroyWindow(window);
}

} // namespace
