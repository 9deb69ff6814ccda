#pragma once

#include <QStyledItemDelegate>

#include <functional>

namespace widgets {

// Draws one entry of the database list: the list icon with pure red as its
// transparent colour, then the name in bold 16-pixel type; a selected entry
// on the main window's colour darkened by seven per cent.
class DatabaseListDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    DatabaseListDelegate(std::function<QColor()> windowColour, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    static QFont entryFont();

private:
    std::function<QColor()> windowColour_;
};

// The list icon as drawn: pure red pixels become transparent.
QPixmap withRedTransparent(const QPixmap& picture);

} // namespace widgets
