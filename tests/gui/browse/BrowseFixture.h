#pragma once
// Shared by the tests of this folder: a shown main window whose favourites file, pictures and
// folders all live in one scratch folder, and whose dialogs are answered by a ScriptedPrompter.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QImage>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "ScriptedPrompter.h"
#include "gui/album/AlbumCommands.h"
#include "gui/album/AlbumList.h"
#include "gui/album/AlbumPanel.h"
#include "gui/album/TSortTab.h"
#include "gui/app/TMainForm.h"
#include "gui/browse/FavouritesList.h"
#include "gui/browse/FileList.h"
#include "gui/browse/FolderTree.h"
#include "gui/browse/TAddTab.h"
#include "gui/toolkit/StoredValues.h"

// QTRY_* report to QtTest, not to GoogleTest, so a timeout would pass silently; wait, then check.
template <typename Condition>
bool waitUntil(Condition condition, int timeoutMs = 5000) {
    return QTest::qWaitFor(condition, timeoutMs);
}

class BrowseFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(scratch.isValid());
        auto settings = pr::StoredValues::openSettings();
        settings->clear();
        settings->sync();
        pr::FavouritesList::setFileOverride(favouritesFile());
    }
    void TearDown() override {
        form.reset();
        pr::FavouritesList::setFileOverride(QString());
    }

    QString favouritesFile() const { return scratch.filePath(QStringLiteral("folders.dat")); }

    pr::TMainForm& showForm() {
        form = std::make_unique<pr::TMainForm>(&prompter);
        form->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        return *form;
    }

    pr::TAddTab& addTab() { return *form->findChild<pr::TAddTab*>(); }
    pr::TSortTab& sortTab() { return *form->findChild<pr::TSortTab*>(); }
    pr::AlbumCommands& commands() { return *form->findChild<pr::AlbumCommands*>(); }
    pr::AlbumList& imageList() { return *addTab().albumPanel()->imageList(); }
    pr::Album& album() { return form->album(); }

    QString makeFolder(const QString& name) {
        QDir().mkpath(scratch.filePath(name));
        return scratch.filePath(name);
    }
    // A small picture; the format follows the extension (BMP or PNG, any case).
    QString makePicture(const QString& folder, const QString& name, QColor colour = Qt::red) {
        QImage image(8, 6, QImage::Format_RGB32);
        image.fill(colour);
        const QString path = folder + QLatin1Char('/') + name;
        const QByteArray format = name.section(QLatin1Char('.'), -1).toUpper().toLatin1();
        EXPECT_TRUE(image.save(path, format == "PNG" ? "PNG" : "BMP"));
        return path;
    }
    QString makeDamaged(const QString& folder, const QString& name) {
        const QString path = folder + QLatin1Char('/') + name;
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("BM this is no picture at all");
        return path;
    }

    // Shows `folder` in the tree and waits until the file list lists exactly `names` in order.
    void openFolder(const QString& folder, const QStringList& names) {
        ASSERT_TRUE(addTab().folderTree()->setSelectedFolder(folder));
        ASSERT_TRUE(waitUntil([&] { return addTab().fileList()->shownNames() == names; }))
            << addTab().fileList()->shownNames().join(' ').toStdString();
    }
    void selectInFileList(const QStringList& names) {
        pr::FileList* list = addTab().fileList();
        list->clearSelection();
        for (const QString& n : names) {
            const QModelIndex i = list->fileModel()->index(list->folder() + QLatin1Char('/') + n);
            ASSERT_TRUE(i.isValid()) << n.toStdString();
            list->selectionModel()->select(i,
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
    }
    QStringList albumLines() {
        QStringList lines;
        for (int i = 0; i < imageList().count(); ++i) lines << imageList().item(i)->text();
        return lines;
    }
    QByteArray fileBytes(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir scratch;
    testsupport::ScriptedPrompter prompter;
    std::unique_ptr<pr::TMainForm> form;
};
