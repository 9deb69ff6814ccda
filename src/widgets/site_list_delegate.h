#pragma once

#include <QColor>
#include <QPixmap>
#include <QStyledItemDelegate>

namespace widgets {

// Draws a row of the web-site list: the row's symbol picture (green for a
// site that searches by itself, white for one the user pastes into) with ">"
// or "+" written on it, then the address beside it.
class SiteListDelegate final : public QStyledItemDelegate {
    Q_OBJECT
public:
    SiteListDelegate(QPixmap directSymbol, QPixmap pasteSymbol, QObject* parent = nullptr);

    // Selected rows are filled with this colour (the windows' colour,
    // darkened to 90 %, see darkenedToNinetyPercent).
    void setSelectionColour(const QColor& colour) { selection_ = colour; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

Q_SIGNALS:
    // Emitted before each row is drawn; the window hides its history list.
    void aboutToDrawRow() const;

private:
    QPixmap direct_;
    QPixmap paste_;
    QColor selection_;
};

} // namespace widgets
