// A window's controls as a form designer stores them: one row per control,
// positions and sizes in twips (1440 to the inch, 15 to a pixel at 96 DPI).
// Each front end draws the rows with its own toolkit and hands every press of
// a control to the window's behaviour, which the row names.
#pragma once

#include <algorithm>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace brinevar {

struct Rgb {
    unsigned char red, green, blue;
};

enum class ControlKind {
    TextField,     // single line, left-aligned, no length limit
    Label,         // word-wrapped, clipped at its bottom, takes no focus
    LinkLabel,     // a Label that acts on a click: underlined, kLinkColour
    CommandButton, // a push button, never a default button
    DefaultButton, // a push button that answers Enter, Esc and the close box, focused when
                   // its window opens
    ListBox,       // the row's text holds the items, one per line
};

class FormBehaviour;

// What pressing a control does: a handler of the window's behaviour, given
// the control's index (the member of a control array).
using PressHandler = void (*)(FormBehaviour &form, int index);

struct ControlRow {
    std::string_view name; // designer name
    int index;             // member index in a control array, -1 outside one
    ControlKind kind;
    // UTF-8; empty for controls that get their text elsewhere. An "&" marks
    // the letter after it as the access key (Alt and the letter), "&&" is an
    // "&" itself.
    std::string_view text;
    int left, top, width, height; // twips
    int tabIndex = -1;            // place in the focus order; -1 takes no part
    PressHandler press = nullptr; // null: pressing it does nothing
    // The label whose words name this control for screen readers; empty
    // where the control's own text names it.
    std::string_view caption = {};
    // The text's colour; none: the platform's standard text colour.
    std::optional<Rgb> textColour = std::nullopt;
};

// The access key that an "&" marks in `text`, as a capital letter; 0 for
// none. A caption's access key presses it as a click does, without moving the
// focus; a button's presses it after the focus has come to it.
inline char AccessKey(std::string_view text)
{
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&')
            continue;
        if (text[i + 1] != '&')
            return char(text[i + 1] >= 'a' && text[i + 1] <= 'z' ? text[i + 1] - 'a' + 'A'
                                                                 : text[i + 1]);
        ++i;
    }
    return 0;
}

// `text` as it is shown, without the "&" of its access key.
inline std::string ShownText(std::string_view text)
{
    std::string shown;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size())
            ++i;
        shown += text[i];
    }
    return shown;
}

// The row among `rows` named `name` (outside a control array), or null.
inline const ControlRow *FindRow(std::span<const ControlRow> rows, std::string_view name)
{
    const auto found = std::ranges::find_if(
        rows, [&](const ControlRow &row) { return row.name == name && row.index < 0; });
    return found == rows.end() ? nullptr : &*found;
}

// The button among `rows` that Enter, Esc and the close box press, or null.
inline const ControlRow *DefaultRow(std::span<const ControlRow> rows)
{
    const auto found = std::ranges::find(rows, ControlKind::DefaultButton, &ControlRow::kind);
    return found == rows.end() ? nullptr : &*found;
}

// What a window does, apart from drawing: the toolkit-free class behind one
// window, whose handlers its layout rows name.
class FormBehaviour {
public:
    virtual ~FormBehaviour() = default;

    // The control of `row` was pressed (clicked, or Enter, Space or its
    // access key), past any check of the field that had the focus.
    void Press(const ControlRow &row)
    {
        if (row.press)
            row.press(*this, row.index);
    }
};

// A row's handler: `Handler` of the window class `Form`, with or without the
// array index.
template <class Form, void (Form::*Handler)()> void Handle(FormBehaviour &form, int)
{
    (static_cast<Form &>(form).*Handler)();
}
template <class Form, void (Form::*Handler)(int)> void Handle(FormBehaviour &form, int index)
{
    (static_cast<Form &>(form).*Handler)(index);
}

// The rows of `rows` that take the focus, in focus order.
inline std::vector<const ControlRow *> FocusOrder(std::span<const ControlRow> rows)
{
    std::vector<const ControlRow *> order;
    for (const ControlRow &row : rows)
        if (row.tabIndex >= 0)
            order.push_back(&row);
    std::ranges::stable_sort(order, {}, &ControlRow::tabIndex);
    return order;
}

// The dark blue of the link captions.
inline constexpr Rgb kLinkColour{0, 0, 192};

inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kTwipsPerPixel = 15; // at 96 DPI

// Twips to pixels at `dpi` dots per inch, rounded to the nearest pixel.
constexpr int TwipsToPixels(int twips, int dpi = kTwipsPerInch / kTwipsPerPixel)
{
    const long long scaled = (long long)twips * dpi;
    return int(scaled >= 0 ? (scaled + kTwipsPerInch / 2) / kTwipsPerInch
                           : -((-scaled + kTwipsPerInch / 2) / kTwipsPerInch));
}

} // namespace brinevar
