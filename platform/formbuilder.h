// Builds a window's controls from a table of rows, the way a form designer
// stores them: positions and sizes in twips, 15 twips to a logical pixel.
#pragma once

#include <QRect>
#include <QWidgetList>

#include <span>
#include <string_view>

class QListWidget;
class QWidget;

namespace brinevar {

enum class ControlKind {
    TextField,     // QLineEdit, single line, no length limit
    Label,         // QLabel, word-wrapped, clipped, takes no focus
    LinkLabel,     // a Label that reports clicks: LinkLabel, underlined dark blue
    CommandButton, // QPushButton, never a default button
    ListBox,       // QListWidget; the row's text holds the items, one per line
};

struct ControlRow {
    std::string_view name; // designer name, becomes the object name
    int index;             // member index in a control array, -1 outside one
    ControlKind kind;
    std::string_view text;        // UTF-8; empty for fields that get their text elsewhere
    int left, top, width, height; // twips
    int tabIndex = -1;            // place in the focus order; -1 takes no part
};

inline constexpr int kTwipsPerPixel = 15;

// Twips to logical pixels, rounded to the nearest pixel.
int TwipsToPixels(int twips);
QRect TwipsToRect(int left, int top, int width, int height);

// Creates a widget for each row on `parent` and returns them in row order.
// Labels are stacked below every other control, and among labels a later row
// is drawn above an earlier one. Rows with a tab index are chained into the
// focus order by that index.
QWidgetList BuildControls(QWidget *parent, std::span<const ControlRow> rows);

// The widgets of the rows that have a tab index, in focus order.
QWidgetList FocusOrder(std::span<const ControlRow> rows, const QWidgetList &widgets);

// The widget built for a row: the object name, and for array members the
// dynamic property "index".
QWidget *FindControl(const QWidget *parent, const QString &name, int index = -1);

// Lays the list's items out in `columns` equal columns, filled from the top
// of the first column down, then the next.
void SetListColumns(QListWidget *list, int columns);

} // namespace brinevar
