#pragma once

#include <QString>

#include <optional>

// Colour text: a colour $00BBGGRR (red in the low byte) or a system colour
// $800000nn, written as one of 41 names when it has one, else as "$" and
// eight upper-case hex digits.
namespace platform {

QString colourToText(quint32 colour);

// Names in any letter case, decimal or "$"-hex integers; nothing for any other
// text, which callers treat as "use the value's default".
std::optional<quint32> colourFromText(const QString& text);

bool isSystemColour(quint32 colour);

} // namespace platform
