#pragma once
// A layout tab on a fixed 8 x 10.5 inch printer page and a 96 ppi screen, shown offscreen, with
// the window's hooks replaced by recorders.

#include <gtest/gtest.h>

#include <functional>

#include <QApplication>
#include <QTest>
#include <vector>

#include "ScriptedPrompter.h"
#include "core/album/Album.h"
#include "core/layout/PlacementEditing.h"
#include "gui/layout/PageView.h"
#include "gui/layout/PictureStrip.h"
#include "gui/layout/PlacementEditor.h"
#include "gui/layout/PlacementPanel.h"
#include "gui/layout/TLayoutTab.h"

namespace editingtest {

constexpr double kMm = 25.39995;

class EditingTest : public ::testing::Test {
protected:
    EditingTest() : tab(album, prompter, &area) {
        tab.setPrinterPageSource([] { return pr::PrinterPage{4800, 6300, 600, 600}; });
        tab.setScreenPpi(96);
        tab.setDisplayBitsPerPixel(24);
        pr::EditorHooks hooks;
        hooks.statusText = [this](const QString& t) { status = t; };
        hooks.showPicture = [this](const pr::ImageBuffer& b, const QString& path) {
            shownBits = b.bits;
            shownPath = path;
        };
        editor().setHooks(hooks);
        area.resize(1100, 900);
        area.show();
        tab.ZoomEd->setValue(100);  // the page is 768 x 1008 pixels
        QApplication::processEvents();
    }

    pr::PlacementEditor& editor() { return tab.editor(); }
    pr::PlacementPanel& panel() { return tab.panel(); }

    void addPictures(int n, int w = 40, int h = 30) {
        for (int i = 0; i < n; ++i) {
            pr::ImageBuffer b;
            pr::newdib(b, w, h, 24);
            album.addPicture("/pics/p" + std::to_string(i) + ".jpg", b);
        }
    }
    // A placement of picture `picture` (index) on `page`, in inches.
    int32_t place(int picture, double l, double t, double w, double h, int32_t page = 1) {
        return pr::AddPlacement(album, album.Pictures[static_cast<size_t>(picture)].Key, page, l, t,
                                w, h, false);
    }
    const pr::Placement& at(uint32_t i) { return *album.placementAt(i); }

    std::vector<QWidget*> placementControls() {
        return {tab.HellKonBtn, tab.DelitBtn,   tab.RotLeftBtn,       tab.RotRightBtn,
                tab.FreeText,   tab.ShowBigBtn, tab.ChangePosSizeBtn, tab.CutCheck};
    }
    int enabledControls() {
        int n = 0;
        for (QWidget* w : placementControls()) n += w->isEnabled() ? 1 : 0;
        return n;
    }

    pr::Album album;
    testsupport::ScriptedPrompter prompter;
    QWidget area;
    pr::TLayoutTab tab;
    QString status;
    const uint8_t* shownBits = nullptr;
    QString shownPath;
};

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* w) { w->installEventFilter(this); }
    int count = 0;
    std::function<void()> onPaint;

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() != QEvent::Paint) return false;
        ++count;
        if (onPaint) onPaint();
        return false;
    }
};

}  // namespace editingtest
