#pragma once
// A button made of two pictures of the same size at the same place: the normal one and the pressed
// one, exactly one of them in front.
//
// It does not behave like a push button on purpose: while the mouse is held, the pressed picture
// shows only while the pointer is over the button, and a release outside does nothing. The four
// handlers below are the whole behaviour; `pressed` is the flag that the mouse went down here and
// has not come up yet.

#include <QPixmap>
#include <QWidget>

namespace pr {

class ImageButton : public QWidget {
    Q_OBJECT
public:
    ImageButton(const QPixmap& normal, const QPixmap& pressed, QWidget* parent = nullptr);

    bool isPressed() const { return pressed_; }
    bool pressedPictureShown() const { return pressedShown_; }
    const QPixmap& normalPicture() const { return normal_; }
    const QPixmap& pressedPicture() const { return pressedPic_; }

    QSize sizeHint() const override;

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void MouseDown();
    void MouseMove(const QPoint& pos);
    void MouseUp();
    void Click();
    void showPressed(bool pressed);

    QPixmap normal_;
    QPixmap pressedPic_;
    bool pressed_ = false;
    bool pressedShown_ = false;
};

}  // namespace pr
