#pragma once
// ThumbGrid: the grid of the tab "Bild Browser" (a scroll box with the paint area inside). It
// holds the cells of the current run, in the order they were appended, and the selection.
//
// Geometry, hit-testing, arrow keys and scrolling come from core/browse/ThumbGridGeometry.h. The
// paint area takes the keyboard focus itself when clicked, so no hidden edit box is needed to
// receive the arrow keys.
//
// The selection counts from 1 and survives clear(): the same cell number is selected again once a
// later folder has that many cells; until then no cell is selected and the status text says so.

#include <QScrollArea>
#include <vector>

#include "core/browse/ThumbCell.h"
#include "core/browse/ThumbGridGeometry.h"

namespace pr {

class ThumbGrid : public QScrollArea {
    Q_OBJECT
public:
    explicit ThumbGrid(QWidget* parent = nullptr);

    // Appends a cell and draws only that cell.
    void appendCell(ThumbCell cell);
    // Lets go of every cell; the selection keeps its number.
    void clear();

    const std::vector<ThumbCell>& cells() const { return cells_; }
    int count() const { return static_cast<int>(cells_.size()); }
    int selection() const { return selection_; }
    // Selects `cell` (kept even beyond the cells), scrolls it into view and redraws.
    void select(int cell);
    int columns() const;
    QString statusText() const;

    // The area the grid is drawn on; it takes the keyboard focus.
    QWidget* paintBox() const { return paintBox_; }
    // Pixels of the paint area covered by cell `cell` (its 90 x 110 block).
    QRect cellRect(int cell) const;

    // Arrow keys move the selection, Enter and Return ask to open the selected cell.
    bool handleKey(int key);
    void pressAt(const QPoint& paintBoxPoint);
    void doubleClicked();

signals:
    // The user asked to add the picture of `cell` (counted from 1, always an existing cell).
    void openRequested(int cell);
    void statusTextChanged(const QString& text);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    friend class ThumbGridPaintBox;
    void reflow();
    void scrollSelectionIntoView();
    void announceStatus();
    void paintCells(QPainter& painter, const QRect& area);

    QWidget* paintBox_;
    std::vector<ThumbCell> cells_;
    std::vector<ThumbInfo> infos_;  // beside the cells, for the status text
    int selection_ = 1;
    int wheelRemainder_ = 0;
};

}  // namespace pr
