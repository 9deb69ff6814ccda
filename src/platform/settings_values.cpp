#include "settings_values.h"

#include <algorithm>

namespace platform::settings {

QList<QPair<QString, QString>> firstRunDefaults(int defaultWidth) {
    const QString width = QString::number(defaultWidth);
    return {
        {kSelectedDatabase, QStringLiteral("-1")},
        {kWebSiteTopic, QStringLiteral("0")},
        {kSelectedWebSite, QStringLiteral("0")},
        {kBackgroundColour, QStringLiteral("clTeal")},
        {kHintTextColour, QStringLiteral("clWhite")},
        {kMainWindowHeight, QStringLiteral("506")},
        {kMainWindowWidth, width},
        {kSearchWindowHeight, QStringLiteral("500")},
        {kSearchWindowWidth, width},
        {kBrowser, QStringLiteral("standard")},
        {kCopySearchTextToClipboard, QStringLiteral("1")},
        {kViewerHintShown, QStringLiteral("1")},
    };
}

bool writeFirstRunDefaultsIfNeeded(SettingsStore& store, int defaultWidth) {
    if (!store.read(kSelectedDatabase).isEmpty())
        return false;
    for (const auto& [name, value] : firstRunDefaults(defaultWidth))
        store.write(name, value);
    return true;
}

std::optional<qint64> readInteger(SettingsStore& store, const QString& valueName) {
    bool ok = false;
    const qint64 value = store.read(valueName).trimmed().toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return value;
}

int readInteger(SettingsStore& store, const QString& valueName, int fallback) {
    const auto value = readInteger(store, valueName);
    if (!value || *value < INT_MIN || *value > INT_MAX)
        return fallback;
    return static_cast<int>(*value);
}

int windowExtentOnScreen(int stored, int screenExtent, int ownDefault) {
    return std::min(stored, std::max(screenExtent, ownDefault));
}

} // namespace platform::settings
