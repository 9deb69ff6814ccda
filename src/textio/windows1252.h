#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <array>
#include <optional>

// The Windows-1252 code page as the database formats use it. The five bytes
// that Windows-1252 leaves undefined stand for U+0081, U+008D, U+008F, U+0090
// and U+009D, so every byte has a character and the mapping is reversible.
namespace textio {

char16_t windows1252Char(unsigned char byte);

// The byte for a character, or nothing when Windows-1252 cannot hold it.
std::optional<unsigned char> windows1252Byte(char16_t ch);

// ANSI view: each byte becomes its Windows-1252 character.
QString ansiView(QByteArrayView bytes);

// Back from the ANSI view: a character Windows-1252 cannot hold becomes "?"
// (one per UTF-16 unit).
QByteArray ansiBytes(QStringView text);

// Byte case tables, derived from the simple Unicode case mappings of each
// byte's character; a byte whose mapped character has no byte stays as it is.
const std::array<unsigned char, 256>& windows1252LowerTable();
const std::array<unsigned char, 256>& windows1252UpperTable();

QByteArray windows1252Lower(QByteArrayView bytes);

} // namespace textio
