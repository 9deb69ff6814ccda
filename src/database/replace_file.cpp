#include "replace_file.h"

#ifdef Q_OS_WIN
#include "textio/durable_files.h"

#include <QDir>

#include <windows.h>
#else
#include <filesystem>
#include <system_error>
#endif

namespace database {

std::optional<QString> replaceFile(const QString& from, const QString& to) {
#ifdef Q_OS_WIN
    // No copy allowed: a rename within the volume is the one step a reader
    // cannot see half done. Write-through returns only once the new name is
    // on the disk.
    const QString source = QDir::toNativeSeparators(from);
    const QString target = QDir::toNativeSeparators(to);
    if (MoveFileExW(reinterpret_cast<LPCWSTR>(source.utf16()),
                    reinterpret_cast<LPCWSTR>(target.utf16()),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return std::nullopt;
    return textio::windowsErrorText(GetLastError());
#else
    std::error_code code;
    std::filesystem::rename(std::filesystem::path(from.toStdU16String()),
                            std::filesystem::path(to.toStdU16String()), code);
    if (code)
        return QString::fromStdString(code.message());
    return std::nullopt;
#endif
}

} // namespace database
