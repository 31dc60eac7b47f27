#pragma once
// Draws the cut marks of every placement of a page (CutMarks.h) for printing, the print preview
// and export. They are drawn before the pictures, so a mark that reaches into a neighbouring
// picture lies under it instead of spoiling it.

class QPainter;

namespace pr {

class Album;
struct PageRenderOptions;

class CutMarkPainter {
public:
    // Line width in millimetres; at least one device pixel.
    static constexpr double kLineMm = 0.1;

    static void draw(QPainter& painter, const Album& album, const PageRenderOptions& options);
};

}  // namespace pr
