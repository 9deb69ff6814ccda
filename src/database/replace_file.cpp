#include "replace_file.h"

#include <filesystem>
#include <system_error>

namespace database {

std::optional<QString> replaceFile(const QString& from, const QString& to) {
    std::error_code code;
    std::filesystem::rename(std::filesystem::path(from.toStdU16String()),
                            std::filesystem::path(to.toStdU16String()), code);
    if (code)
        return QString::fromStdString(code.message());
    return std::nullopt;
}

} // namespace database
