// The one font of the program's windows.
#pragma once

#include <QFont>

class QWidget;

namespace brinevar {

// 8.25 pt at the 96 dots per inch the twip layouts assume: 11 logical pixels.
inline constexpr int kFormFontPixels = 11;

// The sans-serif closest to the narrow bitmap face the layouts were sized
// for: Liberation Sans Narrow (the metrics of Arial Narrow), embedded in the
// program; Arial Narrow or Arial when the build had no file to embed.
// At a lower `dpi` (a form drawn smaller) the size shrinks with it.
QFont FormFont(int dpi = 96);

// Gives `window` and all its controls the form font.
void ApplyFormFont(QWidget *window, int dpi = 96);

} // namespace brinevar
