// Draws a window's control rows with Win32 controls, positioned in twips and
// scaled by the window's DPI (twips x DPI / 1440).
#pragma once

#include "controlrow.h"
#include "dpi.h"

#include <windows.h>

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace brinevar::win {

// The form font: `face` at 8.25 pt.
HFONT CreateFormFont(int dpi, bool underline, const wchar_t *face);

// The sans-serif face nearest MS Sans Serif in which the fewest labels of
// `rows` are too small for their texts at `dpi`; a caption one line high may
// grow to the right where nothing else is.
const wchar_t *FittingFace(HWND window, std::span<const ControlRow> rows, int dpi);

// The text of a window, and of a control, as UTF-8.
std::string WindowText(HWND window);

class Form {
public:
    Form() = default;
    Form(const Form &) = delete;
    Form &operator=(const Form &) = delete;
    ~Form();

    // Creates a child control of `parent` for each row but the labels, with
    // the command id kFirstId plus the row's place. Labels are no windows of
    // their own: the parent paints them (PaintLabels), below every control,
    // and a later label above an earlier one. A list box shows its items in
    // `listColumns` equal columns, filled from the top of the first. The
    // controls are placed at `dpi`.
    void Build(HWND parent, std::span<const ControlRow> rows, int dpi, int listColumns);

    // For the parent's WM_PAINT.
    void PaintLabels(HDC dc) const;
    // The label drawn at `point` of the parent's client area, or null.
    const ControlRow *LabelAt(POINT point) const;
    // The caption that runs a command and whose access key is the letter of
    // `virtualKey` (pressed with Alt); null for none. Pressing it moves no
    // focus, so it passes no check.
    const ControlRow *CaptionWithAccessKey(UINT virtualKey) const;
    // Replaces a label's text, as a load step does.
    void SetLabelText(std::string_view name, std::string_view utf8);

    // Places, sizes and sets the fonts of every control at `dpi`. A label one
    // line high is as wide as its text where that is wider.
    void Scale(int dpi);

    // The window of a control; null for a label.
    HWND Find(std::string_view name, int index = -1) const;
    // The row of the control with command id `id`, or null.
    const ControlRow *RowOfId(int id) const;
    const ControlRow *RowOf(HWND control) const;

    // The rows, and for the row at `i` its window (null for a label), its
    // rectangle in the parent's client area and a label's text as drawn.
    std::span<const ControlRow> Rows() const { return rows_; }
    HWND Control(std::size_t i) const { return controls_[i]; }
    const RECT &Rect(std::size_t i) const { return rects_[i]; }
    const std::wstring &LabelText(std::size_t i) const { return labelTexts_[i]; }

    int Dpi() const { return dpi_; }
    HFONT Font() const { return font_; }
    const wchar_t *Face() const { return face_; }

    static constexpr int kFirstId = 100;

private:
    void DeleteFonts();
    // The fonts at `dpi`, and the rectangle of every control in pixels.
    void Measure(int dpi);
    void SetListColumns(HWND list) const;
    std::size_t RowIndex(std::string_view name, int index) const;

    HWND parent_ = nullptr;
    std::span<const ControlRow> rows_;
    std::vector<HWND> controls_; // in row order
    std::vector<RECT> rects_;
    std::vector<std::wstring> labelTexts_; // by row; empty for other controls
    HFONT font_ = nullptr;
    HFONT linkFont_ = nullptr;
    int dpi_ = 96;
    int listColumns_ = 1;
    const wchar_t *face_ = nullptr;
};

} // namespace brinevar::win
