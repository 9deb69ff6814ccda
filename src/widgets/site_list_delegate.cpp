#include "site_list_delegate.h"

#include "window_colours.h"

#include "search/browser_launch.h"
#include "search/web_site_file.h"

#include <QPainter>

namespace widgets {

SiteListDelegate::SiteListDelegate(QPixmap directSymbol, QPixmap pasteSymbol, QObject* parent)
    : QStyledItemDelegate(parent)
    , direct_(std::move(directSymbol))
    , paste_(std::move(pasteSymbol))
    , selection_(darkenedToNinetyPercent(QColor(0, 128, 128))) {}

void SiteListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    Q_EMIT aboutToDrawRow();
    const QString address = index.data(Qt::DisplayRole).toString();
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    const QRect row = option.rect;

    painter->save();
    painter->fillRect(row, selected ? selection_ : option.palette.color(QPalette::Base));

    const QPixmap& symbol = search::isDirectSearchSite(address) ? direct_ : paste_;
    const int symbolTop = row.top() + (row.height() - symbol.height()) / 2;
    painter->drawPixmap(row.left(), symbolTop, symbol);
    QFont symbolFont = painter->font();
    symbolFont.setBold(true);
    symbolFont.setPixelSize(qMax(8, symbol.height() - 4));
    painter->setFont(symbolFont);
    painter->setPen(Qt::black);
    painter->drawText(QRect(row.left() + 6, symbolTop, symbol.width() - 6, symbol.height()),
                      Qt::AlignLeft | Qt::AlignVCenter, websites::siteSymbolText(address));

    painter->setFont(option.font);
    // A selected site lies on a shade of the user's window colour.
    painter->setPen(selected ? blackOrWhiteOn(selection_) : option.palette.color(QPalette::Text));
    const QRect textRect(row.left() + symbol.width() + 4, row.top() + 2,
                         row.width() - symbol.width() - 4, row.height() - 2);
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignTop, address);
    painter->restore();
}

QSize SiteListDelegate::sizeHint(const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(qMax(size.height(), direct_.height() + 2));
    return size;
}

} // namespace widgets
