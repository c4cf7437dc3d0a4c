// The typeface the device draws its dialogs' titles and the memo overlay in,
// and the font a new picture's memo starts with.
#pragma once

#include <QLatin1StringView>

inline constexpr QLatin1StringView kProgramFontFace("Tahoma");
