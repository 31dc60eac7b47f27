#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPushButton>
#include <QWidget>
#include <memory>

#include "gui/toolkit/InputOnlyFor.h"

namespace {

// While pages go to the printer only the stop button takes input; repaints and everything else
// still arrive, and the window's close request is refused.
TEST(InputOnlyFor, OnlyTheStopButtonTakesInputWhileItLives) {
    QWidget window;
    auto* other = new QPushButton(QStringLiteral("Go!"), &window);
    auto* stop = new QPushButton(QStringLiteral("Abbrechen"), &window);
    const QMouseEvent press(QEvent::MouseButtonPress, QPointF(1, 1), QPointF(1, 1), Qt::LeftButton,
                            Qt::LeftButton, Qt::NoModifier);
    const QKeyEvent key(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    const QPaintEvent paint(QRect(0, 0, 1, 1));
    QCloseEvent close;
    {
        pr::InputOnlyFor only(stop);
        EXPECT_TRUE(only.holdsBack(other, &press));
        EXPECT_TRUE(only.holdsBack(other, &key));
        EXPECT_TRUE(only.holdsBack(&window, &close));
        EXPECT_FALSE(only.holdsBack(stop, &press));
        EXPECT_FALSE(only.holdsBack(other, &paint));

        int clicks = 0;
        QObject::connect(other, &QPushButton::clicked, [&] { ++clicks; });
        QObject::connect(stop, &QPushButton::clicked, [&] { ++clicks; });
        other->click();  // a programmatic click is no input event
        EXPECT_EQ(clicks, 1);
        window.show();
        EXPECT_FALSE(window.close());
        EXPECT_TRUE(window.isVisible());

        const pr::InputOnlyFor none(nullptr);
        EXPECT_TRUE(none.holdsBack(stop, &press));
    }
    EXPECT_TRUE(window.close());
}

}  // namespace
