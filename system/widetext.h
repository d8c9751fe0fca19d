// UTF-8 texts as the wide texts that Windows' own functions take, for the
// Windows-only files (ansicodepagewindows.cpp holds the conversions).
#pragma once

#include <string>
#include <string_view>

namespace brinevar {

std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(const std::wstring &wide);

} // namespace brinevar
