#include "form.h"

#include "formfont.h"
#include "widetext.h"

#include <commctrl.h>

#include <algorithm>

namespace brinevar::win {

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

RECT RowRect(const ControlRow &row, int dpi)
{
    const int left = TwipsToPixels(row.left, dpi), top = TwipsToPixels(row.top, dpi);
    return {left, top, left + TwipsToPixels(row.width, dpi), top + TwipsToPixels(row.height, dpi)};
}

// A caption one line high that the face draws a few pixels wider than its
// rectangle grows to the right rather than losing words. A rectangle that
// holds two lines but the last one's descenders is two lines high: so the
// layout's were drawn.
bool GrowsToTheRight(const ControlRow &row, int dpi, const TEXTMETRICW &metrics)
{
    return IsLabel(row) &&
           TwipsToPixels(row.height, dpi) + metrics.tmDescent < 2 * metrics.tmHeight;
}

constexpr int kUnwrapped = 1 << 20;

// How many labels' texts do not fit their rectangles, counted up to `enough`;
// the descenders of a last line may be cut. A caption that grows to the right
// is cut only where it would run into another control or caption.
int LabelsCut(HDC dc, std::span<const ControlRow> rows, int dpi, int enough)
{
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    auto covered = [&](const RECT &area) {
        return std::any_of(rows.begin(), rows.end(), [&](const ControlRow &other) {
            RECT common, r = RowRect(other, dpi);
            return IntersectRect(&common, &area, &r) != FALSE;
        });
    };
    int cut = 0;
    for (const ControlRow &row : rows) {
        if (cut >= enough)
            break;
        if (!IsLabel(row))
            continue;
        const RECT r = RowRect(row, dpi);
        const bool grows = GrowsToTheRight(row, dpi, metrics);
        const SIZE size =
            TextSize(dc, ShownText(row.text), grows ? kUnwrapped : int(r.right - r.left));
        if (size.cy - metrics.tmDescent > r.bottom - r.top)
            ++cut;
        else if (r.left + size.cx > r.right)
            cut += !grows || covered({r.right, r.top, r.left + size.cx, r.bottom});
    }
    return cut;
}

} // namespace

const wchar_t *FittingFace(HWND window, std::span<const ControlRow> rows, int dpi)
{
    // The layout was drawn for MS Sans Serif, whose TrueType successor comes
    // first. Where a system draws these wider (Wine puts Liberation Sans in
    // their place), a narrow face keeps the captions whole: the one the
    // program carries (null here), smoothed where the system's copy of it
    // would be drawn in bare pixels, else the system's own.
    static constexpr wchar_t kCarriedOrigin[] = L"Liberation Sans Narrow";
    static constexpr const wchar_t *kFaces[] = {L"Microsoft Sans Serif", L"MS Sans Serif", nullptr,
                                                L"Arial Narrow", kCarriedOrigin};
    HDC dc = GetDC(window);
    const wchar_t *best = kFaces[0];
    int fewest = 1 << 30;
    std::vector<std::wstring> tried;
    // A face the system only stands in for (Wine draws Liberation Sans for
    // MS Sans Serif) is measured last, when no face of its own fits; and each
    // face drawn is measured once.
    std::vector<const wchar_t *> standIns;
    // Whether `face` was measured now.
    auto measure = [&](const wchar_t *face, bool deferStandIn) {
        HFONT font = CreateFormFont(dpi, false, face);
        const HGDIOBJ old = SelectObject(dc, font);
        wchar_t drawn[LF_FACESIZE] = {};
        GetTextFaceW(dc, LF_FACESIZE, drawn);
        const bool standIn = lstrcmpiW(drawn, face) != 0;
        const bool seen = std::find(tried.begin(), tried.end(), drawn) != tried.end();
        const bool measured = !seen && !(standIn && deferStandIn);
        if (standIn && deferStandIn) {
            standIns.push_back(face);
        } else if (measured) {
            tried.emplace_back(drawn);
            // A face that cuts as many as the best so far cannot replace it.
            if (const int cut = LabelsCut(dc, rows, dpi, fewest); cut < fewest) {
                best = face;
                fewest = cut;
            }
        }
        SelectObject(dc, old);
        DeleteObject(font);
        return measured;
    };
    for (const wchar_t *listed : kFaces) {
        const wchar_t *face = listed ? listed : CarriedFace();
        // The carried face has the outlines and widths of its origin, whose
        // system copy would only measure the same and lose the tie.
        if (face && fewest > 0 && measure(face, true) && !listed)
            tried.emplace_back(kCarriedOrigin);
    }
    for (const wchar_t *face : standIns) {
        if (fewest > 0)
            measure(face, false);
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
    case ControlKind::CommandButton:
    case ControlKind::DefaultButton: // made the default by its dialog
        return {WC_BUTTONW, WS_TABSTOP | BS_PUSHBUTTON, 0};
    case ControlKind::ListBox:
        return {WC_LISTBOXW,
                WS_TABSTOP | WS_HSCROLL | LBS_NOTIFY | LBS_MULTICOLUMN | LBS_NOINTEGRALHEIGHT |
                    LBS_USETABSTOPS,
                WS_EX_CLIENTEDGE};
    default: // labels are painted by the parent
        return {WC_STATICW, 0, 0};
    }
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

void Form::Build(HWND parent, std::span<const ControlRow> rows, int dpi, int listColumns)
{
    parent_ = parent;
    rows_ = rows;
    listColumns_ = listColumns;
    Measure(dpi);
    controls_.assign(rows.size(), nullptr);
    labelTexts_.assign(rows.size(), {});
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const ControlRow &row = rows[i];
        if (IsLabel(row)) {
            labelTexts_[i] = Utf8ToWide(ShownText(row.text));
            continue;
        }
        const Kind kind = KindOf(row.kind);
        const bool list = row.kind == ControlKind::ListBox;
        const RECT &r = rects_[i];
        HWND control =
            CreateWindowExW(kind.exStyle, kind.className, list ? L"" : Utf8ToWide(row.text).c_str(),
                            WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | kind.style, r.left, r.top,
                            r.right - r.left, r.bottom - r.top, parent,
                            reinterpret_cast<HMENU>(INT_PTR(kFirstId + int(i))), instance, nullptr);
        controls_[i] = control;
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        // A field takes text of any length, not the edit control's 30,000.
        if (row.kind == ControlKind::TextField)
            SendMessageW(control, EM_SETLIMITTEXT, 0, 0);
        if (list) {
            FillList(control, row.text);
            SetListColumns(control);
        }
    }
}

void Form::PaintLabels(HDC dc) const
{
    const HGDIOBJ oldFont = SelectObject(dc, font_);
    SetBkMode(dc, TRANSPARENT);
    // In row order, each on its own background: a later label hides what an
    // earlier one draws beneath it.
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const ControlRow &row = rows_[i];
        if (!IsLabel(row))
            continue;
        RECT r = rects_[i];
        FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
        const bool link = row.kind == ControlKind::LinkLabel;
        SelectObject(dc, link ? linkFont_ : font_);
        const std::optional<Rgb> colour = link ? kLinkColour : row.textColour;
        SetTextColor(dc, colour ? RGB(colour->red, colour->green, colour->blue)
                                : GetSysColor(COLOR_BTNTEXT));
        const std::wstring &text = labelTexts_[i];
        DrawTextW(dc, text.c_str(), int(text.size()), &r,
                  DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    }
    SelectObject(dc, oldFont);
}

const ControlRow *Form::LabelAt(POINT point) const
{
    for (std::size_t i = rows_.size(); i-- > 0;) {
        if (IsLabel(rows_[i]) && PtInRect(&rects_[i], point))
            return &rows_[i];
    }
    return nullptr;
}

const ControlRow *Form::CaptionWithAccessKey(UINT virtualKey) const
{
    // The virtual keys of the letters are their capitals, 'A' to 'Z'.
    if (virtualKey < 'A' || virtualKey > 'Z')
        return nullptr;
    for (const ControlRow &row : rows_) {
        if (IsLabel(row) && row.press && UINT(AccessKey(row.text)) == virtualKey)
            return &row;
    }
    return nullptr;
}

void Form::SetLabelText(std::string_view name, std::string_view utf8)
{
    const std::size_t i = RowIndex(name, -1);
    if (i == rows_.size())
        return;
    labelTexts_[i] = Utf8ToWide(utf8);
    InvalidateRect(parent_, &rects_[i], TRUE);
}

std::size_t Form::RowIndex(std::string_view name, int index) const
{
    std::size_t i = 0;
    while (i < rows_.size() && (rows_[i].name != name || rows_[i].index != index))
        ++i;
    return i;
}

void Form::Scale(int dpi)
{
    Measure(dpi);
    InvalidateRect(parent_, nullptr, TRUE);
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (!controls_[i])
            continue;
        const RECT &r = rects_[i];
        SetWindowPos(controls_[i], nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(controls_[i], WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
        if (rows_[i].kind == ControlKind::ListBox)
            SetListColumns(controls_[i]);
    }
}

void Form::Measure(int dpi)
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
    rects_.clear();
    for (const ControlRow &row : rows_) {
        RECT &r = rects_.emplace_back(RowRect(row, dpi));
        if (GrowsToTheRight(row, dpi, metrics))
            r.right = std::max(r.right, r.left + TextSize(dc, ShownText(row.text), kUnwrapped).cx);
    }
    SelectObject(dc, old);
    ReleaseDC(parent_, dc);
}

void Form::SetListColumns(HWND list) const
{
    // Equal columns, filled from the top of the first.
    RECT client;
    GetClientRect(list, &client);
    SendMessageW(list, LB_SETCOLUMNWIDTH, WPARAM(client.right / listColumns_), 0);
}

HWND Form::Find(std::string_view name, int index) const
{
    const std::size_t i = RowIndex(name, index);
    return i < controls_.size() ? controls_[i] : nullptr;
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

} // namespace brinevar::win
