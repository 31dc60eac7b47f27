#include <QPaintEvent>
#include <QScreen>
#include <QStatusBar>
#include <algorithm>
#include <vector>

#include "GuiTestHelpers.h"
#include "ScreenPixels.h"
#include "gui/app/ProgressPanel.h"

namespace {

// Records the rectangle of every paint event a widget receives.
class PaintLog : public QObject {
public:
    explicit PaintLog(QWidget* w) : widget_(w) { w->installEventFilter(this); }
    ~PaintLog() override {
        if (widget_) widget_->removeEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) rects.push_back(static_cast<QPaintEvent*>(e)->rect());
        return false;
    }
    std::vector<QRect> rects;

private:
    QPointer<QWidget> widget_;
};

// Columns of the bar rectangle whose middle pixel is navy.
int navyColumns(const QImage& image, const QRect& bar) {
    int n = 0;
    const int y = bar.center().y();
    for (int x = bar.left(); x <= bar.right(); ++x)
        if (QColor(image.pixel(x, y)) == pr::ProgressPanel::barColour()) ++n;
    return n;
}

}  // namespace

TEST_F(MainFormFixture, ProgressRisesByDrawingOnlyTheBarAndFallsByRepaintingTheStatusBar) {
    pr::TMainForm& w = showForm();
    pr::ProgressPanel* panel = w.progressPanel();
    QApplication::processEvents();
    const QRect r = panel->progressRect();
    ASSERT_FALSE(r.isEmpty()) << "the panel was painted when the window was shown";
    const QColor face = panel->palette().color(QPalette::Button);

    w.SetProStatus(40);
    EXPECT_EQ(navyColumns(panel->grab().toImage(), r), r.width() * 40 / 100);

    PaintLog panelPaints(panel);
    PaintLog barPaints(w.statusBar());
    w.SetProStatus(70);
    // One synchronous paint of just the navy part; nothing beside it is erased or redrawn.
    const QRect navy70(r.left(), r.top(), r.width() * 70 / 100, r.height());
    ASSERT_EQ(panelPaints.rects.size(), 1u);
    EXPECT_EQ(panelPaints.rects[0], navy70);
    for (const QRect& painted : barPaints.rects)
        EXPECT_TRUE(navy70.translated(panel->pos()).contains(painted));
    const QImage at70 = testsupport::shownOnScreen(panel);
    EXPECT_EQ(navyColumns(at70, r), r.width() * 70 / 100);
    EXPECT_EQ(QColor(at70.pixel(r.right(), r.center().y())), face);

    panelPaints.rects.clear();
    w.SetProStatus(0);
    // Going back repaints the whole status bar at once, the panel included.
    EXPECT_TRUE(std::any_of(barPaints.rects.begin(), barPaints.rects.end(),
                            [&](const QRect& p) { return p.contains(panel->geometry()); }));
    ASSERT_FALSE(panelPaints.rects.empty());
    EXPECT_TRUE(panelPaints.rects[0].contains(r));
    const QImage at0 = testsupport::shownOnScreen(panel);
    EXPECT_EQ(navyColumns(at0, r), 0);
    EXPECT_EQ(QColor(at0.pixel(r.left(), r.center().y())), face);
}

TEST_F(MainFormFixture, ProgressStaysInsideItsPanelAndArrivesQueued) {
    pr::TMainForm& w = showForm();
    pr::ProgressPanel* panel = w.progressPanel();
    QApplication::processEvents();
    const QRect r = panel->progressRect();

    w.SetProStatus(250);
    EXPECT_EQ(panel->percent(), 100);
    EXPECT_EQ(navyColumns(panel->grab().toImage(), r), r.width());
    w.SetProStatus(-3);
    EXPECT_EQ(panel->percent(), 0);

    QMetaObject::invokeMethod(&w, "postProgress", Qt::QueuedConnection, Q_ARG(int, 55));
    EXPECT_EQ(panel->percent(), 0);
    QApplication::processEvents();
    EXPECT_EQ(panel->percent(), 55);
    EXPECT_EQ(navyColumns(panel->grab().toImage(), r), r.width() * 55 / 100);
}
