#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "GuiTestHelpers.h"

using pr::StoredValues;

namespace {

struct Controls {
    QWidget host;
    QDoubleSpinBox* space = new QDoubleSpinBox(&host);
    QCheckBox* useGrid = new QCheckBox(&host);
    QSpinBox* minQual = new QSpinBox(&host);
    QTabWidget* pages = new QTabWidget(&host);
    StoredValues values{QStringLiteral("TMainForm")};

    Controls() {
        space->setRange(0, 100);
        space->setValue(5);
        useGrid->setChecked(true);
        minQual->setRange(10, 300);
        minQual->setValue(72);
        for (const char* tab : {"Dateiliste", "Bild Browser"}) pages->addTab(new QWidget, tab);
        values.addValue("SpaceED.Value", space);
        values.addChecked("UseGridCheck.Checked", useGrid);
        values.addValue("MinQualEd.Value", minQual);
        values.addCurrentPage("PageControl3.ActivePage", pages);
    }
};

}  // namespace

TEST(StoredValuesTest, ValuesRoundTripAndMissingOrBadOnesKeepTheDefaults) {
    clearStoredValues();
    {
        Controls fresh;
        fresh.values.restore();  // nothing stored yet
        EXPECT_DOUBLE_EQ(fresh.space->value(), 5.0);

        fresh.space->setValue(12.5);
        fresh.useGrid->setChecked(false);
        fresh.minQual->setValue(150);
        fresh.pages->setCurrentIndex(1);
        fresh.values.save();
    }
    {
        Controls later;
        later.values.restore();
        EXPECT_DOUBLE_EQ(later.space->value(), 12.5);
        EXPECT_FALSE(later.useGrid->isChecked());
        EXPECT_EQ(later.minQual->value(), 150);
        EXPECT_EQ(later.pages->currentIndex(), 1);
    }
    {
        auto settings = StoredValues::openSettings();
        settings->setValue("TMainForm/PageControl3.ActivePage", 7);
        settings->setValue("TMainForm/MinQualEd.Value", "viel");
        settings->sync();
    }
    Controls damaged;
    damaged.values.restore();
    EXPECT_EQ(damaged.pages->currentIndex(), 0);
    EXPECT_EQ(damaged.minQual->value(), 72);
    EXPECT_DOUBLE_EQ(damaged.space->value(), 12.5);
}

TEST(StoredValuesTest, AControlDestroyedBeforeSavingIsLeftOut) {
    clearStoredValues();
    StoredValues values{QStringLiteral("TMainForm")};
    auto* box = new QCheckBox;
    values.addChecked("ShowGridCheck.Checked", box);
    delete box;
    values.save();
    values.restore();
    EXPECT_FALSE(StoredValues::openSettings()->contains("TMainForm/ShowGridCheck.Checked"));
}

TEST_F(MainFormFixture,
       StoredValuesAreInPlaceBeforeTheShowHandlerAndSavedOnlyOnceClosingIsAllowed) {
    {
        auto settings = StoredValues::openSettings();
        settings->setValue("TMainForm/PageControl3.ActivePage", 1);
        settings->sync();
    }
    auto first = std::make_unique<pr::TMainForm>(&prompter);
    // A later tab registers its own control, as the file list / browser tabs will.
    auto* pages = new QTabWidget(first->contentArea(pr::TMainForm::AddTab));
    for (const char* tab : {"Dateiliste", "Bild Browser"}) pages->addTab(new QWidget, tab);
    first->storedValues().addCurrentPage("PageControl3.ActivePage", pages);
    EXPECT_EQ(pages->currentIndex(), 0);
    first->show();
    EXPECT_EQ(pages->currentIndex(), 1);

    first->setGeometry(QRect(first->geometry().topLeft() + QPoint(17, 9), QSize(700, 540)));
    pages->setCurrentIndex(0);
    prompter.answer(pr::Prompter::Button::Cancel);
    first->close();
    EXPECT_EQ(StoredValues::openSettings()->value("TMainForm/PageControl3.ActivePage").toInt(), 1);

    prompter.answer(pr::Prompter::Button::Ok);
    first->close();
    EXPECT_EQ(StoredValues::openSettings()->value("TMainForm/PageControl3.ActivePage").toInt(), 0);
    const QRect saved = first->geometry();
    first.reset();

    pr::TMainForm& second = showForm();
    EXPECT_EQ(second.geometry(), saved);
}
