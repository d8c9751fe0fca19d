// The form font that the program carries in its resources: Liberation Sans
// Narrow, the Qt build's face, smoothed at every size (windows/smoothfont.py).
#pragma once

namespace brinevar::win {

// Its family name, registered for this process at the first call; null where
// the program carries none or the system refuses it.
const wchar_t *CarriedFace();

} // namespace brinevar::win
