#include <QDate>
#include <QLabel>
#include <QPushButton>

#include "GuiTestHelpers.h"
#include "gui/app/TAboutBox.h"

using pr::TAboutBox;

TEST(AboutBoxTest, OnlyTheFirstXXXXBecomesTheYear) {
    EXPECT_EQ(TAboutBox::withYear("XXXX und XXXX", 2025), "2025 und XXXX");
    EXPECT_EQ(TAboutBox::withYear("XXXXX", 2025), "2025X");
    EXPECT_EQ(TAboutBox::withYear("ohne Jahr", 2025), "ohne Jahr");
    EXPECT_EQ(TAboutBox::withYear("XXXX", 987), "0987");
}

TEST(AboutBoxTest, BoxHasItsYearLinkAndPicture) {
    TAboutBox box;
    const QString year = QString::number(QDate::currentDate().year());
    EXPECT_EQ(box.yearLabel()->text(), QString::fromUtf8("Copyright © 2001-%1 ZOR-VEX").arg(year));

    std::vector<QUrl> opened;
    box.setUrlOpener([&](const QUrl& url) {
        opened.push_back(url);
        return true;
    });
    box.linkButton()->click();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QUrl("https://www.zor-vex.example/"));

    // The picture goes through the program's own JPEG reader, not through Qt's plug-ins.
    const QImage picture = TAboutBox::loadPicture();
    ASSERT_FALSE(picture.isNull()) << "resources/about.jpg did not decode through decodePicture";
    EXPECT_EQ(picture.size(), QSize(280, 380));
    EXPECT_FALSE(box.pictureLabel()->pixmap().isNull());
}
