#include "accessibletext.h"

#include "catalogue.h"
#include "mainlayout.h"

namespace brinevar {

std::string CaptionWords(std::string_view text)
{
    std::string words = ShownText(text);
    while (!words.empty() && (words.back() == ' ' || words.back() == '='))
        words.pop_back();
    return words;
}

const std::vector<AccessibleText> &MainAccessibleTexts()
{
    static const std::vector<AccessibleText> texts = [] {
        std::vector<AccessibleText> all;
        const auto rows = MainLayout();
        for (const ControlRow &row : rows) {
            const ControlRow *caption = row.caption.empty() ? nullptr : FindRow(rows, row.caption);
            if (!caption)
                continue;
            const std::string name = CaptionWords(caption->text);
            const auto setting = FindSettingByField(row.name);
            if (!setting) {
                all.push_back({row.name, row.index, name, {}, {}});
                continue;
            }
            const Setting &meant = Catalogue()[*setting];
            const std::string meaning(meant.meaning);
            all.push_back({row.name, row.index, name, meaning, meaning});
            if (meant.help)
                all.push_back(
                    {meant.help->array, meant.help->index, "Help on " + name, meaning, {}});
        }
        return all;
    }();
    return texts;
}

} // namespace brinevar
