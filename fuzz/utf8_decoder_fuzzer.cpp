// The lenient UTF-8 decoder on arbitrary bytes, with the promises the
// stored formats rest on.

#include "fuzz_support.h"

#include "textio/utf8.h"

#include <QStringDecoder>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes = fuzzing::inputBytes(data, size);
    const QString text = textio::utf8DecodeLenient(bytes);

    // Per-unit encoding of whatever it decoded comes back unit for unit,
    // lone surrogates included: double UTF-8 paths depend on it.
    fuzzing::require(textio::utf8DecodeLenient(textio::utf8EncodePerUnit(text)) == text,
                     "per-unit UTF-8 decodes back to the same text");
    fuzzing::require(textio::doubleUtf8Decode(textio::doubleUtf8Encode(text)) == text,
                     "double UTF-8 decodes back to the same text");

    // On valid UTF-8 lenience changes nothing: the result is Qt's.
    QStringDecoder strict(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                    QStringDecoder::Flag::ConvertInitialBom);
    const QString strictText = strict.decode(bytes);
    if (!strict.hasError())
        fuzzing::require(text == strictText, "valid UTF-8 decodes as the standard says");

    textio::doubleUtf8Decode(bytes);
    return 0;
}
