#include "drawn_pictures.h"

#include <QFont>
#include <QPainter>

namespace widgets {
namespace {

struct Symbol {
    QChar initial;
    QColor circle;
};

// Colours of our own, different enough to tell the seven apart at a glance.
Symbol symbolOf(platform::BrowserKind kind) {
    using platform::BrowserKind;
    switch (kind) {
    case BrowserKind::Standard:
        return {QLatin1Char('S'), QColor(96, 96, 112)};
    case BrowserKind::InternetExplorer:
        return {QLatin1Char('I'), QColor(40, 90, 200)};
    case BrowserKind::Edge:
        return {QLatin1Char('E'), QColor(20, 140, 120)};
    case BrowserKind::Chrome:
        return {QLatin1Char('C'), QColor(200, 60, 50)};
    case BrowserKind::Opera:
        return {QLatin1Char('O'), QColor(150, 30, 60)};
    case BrowserKind::Safari:
        return {QLatin1Char('S'), QColor(60, 150, 220)};
    case BrowserKind::Firefox:
        return {QLatin1Char('F'), QColor(230, 120, 20)};
    }
    return {QLatin1Char('?'), QColor(Qt::gray)};
}

QPixmap transparentCanvas(int size) {
    QPixmap canvas(size, size);
    canvas.fill(Qt::transparent);
    return canvas;
}

} // namespace

QPixmap browserPicture(platform::BrowserKind kind) {
    const Symbol symbol = symbolOf(kind);
    QPixmap picture = transparentCanvas(kBrowserPictureSize);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::white, 2));
    painter.setBrush(symbol.circle);
    painter.drawEllipse(QRectF(1.5, 1.5, kBrowserPictureSize - 3, kBrowserPictureSize - 3));
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(kBrowserPictureSize * 11 / 20);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 0, kBrowserPictureSize, kBrowserPictureSize), Qt::AlignCenter,
                     QString(symbol.initial));
    return picture;
}

QPixmap emptyBrowserPicture() {
    return transparentCanvas(kBrowserPictureSize);
}

QIcon fontStepIcon(bool bigger) {
    constexpr int size = 16;
    QPixmap picture = transparentCanvas(size);
    QPainter painter(&picture);
    painter.fillRect(QRect(2, 7, 12, 2), Qt::black);
    if (bigger)
        painter.fillRect(QRect(7, 2, 2, 12), Qt::black);
    return QIcon(picture);
}

} // namespace widgets
