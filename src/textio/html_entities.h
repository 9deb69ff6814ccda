#pragma once

#include <QByteArrayView>

#include <optional>

namespace textio {

// The character a named reference of HTML stands for ("ouml" gives U+00F6),
// from the 252 names of HTML 4 and "apos"; nothing for any other name. Names
// are told apart by letter case ("Auml", "auml").
std::optional<char16_t> htmlEntityCharacter(QByteArrayView name);

// The same character as the scanner's content holds it: its Windows-1252
// byte, or "¿" (0xBF) when Windows-1252 has none.
std::optional<unsigned char> htmlEntityByte(QByteArrayView name);

} // namespace textio
