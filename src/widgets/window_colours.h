#pragma once

#include "platform/settings_store.h"

#include <QColor>
#include <QPalette>
#include <QString>

class QWidget;

namespace widgets {

// The two colours every window wears: the background (settings value Farbe)
// and the font colour of the hint texts (HinweistextFarbe). The main window
// reads them at its first paint and hands them to each window's
// applyColours().
struct WindowColours {
    QColor background;
    QColor hintText;
    // The background as stored: $00BBGGRR or a system colour $800000nn.
    quint32 backgroundValue = 0;
};

// Read as the first paint does: a missing Farbe is the highlight colour, one
// edited by hand into something unreadable is teal; a missing or unreadable
// HinweistextFarbe is white. System colours come from the palette.
WindowColours storedWindowColours(platform::SettingsStore& store, const QPalette& palette);

// A stored colour taken as a plain colour: a system colour, an unreadable or
// a missing value gives the fallback.
QColor plainColourSetting(platform::SettingsStore& store, const QString& name,
                          const QColor& fallback);

// Colours as the settings hold them ($00BBGGRR, or a system colour $800000nn)
// turned into what the widgets draw with.
QColor colourFromValue(quint32 value, const QPalette& palette);

// Each of red, green and blue becomes c - (7 * c) / 100, truncated: the
// background of the selected database entry.
QColor darkenedBySevenPercent(const QColor& colour);

// Each component at 90 %, truncated: the selected row of the site list.
QColor darkenedToNinetyPercent(const QColor& colour);

// Background of a window or panel.
void setBackgroundColour(QWidget* widget, const QColor& colour);

// Font colour of a label, button or check box while it is enabled.
void setTextColour(QWidget* widget, const QColor& colour);

} // namespace widgets
