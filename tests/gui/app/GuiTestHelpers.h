#pragma once
// Shared by the test files of this folder: a fresh settings file per test and a shown main window.

#include <gtest/gtest.h>

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "ScriptedPrompter.h"
#include "gui/app/TMainForm.h"
#include "gui/browse/FavouritesList.h"
#include "gui/toolkit/StoredValues.h"

inline void clearStoredValues() {
    auto settings = pr::StoredValues::openSettings();
    settings->clear();
    settings->sync();
}

class MainFormFixture : public ::testing::Test {
protected:
    void SetUp() override { clearStoredValues(); }

    pr::TMainForm& showForm() {
        form = std::make_unique<pr::TMainForm>(&prompter);
        form->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        return *form;
    }

    testsupport::ScriptedPrompter prompter;
    std::unique_ptr<pr::TMainForm> form;
};

// The window shown from the start, with its favourites file in a scratch folder; a closing
// question at the end is answered with OK.
class ShownFormFixture : public MainFormFixture {
protected:
    void SetUp() override {
        MainFormFixture::SetUp();
        ASSERT_TRUE(scratch.isValid());
        pr::FavouritesList::setFileOverride(scratch.filePath("folders.dat"));
        showForm();
    }
    void TearDown() override {
        if (form) {
            prompter.answer(testsupport::ScriptedPrompter::Button::Ok);
            form.reset();
        }
        pr::FavouritesList::setFileOverride(QString());
    }

    QTemporaryDir scratch;
};

// Readable strings in GoogleTest's messages.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
