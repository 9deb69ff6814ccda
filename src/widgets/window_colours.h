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

// Text on a colour the user chose must stay readable: WCAG's relative
// luminance and contrast ratio decide. Enabled text reads at 4.5 : 1 at
// least, disabled text at 3 : 1 (WCAG's floor for large text and for the
// parts of a control): clearly fainter than the enabled text beside it, yet
// legible.
inline constexpr double kReadableContrast = 4.5;
inline constexpr double kDisabledContrast = 3.0;

// 0 for black to 1 for white, from the sRGB components.
double relativeLuminance(const QColor& colour);
// (lighter + 0.05) / (darker + 0.05): 1 for equal colours, 21 for black
// on white.
double contrastRatio(const QColor& first, const QColor& second);
// Black or white, whichever stands out more on the background (one of them
// always reaches 4.5 : 1).
QColor blackOrWhiteOn(const QColor& background);
// The wanted colour where it reads on the background; black or white where
// it would not.
QColor readableTextColour(const QColor& wanted, const QColor& background);
// The text of a disabled control: the enabled text moved towards the
// background until it reaches 3 : 1, so it looks disabled on any colour and
// never fades into it.
QColor disabledTextColour(const QColor& enabledText, const QColor& background);

// The palette with its disabled texts made readable on their own
// backgrounds (window text on the window, button text on the button face,
// text on the base of fields and lists), dimmed from the enabled ones.
QPalette withReadableDisabledText(QPalette palette);

// Background of a window or panel. The text drawn straight on it (labels
// and check boxes that have no colour of their own) becomes black or white
// to suit it, and dimmed the same way while disabled.
void setBackgroundColour(QWidget* widget, const QColor& colour);

// Font colour of a label, button or check box drawn on its window's
// background (the palette's window colour the widget has now): the wanted
// colour where it reads there, else black or white; a disabled one is
// dimmed from that. Call again after the background changes.
void setTextColour(QWidget* widget, const QColor& colour);

} // namespace widgets
