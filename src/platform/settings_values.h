#pragma once

#include "settings_store.h"

#include <QList>
#include <QPair>
#include <QString>

#include <optional>

// Names of the values in the settings store, and the first-run defaults.
namespace platform::settings {

inline const QString kSelectedDatabase = QStringLiteral("Ausgewaehlte_Datenbank");
inline const QString kWebSiteTopic = QStringLiteral("Themen-Webseite");
inline const QString kSelectedWebSite = QStringLiteral("Ausgewaehlte_Webseite");
inline const QString kBackgroundColour = QStringLiteral("Farbe");
inline const QString kHintTextColour = QStringLiteral("HinweistextFarbe");
inline const QString kMainWindowHeight = QStringLiteral("Hoehe");
inline const QString kMainWindowWidth = QStringLiteral("Weite");
inline const QString kSearchWindowHeight = QStringLiteral("SHoehe");
inline const QString kSearchWindowWidth = QStringLiteral("SWeite");
inline const QString kBrowser = QStringLiteral("Browser");
inline const QString kCopySearchTextToClipboard =
    QStringLiteral("Suchwort_in_Zwischenablage_kopieren");
inline const QString kViewerHintShown = QStringLiteral("Kurzhinweis_imViewer_anzeigen");
inline const QString kViewerFontSize = QStringLiteral("SchriftsizeTextViewer");
inline const QString kSplitterPos = QStringLiteral("SplitterPos");
inline const QString kBookmarkPrefix = QStringLiteral("Lesezeichen_");
inline const QString kTrovexControl = QStringLiteral("Trovex_Control");
inline const QString kDriveMappingPrefix = QStringLiteral("Laufwerk_");
// Threads that extract documents during an index run; empty: one per processor.
inline const QString kIndexingThreads = QStringLiteral("Indizierung_Threads");

// The twelve values written on the first run, in the order they are written.
QList<QPair<QString, QString>> firstRunDefaults(int defaultWidth);

// Writes the defaults when `Ausgewaehlte_Datenbank` is empty; true when it did.
bool writeFirstRunDefaultsIfNeeded(SettingsStore& store, int defaultWidth);

// A stored decimal integer, or nothing when the value is empty or not a number
// (a hand-edited value then falls back to the caller's default).
std::optional<qint64> readInteger(SettingsStore& store, const QString& valueName);
int readInteger(SettingsStore& store, const QString& valueName, int fallback);

// A stored window width or height as the window takes it: no larger than the
// screen (a hand-edited 100000 would ask for a window of gigabytes), except
// that the program's own first-start size always fits.
int windowExtentOnScreen(int stored, int screenExtent, int ownDefault);

} // namespace platform::settings
