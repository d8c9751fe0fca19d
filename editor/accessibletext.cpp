#include "accessibletext.h"

#include "catalogue.h"
#include "mainlayout.h"

namespace brinevar {

const std::vector<AccessibleText> &MainAccessibleTexts()
{
    static const std::vector<AccessibleText> texts = [] {
        std::vector<AccessibleText> all;
        for (const Setting &setting : Catalogue()) {
            const std::string name(setting.name), meaning(setting.meaning);
            all.push_back({setting.field, -1, name, meaning, meaning});
            if (setting.help)
                all.push_back(
                    {setting.help->array, setting.help->index, "Help on " + name, meaning, {}});
        }
        for (const ControlRow &row : MainLayout())
            if (row.name == "Label21") // the list's caption
                all.push_back({"List1", -1, std::string(row.text), {}, {}});
        return all;
    }();
    return texts;
}

} // namespace brinevar
