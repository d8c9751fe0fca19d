#include "form.h"

#include "ansicodepage.h"

#include <commctrl.h>

#include <algorithm>

namespace brinevar::win {

int DpiOf(HWND window)
{
    const UINT dpi = GetDpiForWindow(window);
    return dpi ? int(dpi) : 96;
}

HFONT CreateFormFont(int dpi, bool underline)
{
    // 8.25 pt, as a character height in pixels (negative: without leading).
    return CreateFontW(-MulDiv(825, dpi, 7200), 0, 0, 0, FW_NORMAL, FALSE, underline, FALSE,
                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                       CLEARTYPE_QUALITY, VARIABLE_PITCH | FF_SWISS, L"Microsoft Sans Serif");
}

std::string WindowText(HWND window)
{
    std::wstring text(std::size_t(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(std::size_t(GetWindowTextW(window, text.data(), int(text.size()))));
    return WideToUtf8(text);
}

namespace {

struct Kind {
    const wchar_t *className;
    DWORD style;
    DWORD exStyle;
};

Kind KindOf(ControlKind kind)
{
    switch (kind) {
    case ControlKind::TextField:
        return {WC_EDITW, WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::Label:
        return {WC_STATICW, SS_LEFT | SS_NOPREFIX, 0};
    case ControlKind::LinkLabel:
        // SS_NOTIFY: clicks reach the program, yet a static takes no focus.
        return {WC_STATICW, SS_LEFT | SS_NOPREFIX | SS_NOTIFY, 0};
    case ControlKind::CommandButton:
        return {WC_BUTTONW, WS_TABSTOP | BS_PUSHBUTTON, 0};
    case ControlKind::ListBox:
        return {WC_LISTBOXW,
                WS_TABSTOP | WS_HSCROLL | LBS_NOTIFY | LBS_MULTICOLUMN | LBS_NOINTEGRALHEIGHT |
                    LBS_USETABSTOPS,
                WS_EX_CLIENTEDGE};
    }
    return {WC_STATICW, 0, 0};
}

bool IsLabel(const ControlRow &row)
{
    return row.kind == ControlKind::Label || row.kind == ControlKind::LinkLabel;
}

void FillList(HWND list, std::string_view items)
{
    while (!items.empty()) {
        const auto end = items.find('\n');
        SendMessageW(list, LB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(Utf8ToWide(items.substr(0, end)).c_str()));
        items = end == std::string_view::npos ? std::string_view() : items.substr(end + 1);
    }
}

} // namespace

Form::~Form()
{
    DeleteFonts();
}

void Form::DeleteFonts()
{
    if (font_)
        DeleteObject(font_);
    if (linkFont_)
        DeleteObject(linkFont_);
    font_ = linkFont_ = nullptr;
}

void Form::Build(HWND parent, std::span<const ControlRow> rows, int listColumns)
{
    rows_ = rows;
    listColumns_ = listColumns;
    controls_.assign(rows.size(), nullptr);
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    auto create = [&](std::size_t i) {
        const ControlRow &row = rows[i];
        const Kind kind = KindOf(row.kind);
        const bool list = row.kind == ControlKind::ListBox;
        controls_[i] = CreateWindowExW(
            kind.exStyle, kind.className, list ? L"" : Utf8ToWide(row.text).c_str(),
            WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | kind.style, 0, 0, 0, 0, parent,
            reinterpret_cast<HMENU>(INT_PTR(kFirstId + int(i))), instance, nullptr);
        if (list)
            FillList(controls_[i], row.text);
    };
    // A new child goes below its older siblings: the other controls first,
    // then the labels from the last row to the first.
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (!IsLabel(rows[i]))
            create(i);
    }
    for (std::size_t i = rows.size(); i-- > 0;) {
        if (IsLabel(rows[i]))
            create(i);
    }
    Scale(DpiOf(parent));
}

void Form::Scale(int dpi)
{
    DeleteFonts();
    dpi_ = dpi;
    font_ = CreateFormFont(dpi);
    linkFont_ = CreateFormFont(dpi, true);
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const ControlRow &row = rows_[i];
        HWND control = controls_[i];
        SetWindowPos(control, nullptr, TwipsToPixels(row.left, dpi), TwipsToPixels(row.top, dpi),
                     TwipsToPixels(row.width, dpi), TwipsToPixels(row.height, dpi),
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(control, WM_SETFONT,
                     reinterpret_cast<WPARAM>(row.kind == ControlKind::LinkLabel ? linkFont_
                                                                                 : font_),
                     TRUE);
        if (row.kind == ControlKind::ListBox) {
            // Equal columns, each as high as its share of the items.
            RECT client;
            GetClientRect(control, &client);
            const int columns = listColumns_;
            const int count = int(SendMessageW(control, LB_GETCOUNT, 0, 0));
            const int perColumn = std::max(1, (count + columns - 1) / columns);
            SendMessageW(control, LB_SETCOLUMNWIDTH, WPARAM(client.right / columns), 0);
            SendMessageW(control, LB_SETITEMHEIGHT, 0, LPARAM(client.bottom / perColumn));
        }
    }
}

HWND Form::Find(std::string_view name, int index) const
{
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i].name == name && rows_[i].index == index)
            return controls_[i];
    }
    return nullptr;
}

const ControlRow *Form::RowOfId(int id) const
{
    const int i = id - kFirstId;
    return i >= 0 && std::size_t(i) < rows_.size() ? &rows_[std::size_t(i)] : nullptr;
}

const ControlRow *Form::RowOf(HWND control) const
{
    const auto found = std::find(controls_.begin(), controls_.end(), control);
    return found == controls_.end() ? nullptr : &rows_[std::size_t(found - controls_.begin())];
}

std::vector<HWND> Form::FocusOrder() const
{
    std::vector<std::pair<int, HWND>> order;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i].tabIndex >= 0)
            order.emplace_back(rows_[i].tabIndex, controls_[i]);
    }
    std::sort(order.begin(), order.end());
    std::vector<HWND> controls;
    for (const auto &[tabIndex, control] : order)
        controls.push_back(control);
    return controls;
}

} // namespace brinevar::win
