#pragma once
// ColorComboBox: a drop-down of the sixteen standard colours, each shown as a swatch with its
// German name. A colour that is not among them (read from an album file) is added as its own
// entry, so any RGB value can be shown and kept.

#include <QColor>
#include <QComboBox>

namespace pr {

class ColorComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit ColorComboBox(QWidget* parent = nullptr);

    QColor color() const;
    void setColor(const QColor& colour);

signals:
    void colorChanged(const QColor& colour);

private:
    void addColour(const QColor& colour, const QString& name);
};

}  // namespace pr
