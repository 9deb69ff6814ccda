#pragma once

#include "line_index.h"

#include <QHash>
#include <QList>
#include <QStringView>

#include <functional>
#include <optional>

namespace viewer {

// Word wrap as the widget measures it: given a line's decoded text, the
// UTF-16 positions at which its second, third, ... row begin (ascending,
// inside the text). The model knows nothing of fonts or pixels; the widget
// hands in a function that knows its width.
using WrapFunction = std::function<QList<qsizetype>(QStringView text)>;

// The rows the viewer draws: with word wrap off every line is one row; with
// it on a line is cut into the rows the wrap function gives. Rows are
// TextLines too: an inner row ends where the next one begins.
class RowLayout {
public:
    explicit RowLayout(const LineIndex& lines)
        : lines_(lines) {}

    void setWrapFunction(WrapFunction wrap);
    bool wordWrap() const { return static_cast<bool>(wrap_); }
    // Drops the wrapped rows kept from an earlier text.
    void forgetRows() { wrapped_.clear(); }

    // The row that holds the offset (clamped into the text; not empty).
    TextLine rowAt(qint64 offset) const;
    std::optional<TextLine> rowAfter(const TextLine& row) const;
    std::optional<TextLine> rowBefore(const TextLine& row) const;

private:
    const QList<TextLine>& rowsOf(const TextLine& line) const;

    const LineIndex& lines_;
    WrapFunction wrap_;
    // Paging over wrapped text asks for the same few lines again and again.
    mutable QHash<qint64, QList<TextLine>> wrapped_;
};

} // namespace viewer
