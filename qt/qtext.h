// The core's texts, UTF-8 in std::string and std::string_view, as Qt's.
#pragma once

#include <QString>

#include <string_view>

namespace brinevar {

inline QString Utf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

} // namespace brinevar
