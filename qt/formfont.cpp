#include "formfont.h"

#include <QFontDatabase>
#include <QWidget>

#include <algorithm>

namespace brinevar {
namespace {

// The embedded face, registered once; empty when the build had none.
QString EmbeddedFamily()
{
    static const QString family = [] {
        const int id = QFontDatabase::addApplicationFont(
            QStringLiteral(":/brinevar/fonts/LiberationSansNarrow-Regular.ttf"));
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        return families.isEmpty() ? QString() : families.first();
    }();
    return family;
}

} // namespace

QFont FormFont(int dpi)
{
    const QString embedded = EmbeddedFamily();
    QFont font;
    font.setFamilies(embedded.isEmpty()
                         ? QStringList{QStringLiteral("Arial Narrow"), QStringLiteral("Arial")}
                         : QStringList{embedded});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(1, (kFormFontPixels * dpi + 48) / 96));
    font.setWeight(QFont::Normal);
    font.setStyle(QFont::StyleNormal);
    // No stretch: asking for normal width would widen the narrow face again.
    font.setStretch(QFont::AnyStretch);
    return font;
}

void ApplyFormFont(QWidget *window, int dpi)
{
    window->setFont(FormFont(dpi));
}

} // namespace brinevar
