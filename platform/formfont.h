// The one font of the program's windows.
#pragma once

#include <QFont>

class QWidget;

namespace brinevar
{

// 8.25 pt at the 96 dots per inch the twip layouts assume, i.e. 11 logical
// pixels.
inline constexpr int kFormFontPixels = 11;

// The nearest face to the narrow sans-serif the layouts were sized for: the
// embedded Liberation Sans (Arial's metrics), else Arial.
QFont FormFont();

// Gives `window` and all its controls the form font.
void ApplyFormFont(QWidget *window);

} // namespace brinevar
