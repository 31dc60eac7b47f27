#include "gui/app/TAboutBox.h"

#include <QDate>
#include <QDesktopServices>
#include <QFile>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "core/imaging/RasterLibrary.h"
#include "gui/app/ProgramTitle.h"
#include "gui/toolkit/ProgramResources.h"
#include "render/DibToQImage.h"

namespace pr {

namespace {

QLabel* makeLabel(const QString& text, QWidget* parent, int pointDelta = 0, bool bold = false) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    QFont font = label->font();
    if (pointDelta != 0 && font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() + pointDelta);
    font.setBold(bold);
    label->setFont(font);
    return label;
}

}  // namespace

QString TAboutBox::withYear(QString text, int year) {
    const int at = text.indexOf(QLatin1String("XXXX"));
    if (at >= 0) text.replace(at, 4, QString::number(year).rightJustified(4, QLatin1Char('0')));
    return text;
}

QImage TAboutBox::loadPicture() {
    ensureProgramResources();
    QFile file(QStringLiteral(":/about.jpg"));
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = file.readAll();
    ImageBuffer dib;
    const DecodeResult result =
        decodePicture(reinterpret_cast<const uint8_t*>(bytes.constData()),
                      static_cast<size_t>(bytes.size()), DecodeOptions{}, dib);
    QImage image = result.ok() ? dibToQImage(dib) : QImage();
    deldib(dib);
    return image;
}

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent), openUrl_([](const QUrl& url) { return QDesktopServices::openUrl(url); }) {
    setWindowTitle(QStringLiteral("Info"));
    setFixedSize(664, 453);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* panel = new QFrame(this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(2);
    panel->setFixedWidth(290);
    picture_ = new QLabel(panel);
    picture_->setScaledContents(true);
    const QImage image = loadPicture();
    if (!image.isNull()) picture_->setPixmap(QPixmap::fromImage(image));
    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(4, 4, 4, 4);
    panelLayout->addWidget(picture_);

    auto* name = makeLabel(programTitle(), this, 8, true);
    auto* tagline = makeLabel(QStringLiteral("Fotos zusammenstellen, auf Seiten anordnen und "
                                             "ausdrucken."),
                              this);
    auto* maker = makeLabel(makerName(), this, 2, true);
    yearLabel_ = makeLabel(
        withYear(QStringLiteral("Copyright \u00A9 2001-XXXX ZOR-VEX"), QDate::currentDate().year()),
        this);
    auto* rights = makeLabel(QStringLiteral("Alle Rechte vorbehalten."), this);

    linkButton_ = new QPushButton(QStringLiteral("www.zor-vex.example"), this);
    linkButton_->setToolTip(makerAddress());
    linkButton_->setCursor(Qt::PointingHandCursor);
    connect(linkButton_, &QPushButton::clicked, this, [this] { LinkBtnClick(); });

    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setDefault(true);
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);

    auto* text = new QVBoxLayout;
    text->addSpacing(16);
    text->addWidget(name);
    text->addWidget(tagline);
    text->addSpacing(24);
    text->addWidget(maker);
    text->addWidget(yearLabel_);
    text->addWidget(rights);
    text->addSpacing(16);
    text->addWidget(linkButton_, 0, Qt::AlignLeft);
    text->addStretch(1);

    auto* top = new QHBoxLayout;
    top->addWidget(panel);
    top->addSpacing(16);
    top->addLayout(text, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(okButton_);
    bottom->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->addLayout(top, 1);
    layout->addLayout(bottom);

    if (QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen()) {
        QRect r(QPoint(), size());
        r.moveCenter(screen->availableGeometry().center());
        move(r.topLeft());
    }
}

void TAboutBox::LinkBtnClick() {
    if (openUrl_) openUrl_(QUrl(makerAddress()));
}

}  // namespace pr
