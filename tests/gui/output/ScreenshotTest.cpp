// The output tab in the whole window with a page in the preview, saved as a picture when
// PR_SCREENSHOT_DIR names a folder (for looking at it, e.g. under xvfb-run); otherwise it only
// checks that the window builds the tab into its place.

#include <QTabWidget>
#include <QTest>

#include "OutputFixture.h"
#include "app/TMainForm.h"
#include "output/PrintPreview.h"

TEST(OutputTabInWindow, SitsOnTheFourthTabWithThePreview) {
    testsupport::ScriptedPrompter prompter;
    pr::TMainForm form(&prompter);
    pr::TOutputTab* tab = form.outputTab();
    ASSERT_NE(tab, nullptr);
    EXPECT_TRUE(form.contentArea(pr::TMainForm::OutputTab)->isAncestorOf(tab));

    pr::Album& album = form.album();
    const uint32_t colours[] = {0x003060d0, 0x0040a040, 0x00c08030, 0x002020a0};
    for (int i = 0; i < 4; ++i) {
        pr::ImageBuffer image;
        ASSERT_TRUE(pr::newdib(image, 160, 120, 24));
        for (int y = 0; y < 120; ++y)
            for (int x = 0; x < 160; ++x)
                pr::setpixel(image, x, y, (x / 20 + y / 20) % 2 ? colours[i] : 0x00f0f0f0);
        const int32_t key = album.addPicture("urlaub" + std::to_string(i + 1) + ".jpg", image);
        album.Pictures.back().Comment = i % 2 ? "" : "Am Strand";
        auto* p = reinterpret_cast<pr::Placement*>(album.Placements.Append());
        *p = pr::Placement{};
        p->Left = 0.4 + (i % 2) * 3.6;
        p->Top = 0.4 + (i / 2) * 2.9;
        p->Width = 3.3;
        p->Height = 2.6;
        p->Page = 1;
        p->ImageKey = key;
    }
    form.pageControl()->setCurrentIndex(pr::TMainForm::OutputTab);
    form.resize(900, 700);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    tab->PaintBox3Paint();
    QTest::qWait(200);
    EXPECT_EQ(tab->PaintBox3->size(), tab->PaintBox3->wantedSize());

    const QByteArray dir = qgetenv("PR_SCREENSHOT_DIR");
    if (!dir.isEmpty()) {
        form.grab().save(QString::fromLocal8Bit(dir) + QStringLiteral("/output-tab.png"));
        QTest::qWait(qEnvironmentVariableIntValue("PR_SCREENSHOT_WAIT_MS"));
    }
    prompter.answer(pr::Prompter::Button::Ok);  // the closing question
    album.DelallPics();
}
