// What is seen is what is saved: before anything is written, every field's
// text must go into the file's code page exactly as it stands. The one check
// of a save (EncodeSettingsText).
#pragma once

#include "ansicodepage.h"
#include "catalogue.h"
#include "result.h"

namespace brinevar {

// Success when `codePage` holds every text exactly. Otherwise what to tell
// the user: each such field by its caption (the setting name) with the
// characters that cannot be stored, one line each, e.g.
// "initialSalinity holds ж, which tanks.cfg cannot store."
Result RefuseUnstorableTexts(const TankSettings &texts, unsigned codePage = AnsiCodePage());

} // namespace brinevar
