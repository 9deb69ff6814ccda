#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace textio {

// "UTF-8 encode": every UTF-16 unit on its own, in one to three bytes, so a
// surrogate pair becomes two three-byte sequences. Double UTF-8 and search
// patterns are made with this.
QByteArray utf8EncodePerUnit(QStringView text);

// Standard UTF-8 as files are written: a surrogate pair becomes four bytes and
// a lone surrogate becomes EF BF BD.
QByteArray utf8EncodeStandard(QStringView text);

// Standard UTF-8, but a lone surrogate keeps its three bytes: the escape of
// a file-name byte that is not UTF-8 (see platform/native_file_name.h)
// survives, and the lenient decoder gives it back.
QByteArray utf8EncodeKeepingEscapes(QStringView text);

// Lenient UTF-8 decode that never fails. Complete two-, three- and four-byte
// sequences decode even when overlong or surrogates (so per-unit encoded pairs
// come back exactly); a lead byte without its continuation bytes, a stray
// continuation byte, F8..FF and code points above U+10FFFF become the
// character of the byte's value; a sequence cut off at the end of the input
// becomes one character of the lead byte's value and swallows the
// continuation bytes that are present.
QString utf8DecodeLenient(QByteArrayView bytes);

// Double UTF-8, the stored form of paths in the document list: per-unit UTF-8,
// each byte taken as its Windows-1252 character, that encoded as UTF-8 again.
QByteArray doubleUtf8Encode(QStringView text);
QString doubleUtf8Decode(QByteArrayView bytes);

} // namespace textio
