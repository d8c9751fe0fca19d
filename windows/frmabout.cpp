#include "frmabout.h"

#include "aboutlayout.h"
#include "dialogs.h"
#include "widetext.h"

using namespace brinevar;
using namespace brinevar::win;

frmAbout::frmAbout(HWND owner, SysInfoMachine machine)
    : owner_(owner), behaviour_(*this, std::move(machine))
{
}

void frmAbout::ShowModal()
{
    RunDialog(owner_, DialogProc, reinterpret_cast<LPARAM>(this));
    dialog_ = nullptr;
}

INT_PTR CALLBACK frmAbout::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto *box = reinterpret_cast<frmAbout *>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        reinterpret_cast<frmAbout *>(lParam)->Load(dialog);
        return FALSE; // the focus is set
    case WM_PAINT:
        box->Paint();
        return TRUE;
    case WM_COMMAND:
        return box->Command(LOWORD(wParam));
    default:
        return FALSE;
    }
}

void frmAbout::Load(HWND dialog)
{
    dialog_ = dialog;
    const auto rows = AboutLayout();
    form_.Build(dialog, rows, DpiOf(dialog), 1);
    behaviour_.Form_Load();
    const int dpi = form_.Dpi();
    PlaceDialog(dialog, TwipsToPixels(kAboutWidth, dpi), TwipsToPixels(kAboutHeight, dpi),
                TwipsToPixels(kAboutLeft, dpi), TwipsToPixels(kAboutTop, dpi));
    captions_.Attach(dialog, form_);
    // The default button answers Enter and has the focus.
    if (const ControlRow *row = DefaultRow(rows)) {
        HWND button = form_.Find(row->name, row->index);
        SendMessageW(dialog, DM_SETDEFID, WPARAM(GetDlgCtrlID(button)), 0);
        SetFocus(button);
    }
}

void frmAbout::Paint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(dialog_, &paint);
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
    EndPaint(dialog_, &paint);
}

bool frmAbout::Command(int id)
{
    // Esc and the close box (IDCANCEL) press the default button.
    const ControlRow *row =
        id == IDOK || id == IDCANCEL ? DefaultRow(AboutLayout()) : form_.RowOfId(id);
    if (!row || !row->press)
        return false;
    behaviour_.Press(*row);
    return true;
}

void frmAbout::SetCaption(const std::string &text)
{
    SetWindowTextW(dialog_, Utf8ToWide(text).c_str());
}

void frmAbout::SetLabelText(std::string_view label, const std::string &text)
{
    form_.SetLabelText(label, text);
}

void frmAbout::MsgBox(const std::string &text)
{
    win::MsgBox(dialog_, text);
}

void frmAbout::Close()
{
    EndDialog(dialog_, IDOK);
}
