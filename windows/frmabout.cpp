#include "frmabout.h"

#include "aboutlayout.h"
#include "ansicodepage.h"
#include "dialogs.h"
#include "filetest.h"
#include "launcher.h"
#include "registry.h"
#include "sysinfo.h"
#include "version.h"

using namespace brinevar;
using namespace brinevar::win;

void frmAbout::Show(HWND owner)
{
    RunDialog(owner, DialogProc, reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK frmAbout::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto *box = reinterpret_cast<frmAbout *>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        reinterpret_cast<frmAbout *>(lParam)->Form_Load(dialog);
        return FALSE; // the focus is set
    case WM_PAINT:
        box->Paint(dialog);
        return TRUE;
    case WM_COMMAND:
        return box->Command(dialog, LOWORD(wParam));
    default:
        return FALSE;
    }
}

void frmAbout::Form_Load(HWND dialog)
{
    form_.Build(dialog, AboutLayout());
    SetWindowTextW(dialog, Utf8ToWide(AboutCaption()).c_str());
    form_.SetLabelText("lblTitle", ProgramTitle());
    form_.SetLabelText("lblVersion", VersionText());
    const int dpi = form_.Dpi();
    PlaceDialog(dialog, TwipsToPixels(kAboutWidth, dpi), TwipsToPixels(kAboutHeight, dpi),
                TwipsToPixels(kAboutLeft, dpi), TwipsToPixels(kAboutTop, dpi));
    // OK is the default button (Enter) and has the focus; Esc and the close
    // box come as IDCANCEL.
    HWND ok = form_.Find("cmdOK");
    SendMessageW(dialog, DM_SETDEFID, WPARAM(GetDlgCtrlID(ok)), 0);
    SetFocus(ok);
}

void frmAbout::Paint(HWND dialog)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(dialog, &paint);
    const int dpi = form_.Dpi();
    // Each line is a band as many pixels high at 96 DPI as it is wide, from
    // its twips down, so that the etched pair (grey, then white just below)
    // scales together and neither covers the other at any DPI.
    for (const LineRow &line : AboutLines()) {
        const Rgb c = line.colour;
        HBRUSH brush = CreateSolidBrush(RGB(c.red, c.green, c.blue));
        const RECT band{TwipsToPixels(line.x1, dpi), TwipsToPixels(line.y1, dpi),
                        TwipsToPixels(line.x2, dpi),
                        TwipsToPixels(line.y2 + line.width * kTwipsPerPixel, dpi)};
        FillRect(dc, &band, brush);
        DeleteObject(brush);
    }
    form_.PaintLabels(dc);
    EndPaint(dialog, &paint);
}

bool frmAbout::Command(HWND dialog, int id)
{
    const ControlRow *row = form_.RowOfId(id);
    if (id == IDOK || id == IDCANCEL || (row && row->name == "cmdOK")) {
        EndDialog(dialog, IDOK);
        return true;
    }
    if (row && row->name == "cmdSysInfo") {
        cmdSysInfo_Click(dialog);
        return true;
    }
    return false;
}

void frmAbout::cmdSysInfo_Click(HWND dialog)
{
    StartSysInfo({SystemRegistry(), IsOrdinaryFile, StartProgram,
                  [dialog](const std::string &text) { MsgBox(dialog, text); }});
}
