#pragma once
// TViewPicForm ("Bild betrachten..."): one picture shown large with a zoom factor, panned by
// dragging it with the mouse, scrolled with the wheel, and opened in the desktop's program for its
// file type. Made once by the main window and reused; showPicture() shows it modally. Each picture
// starts at its top-left corner, or centred when it is smaller than the window.
//
// The picture is a copy of the caller's record and shares its pixels (ImageBuffer.h), so it stays
// valid however the caller's preview changes afterwards.

#include <QDialog>
#include <functional>

#include "core/imaging/ImageBuffer.h"
#include "gui/output/DesktopOpener.h"

class QPushButton;
class QScrollArea;
class QSpinBox;

namespace pr {

class Prompter;

class TViewPicForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int kMinZoom = 5;
    static constexpr int kMaxZoom = 9000;

    // "&Drucken": prints the shown picture alone, with the viewer owning the print dialog.
    using PrintFn =
        std::function<void(const ImageBuffer& picture, const QString& path, QWidget* owner)>;

    explicit TViewPicForm(QWidget* parent = nullptr);

    // Given by the window once the output tab exists; without it "&Drucken" stays disabled.
    void setPrintHandler(PrintFn print);
    // Where "Öffnen..." reports that no program is set up for the file (may be null: silent).
    void setPrompter(Prompter* prompter) { prompter_ = prompter; }
    // For tests: replaces QDesktopServices::openUrl.
    void setUrlOpener(DesktopOpener::UrlOpener opener) { opener_ = std::move(opener); }

    // Takes the picture and its path, then shows the window modally.
    void showPicture(const ImageBuffer& picture, const QString& path);
    // The same without the modal loop (tests, and callers with their own).
    void setPicture(const ImageBuffer& picture, const QString& path);

    const QString& path() const { return path_; }
    QSpinBox* zoomEdit() const { return ZoomEd; }
    QScrollArea* scrollBox() const { return ScrollBox1; }
    QWidget* paintBox() const { return PaintBox1; }
    QPushButton* openButton() const { return OpenBtn; }
    QPushButton* backButton() const { return BackBtn; }
    QPushButton* printButton() const { return PrintBrn; }

    // The picture's size at `zoom` percent (truncated).
    static QSize zoomedSize(int width, int height, int zoom);

    // Draws the part of the zoomed picture inside `exposed` (paint box coordinates).
    void PaintBox1Paint(QPainter& painter, const QRect& exposed);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void ZoomEdChange();
    void OpenBtnClick();
    void startAtTheCorner();
    void PrintBrnClick();
    void wheelScroll(int angleDelta);

    ImageBuffer picture_;
    QString path_;
    bool DragPanning = false;
    int GrabX = 0;
    int GrabY = 0;
    int wheelRest_ = 0;

    QPushButton* BackBtn;
    QPushButton* OpenBtn;
    QPushButton* PrintBrn;
    PrintFn print_;
    Prompter* prompter_ = nullptr;
    DesktopOpener::UrlOpener opener_;
    QSpinBox* ZoomEd;
    QScrollArea* ScrollBox1;
    QWidget* PaintBox1;
};

}  // namespace pr
