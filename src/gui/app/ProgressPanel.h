#pragma once
// The progress indicator in the status bar: a navy bar over the button-face colour, 0..100 %.
//
// Long image loops run on the window thread without returning to the event loop, so the bar is
// drawn synchronously. A rising value paints only the navy part, from the left edge to the new
// width, over what is already there: one small rectangle per step, nothing erased, no flicker.
// A falling value (0 when an operation ends) repaints the whole status bar so that the old bar
// disappears.

#include <QFrame>

namespace pr {

class ProgressPanel : public QFrame {
    Q_OBJECT
public:
    static QColor barColour() { return QColor(0, 0, 128); }

    explicit ProgressPanel(QWidget* parent = nullptr);

    // Values outside 0..100 are taken as 0 or 100: the bar never leaves its panel.
    void setProStatus(int percent);

    int percent() const { return percent_; }
    // The rectangle the bar was last painted into (panel coordinates); empty before the first
    // paint, and then rising values draw nothing until the panel has been shown.
    QRect progressRect() const { return progressRect_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int percent_ = 0;
    QRect progressRect_;
};

}  // namespace pr
