// Builds a window's controls from a table of rows, the way a form designer
// stores them: positions and sizes in twips, 15 twips to a logical pixel.
#pragma once

#include "controlrow.h"

#include <QColor>
#include <QRect>
#include <QWidgetList>

#include <span>
#include <string_view>

class QLineEdit;
class QListWidget;
class QWidget;

namespace brinevar {

// Qt lays windows out in logical pixels, 96 to the inch; it scales them to
// the screen itself. A form drawn smaller is laid out at a lower `dpi`.
inline constexpr int kLogicalDpi = kTwipsPerInch / kTwipsPerPixel;
QRect TwipsToRect(int left, int top, int width, int height, int dpi = kLogicalDpi);

inline QColor ToQColor(Rgb colour)
{
    return QColor(colour.red, colour.green, colour.blue);
}

// Creates a widget for each row on `parent` (QLineEdit, QLabel, LinkLabel,
// QPushButton, QListWidget) and returns them in row order. The row's name
// becomes the object name, an array member's index the property "index".
// Labels are stacked below every other control, and among labels a later row
// is drawn above an earlier one. Rows with a tab index are chained into the
// focus order by that index.
QWidgetList BuildControls(QWidget *parent, std::span<const ControlRow> rows);

// Puts the widgets that BuildControls made for `rows` where they stand at `dpi`.
void PlaceControls(QWidget *parent, std::span<const ControlRow> rows, int dpi);

// Keeps the text of `field` on one line, whatever is pasted or dropped into it.
void KeepOnOneLine(QLineEdit *field);

// The widget built for a row: the object name, and for array members the
// dynamic property "index".
QWidget *FindControl(const QWidget *parent, const QString &name, int index = -1);

// Lays the list's items out in `columns` equal columns, filled from the top
// of the first column down, then the next.
void SetListColumns(QListWidget *list, int columns);

} // namespace brinevar
