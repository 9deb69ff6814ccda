#pragma once

#include <QColor>
#include <QPalette>

class QWidget;

// Colours as the settings hold them ($00BBGGRR, or a system colour $800000nn)
// turned into what the widgets draw with.
QColor colourFromValue(quint32 value, const QPalette& palette);

// Each of red, green and blue becomes c - (7 * c) / 100, truncated: the
// background of the selected database entry.
QColor darkenedBySevenPercent(const QColor& colour);

// Background of a window or panel.
void setBackgroundColour(QWidget* widget, const QColor& colour);

// Font colour of a label, button or check box.
void setTextColour(QWidget* widget, const QColor& colour);
