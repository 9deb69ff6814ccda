#pragma once

#include <QWidget>

// A hidden scratch window with a rich-text box; it is never shown.
class TFormTempRTF : public QWidget {
    Q_OBJECT
public:
    explicit TFormTempRTF(QWidget* parent = nullptr);
};
