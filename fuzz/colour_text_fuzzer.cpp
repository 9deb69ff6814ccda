// Colour text as the settings store hands it over, on arbitrary text.

#include "fuzz_support.h"

#include "platform/colour_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = QString::fromUtf8(fuzzing::inputBytes(data, size));
    const std::optional<quint32> colour = platform::colourFromText(text);
    if (colour) {
        // What is written back for a colour reads as that colour again.
        fuzzing::require(platform::colourFromText(platform::colourToText(*colour)) == colour,
                         "colour text reads back as the same colour");
        platform::isSystemColour(*colour);
    }
    return 0;
}
