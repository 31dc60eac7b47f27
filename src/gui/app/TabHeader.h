#pragma once
// The strip across the top of every work tab: the tab's instruction line in bold on the warm
// header colour.

#include <QWidget>

class QLabel;

namespace pr {

class TabHeader : public QWidget {
    Q_OBJECT
public:
    static QColor headerColour() { return QColor(240, 201, 166); }

    explicit TabHeader(const QString& text, QWidget* parent = nullptr);
    QString text() const;

private:
    QLabel* label_;
};

}  // namespace pr
