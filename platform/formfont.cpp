#include "formfont.h"

#include <QFontDatabase>
#include <QWidget>

namespace brinevar
{
namespace
{

// The face embedded at build time, registered once; empty when the build
// had none to embed.
QString EmbeddedFamily()
{
    static const QString family = [] {
        const int id = QFontDatabase::addApplicationFont(
            QStringLiteral(":/brinevar/fonts/LiberationSans-Regular.ttf"));
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        return families.isEmpty() ? QString() : families.first();
    }();
    return family;
}

} // namespace

QFont FormFont()
{
    const QString embedded = EmbeddedFamily();
    QFont font(embedded.isEmpty() ? QStringLiteral("Arial") : embedded);
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(kFormFontPixels);
    font.setWeight(QFont::Normal);
    font.setStyle(QFont::StyleNormal);
    return font;
}

void ApplyFormFont(QWidget *window)
{
    window->setFont(FormFont());
}

} // namespace brinevar
