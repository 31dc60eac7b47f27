#pragma once
// PreviewBox (DibPrevPaint): shows the album's preview picture at the top-left corner, as large as
// the box allows without changing its proportions. The rest of the box keeps its background.

#include <QWidget>
#include <functional>

namespace pr {

struct ImageBuffer;

class PreviewBox : public QWidget {
    Q_OBJECT
public:
    // `picture` is asked at every paint: the album (and with it the preview) may be replaced.
    explicit PreviewBox(std::function<const ImageBuffer*()> picture, QWidget* parent = nullptr);

    // The drawn size for a box of W x H and a picture of w x h (integer arithmetic).
    static QSize fittedSize(int boxWidth, int boxHeight, int pictureWidth, int pictureHeight);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::function<const ImageBuffer*()> picture_;
};

}  // namespace pr
