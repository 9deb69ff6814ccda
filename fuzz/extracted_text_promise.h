#pragma once

#include "fuzz_support.h"

#include "indexing/extracted_text.h"

namespace fuzzing {

// The text cache stores a document's text in this form and takes it back
// only when it holds together: every extracted text must.
inline void requireStoredFormHolds(const indexing::ExtractedText& text) {
    require(indexing::ExtractedText::fromStored(text.bytes(), text.lineLengths(), text.lineCount(),
                                                text.characters(), text.partsAfterLastLine())
                .has_value(),
            "an extracted text can be stored and taken back");
}

} // namespace fuzzing
