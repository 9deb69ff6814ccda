#pragma once

#include <QtGlobal>

namespace platform {

// Which system a text describes. A few of the program's texts talk about
// mechanisms only Windows has (the .exe files, the user account control, the
// NTFS volume check, Windows Defender); they are kept byte for byte there,
// and every other system gets wording that is true on it. The texts take the
// family as a parameter, so both wordings can be checked on any system.
enum class OsFamily { Windows, Other };

constexpr OsFamily currentOsFamily() {
#ifdef Q_OS_WIN
    return OsFamily::Windows;
#else
    return OsFamily::Other;
#endif
}

} // namespace platform
