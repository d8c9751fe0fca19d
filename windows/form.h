// Draws a window's control rows with Win32 controls, positioned in twips and
// scaled by the window's DPI (twips x DPI / 1440).
#pragma once

#include "controlrow.h"

#include <windows.h>

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace brinevar::win {

// The window's DPI; 96 where the system cannot tell per window.
int DpiOf(HWND window);

// The form font: `face` at 8.25 pt.
HFONT CreateFormFont(int dpi, bool underline, const wchar_t *face);

// The sans-serif face nearest MS Sans Serif in which the fewest labels of
// `rows` are too small for their texts at `dpi`.
const wchar_t *FittingFace(HWND window, std::span<const ControlRow> rows, int dpi);

// The text of a window, and of a control, as UTF-8.
std::string WindowText(HWND window);

class Form {
public:
    Form() = default;
    Form(const Form &) = delete;
    Form &operator=(const Form &) = delete;
    ~Form();

    // Creates a child control of `parent` for each row, with the command id
    // kFirstId plus the row's place. Labels lie below every other control,
    // and a later label above an earlier one. A list box shows its items in
    // `listColumns` equal columns, filled from the top of the first.
    void Build(HWND parent, std::span<const ControlRow> rows, int listColumns = 1);

    // Places, sizes and sets the fonts of every control at `dpi`. A label one
    // line high is made as wide as its text if that is wider.
    void Scale(int dpi);

    HWND Find(std::string_view name, int index = -1) const;
    // The row of the control with command id `id`, or null.
    const ControlRow *RowOfId(int id) const;
    const ControlRow *RowOf(HWND control) const;
    // The controls that take the focus, in focus order.
    std::vector<HWND> FocusOrder() const;

    int Dpi() const { return dpi_; }
    HFONT Font() const { return font_; }
    const wchar_t *Face() const { return face_; }

    static constexpr int kFirstId = 100;

private:
    void DeleteFonts();

    HWND parent_ = nullptr;
    std::span<const ControlRow> rows_;
    std::vector<HWND> controls_; // in row order
    HFONT font_ = nullptr;
    HFONT linkFont_ = nullptr;
    int dpi_ = 96;
    int listColumns_ = 1;
    const wchar_t *face_ = nullptr;
};

} // namespace brinevar::win
