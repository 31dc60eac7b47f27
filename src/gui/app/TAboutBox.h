#pragma once
// The "Info" box: the program's picture on the left, name, maker and copyright on the right, a
// link to the maker's web site and OK. Made when asked for and destroyed when it closes.

#include <QDialog>
#include <QUrl>
#include <functional>

class QLabel;
class QPushButton;

namespace pr {

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    using UrlOpener = std::function<bool(const QUrl&)>;

    explicit TAboutBox(QWidget* parent = nullptr);

    // Replaces the first "XXXX" in `text` with `year` (four digits); other text stays as it is.
    static QString withYear(QString text, int year);

    // The picture decoded from the program's resources through the raster library; null when it
    // could not be decoded (the box then shows an empty panel).
    static QImage loadPicture();

    // Tests replace the desktop's URL handler so that clicking the link opens nothing.
    void setUrlOpener(UrlOpener opener) { openUrl_ = std::move(opener); }

    QLabel* yearLabel() const { return yearLabel_; }
    QLabel* pictureLabel() const { return picture_; }
    QPushButton* linkButton() const { return linkButton_; }
    QPushButton* okButton() const { return okButton_; }

private:
    void LinkBtnClick();

    QLabel* picture_ = nullptr;
    QLabel* yearLabel_ = nullptr;
    QPushButton* linkButton_ = nullptr;
    QPushButton* okButton_ = nullptr;
    UrlOpener openUrl_;
};

}  // namespace pr
