#include "database_list_delegate.h"

#include "window_colours.h"

#include <QApplication>
#include <QBitmap>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace widgets {

DatabaseListDelegate::DatabaseListDelegate(std::function<QColor()> windowColour, QObject* parent)
    : QStyledItemDelegate(parent)
    , windowColour_(std::move(windowColour)) {}

QFont DatabaseListDelegate::entryFont() {
    QFont font(QStringLiteral("Arial Unicode MS"));
    font.setPixelSize(16);
    font.setBold(true);
    return font;
}

QPixmap withRedTransparent(const QPixmap& picture) {
    if (picture.isNull())
        return picture;
    QPixmap result = picture;
    result.setMask(picture.createMaskFromColor(QColor(255, 0, 0), Qt::MaskInColor));
    return result;
}

void DatabaseListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    const QRect rect = option.rect;
    const QPalette& palette = option.palette;
    const QColor background =
        selected ? darkenedBySevenPercent(windowColour_()) : palette.color(QPalette::Base);
    // The selected entry lies on the user's window colour: its text is
    // black or white to suit it.
    const QColor text = selected ? blackOrWhiteOn(background) : palette.color(QPalette::Text);

    painter->save();
    painter->fillRect(rect, background);
    int textLeft = rect.left() + 2;
    const QPixmap picture = index.data(Qt::DecorationRole).value<QPixmap>();
    if (!picture.isNull()) {
        painter->drawPixmap(rect.left() + 1, rect.top() + 1, withRedTransparent(picture));
        textLeft = rect.left() + picture.width() + 4;
    }
    painter->setFont(entryFont());
    painter->setPen(text);
    const QRect textRect(textLeft, rect.top() + 2, rect.right() - textLeft, rect.height() - 2);
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                      index.data(Qt::DisplayRole).toString());
    painter->restore();

    if (option.state.testFlag(QStyle::State_HasFocus)) {
        QStyleOptionFocusRect focus;
        focus.rect = rect;
        focus.state = option.state;
        focus.backgroundColor = background;
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, widget);
    }
}

QSize DatabaseListDelegate::sizeHint(const QStyleOptionViewItem& option,
                                     const QModelIndex& index) const {
    const QPixmap picture = index.data(Qt::DecorationRole).value<QPixmap>();
    const int height = std::max(23, picture.isNull() ? 0 : picture.height() + 2);
    return QSize(QStyledItemDelegate::sizeHint(option, index).width(), height);
}

} // namespace widgets
