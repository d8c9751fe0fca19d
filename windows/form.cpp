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

HFONT CreateFormFont(int dpi, bool underline, const wchar_t *face)
{
    // 8.25 pt, as a character height in pixels (negative: without leading).
    return CreateFontW(-MulDiv(825, dpi, 7200), 0, 0, 0, FW_NORMAL, FALSE, underline, FALSE,
                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                       VARIABLE_PITCH | FF_SWISS, face);
}

namespace {

bool IsLabel(const ControlRow &row)
{
    return row.kind == ControlKind::Label || row.kind == ControlKind::LinkLabel;
}

// The size of a label's text wrapped at `width` pixels.
SIZE TextSize(HDC dc, std::string_view utf8, int width)
{
    const std::wstring text = Utf8ToWide(utf8);
    RECT box{0, 0, width, 0};
    DrawTextW(dc, text.c_str(), int(text.size()), &box,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    return {box.right, box.bottom};
}

// How many labels' texts do not fit their rectangles.
int LabelsCut(HDC dc, std::span<const ControlRow> rows, int dpi)
{
    int cut = 0;
    for (const ControlRow &row : rows) {
        const int width = TwipsToPixels(row.width, dpi);
        if (!IsLabel(row))
            continue;
        const SIZE size = TextSize(dc, row.text, width);
        cut += size.cx > width || size.cy > TwipsToPixels(row.height, dpi);
    }
    return cut;
}

} // namespace

const wchar_t *FittingFace(HWND window, std::span<const ControlRow> rows, int dpi)
{
    // The layout was drawn for MS Sans Serif, whose TrueType successor comes
    // first. Where a system draws these wider (Wine puts Liberation Sans in
    // their place), a narrow face keeps the captions whole.
    static constexpr const wchar_t *kFaces[] = {L"Microsoft Sans Serif", L"MS Sans Serif",
                                                L"Arial Narrow", L"Liberation Sans Narrow"};
    HDC dc = GetDC(window);
    const wchar_t *best = kFaces[0];
    int fewest = 1 << 30;
    for (const wchar_t *face : kFaces) {
        HFONT font = CreateFormFont(dpi, false, face);
        const HGDIOBJ old = SelectObject(dc, font);
        const int cut = LabelsCut(dc, rows, dpi);
        SelectObject(dc, old);
        DeleteObject(font);
        if (cut < fewest) {
            best = face;
            fewest = cut;
        }
        if (cut == 0)
            break;
    }
    ReleaseDC(window, dc);
    return best;
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
    parent_ = parent;
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
    face_ = FittingFace(parent_, rows_, dpi);
    font_ = CreateFormFont(dpi, false, face_);
    linkFont_ = CreateFormFont(dpi, true, face_);
    HDC dc = GetDC(parent_);
    const HGDIOBJ old = SelectObject(dc, font_);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const ControlRow &row = rows_[i];
        HWND control = controls_[i];
        int width = TwipsToPixels(row.width, dpi);
        const int height = TwipsToPixels(row.height, dpi);
        // A caption one line high that the face draws a few pixels wider
        // than its rectangle grows to the right rather than losing words.
        if (IsLabel(row) && height < 2 * metrics.tmHeight)
            width = std::max(width, int(TextSize(dc, row.text, 1 << 20).cx));
        SetWindowPos(control, nullptr, TwipsToPixels(row.left, dpi), TwipsToPixels(row.top, dpi),
                     width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(
            control, WM_SETFONT,
            reinterpret_cast<WPARAM>(row.kind == ControlKind::LinkLabel ? linkFont_ : font_), TRUE);
        if (row.kind == ControlKind::ListBox) {
            // Equal columns, filled from the top of the first.
            RECT client;
            GetClientRect(control, &client);
            const int columns = listColumns_;
            SendMessageW(control, LB_SETCOLUMNWIDTH, WPARAM(client.right / columns), 0);
        }
    }
    SelectObject(dc, old);
    ReleaseDC(parent_, dc);
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
