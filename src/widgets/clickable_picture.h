#pragma once

#include <QLabel>

namespace widgets {

// A picture that answers a click with the left mouse button, as the browser
// pictures of the settings dialog do.
class ClickablePicture final : public QLabel {
    Q_OBJECT
public:
    explicit ClickablePicture(QWidget* parent = nullptr);

Q_SIGNALS:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace widgets
