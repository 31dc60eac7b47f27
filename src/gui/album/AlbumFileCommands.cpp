#include "gui/album/AlbumFileCommands.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <limits>
#include <thread>

#include "core/album/AlbumFileApply.h"
#include "core/album/AlbumFileWriter.h"
#include "core/album/QualityCheck.h"
#include "gui/album/AlbumCommands.h"
#include "gui/app/TMainForm.h"
#include "gui/imaging/QualityCommands.h"
#include "gui/layout/ColorComboBox.h"
#include "gui/layout/TLayoutTab.h"
#include "gui/output/TOutputTab.h"
#include "gui/undo/AlbumHistory.h"

namespace pr {

namespace {

constexpr uint8_t kKnownStyleBits =
    CaptionFont::kBold | CaptionFont::kItalic | CaptionFont::kUnderline | CaptionFont::kStrikeOut;
constexpr int kLargestFontPoints = 1000;

// A stored double for an integer spin box: rounded, and kept inside int so the cast is defined.
int spinValue(double v) {
    if (!std::isfinite(v)) return 0;
    const double lo = std::numeric_limits<int>::min(), hi = std::numeric_limits<int>::max();
    return static_cast<int>(std::lround(std::clamp(v, lo, hi)));
}

// 0x00BBGGRR; a value with a high byte (a system colour) keeps only its RGB part on screen.
QColor colourOf(uint32_t value) {
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

uint32_t valueOf(const QColor& colour) {
    const QColor c = colour.toRgb();
    return static_cast<uint32_t>(c.red()) | static_cast<uint32_t>(c.green()) << 8 |
           static_cast<uint32_t>(c.blue()) << 16;
}

QString folderOf(const std::string& albumPath) {
    return albumPath.empty() ? QString()
                             : QFileInfo(QString::fromStdString(albumPath)).absolutePath();
}

}  // namespace

AlbumFileCommands::AlbumFileCommands(TMainForm& form, AlbumCommands& commands, QObject* parent)
    : QObject(parent), form_(form), commands_(commands) {
    connect(form.openAction(), &QAction::triggered, this, &AlbumFileCommands::OpenBtnClick);
    connect(form.saveAction(), &QAction::triggered, this, &AlbumFileCommands::SaveBtnClick);
    connect(form.saveAsAction(), &QAction::triggered, this, &AlbumFileCommands::SaveAsBtnClick);
}

QString AlbumFileCommands::fileFilter() {
    return QStringLiteral("Pixo-Rahmler Dateien (*.pxr)");
}

void AlbumFileCommands::OpenBtnClick() {
    if (form_.busy()) return;
    if (!form_.confirmLeavingAlbum(
            QStringLiteral("Hiermit gehen alle nicht gespeicherten Informationen verloren."),
            QStringLiteral("Datei/Öffnen")))
        return;
    const QString path = form_.prompter().openFileName(
        QStringLiteral("Öffnen"), folderOf(form_.album().AlbumFileName), fileFilter());
    if (!path.isEmpty()) OpenFile(path);
}

bool AlbumFileCommands::SaveBtnClick() {
    const std::string& current = form_.album().AlbumFileName;
    if (current.empty()) return SaveAsBtnClick();
    return SaveFile(QString::fromStdString(current));
}

bool AlbumFileCommands::SaveAsBtnClick() {
    const QString path = form_.prompter().saveFileNameWithSuffix(
        QStringLiteral("Speichern unter"), folderOf(form_.album().AlbumFileName), fileFilter(),
        QStringLiteral("pxr"));
    return !path.isEmpty() && SaveFile(path);
}

bool AlbumFileCommands::SaveFile(const QString& path) {
    const AlbumSaveResult saved =
        saveAlbumFile(path.toStdString(), form_.album(), collectSettings());
    if (!saved.ok) {
        form_.prompter().error(QString::fromStdString(saved.message));
        return false;
    }
    form_.Setsavedfilename(path);
    return true;
}

bool AlbumFileCommands::OpenFile(const QString& path) {
    Album& album = form_.album();
    TLayoutTab& layout = *form_.layoutTab();
    const PrinterPage printer = layout.printerPage();
    const OldPageGeometry page{static_cast<double>(printer.printableWidthPx),
                               static_cast<double>(printer.printableHeightPx),
                               static_cast<double>(printer.ppiX)};
    const unsigned threads = std::max(1u, std::thread::hardware_concurrency());
    const TMainForm::AlbumChange changing(form_);

    // While the cores decode, the window repaints and the progress panel moves, but it takes no
    // input: "Neu" or another "Öffnen" now would change the album under the reader.
    const AlbumOpenResult opened =
        openAlbumFile(path.toStdString(), album, collectSettings(), page,
                      albumPictureSourceOfRasterLibrary(), threads, [this](int done, int total) {
                          form_.SetProStatus(total > 0 ? done * 100 / total : 0);
                          QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
                      });
    form_.SetProStatus(0);

    if (!opened.ok) {
        for (const std::string& m : opened.messages)
            form_.prompter().error(QString::fromStdString(m));
        if (album.AlbumFileName.empty() && album.PictureCount() == 0 &&
            album.placementCount() == 0) {
            // Memory ran out after the old album was let go (or nothing was there): show the
            // empty, untitled album as it is.
            if (form_.history()) form_.history()->clear();
            form_.Setsavedfilename(QString());
            commands_.UpdateListBox();
            redrawAll();
        }
        return false;
    }

    // Drawing waits until every control holds the album's value, as it waits for the pictures.
    album.AlbumLoading = true;
    applySettings(opened.settings);
    // The file keeps no page count: every page that holds a picture must be reachable and printed.
    // A count the user set higher stays.
    const int lastPage = album.lastPlacementPage(kPageMax);
    if (lastPage > layout.PageCountED->value()) layout.PageCountED->setValue(lastPage);
    album.AlbumLoading = false;

    for (const std::string& m : opened.messages) form_.prompter().error(QString::fromStdString(m));

    if (opened.runQualityCheck) {
        CheckallqualsShown(album, qualitySettings(*layout.EnhanceQualCheck, *layout.MinQualEd),
                           form_.prompter(), [this](int percent) { form_.SetProStatus(percent); });
    }

    if (form_.history()) form_.history()->clear();
    form_.Setsavedfilename(path);
    commands_.UpdateListBox();
    redrawAll();
    return true;
}

void AlbumFileCommands::redrawAll() {
    TLayoutTab& layout = *form_.layoutTab();
    layout.PaintBox1Paint();
    layout.PaintBox2Paint();
    // Every version: the preview would otherwise show the album that was just replaced.
    if (TOutputTab* output = form_.outputTab()) output->PaintBox3Paint();
}

AlbumSettings AlbumFileCommands::collectSettings() const {
    const TLayoutTab& t = *form_.layoutTab();
    AlbumSettings s;
    s.ShowFNames = t.ShowFNames->isChecked();
    s.SverhCheck = t.SverhCheck->isChecked();
    s.Zoom = t.ZoomEd->value();
    s.Margin = t.RandEd->value();
    s.Spacing = t.SpaceED->value();
    s.TranspCheck = t.TranspCheck->isChecked();
    const QColor shown = t.BkColBox->color();
    s.BkColor = shown.rgb() == colourOf(keptBkColor_).rgb() ? keptBkColor_ : valueOf(shown);
    s.CutDefault = t.CutDefault->isChecked();
    s.EnhanceQualCheck = t.EnhanceQualCheck->isChecked();
    s.UseGridCheck = t.UseGridCheck->isChecked();
    s.ShowGridCheck = t.ShowGridCheck->isChecked();
    s.MinQual = t.MinQualEd->value();
    s.DefaultWidth = t.DBreiteED->value();
    s.DefaultHeight = t.DHocheED->value();
    s.GridSpacing = t.GridEd->value();
    s.Font = captionFontOf(t.captionFont(), keptFont_);
    return s;
}

void AlbumFileCommands::applySettings(const AlbumSettings& s) {
    TLayoutTab& t = *form_.layoutTab();
    t.ShowFNames->setChecked(s.ShowFNames);
    t.SverhCheck->setChecked(s.SverhCheck);
    t.ZoomEd->setValue(spinValue(s.Zoom));
    t.RandEd->setValue(s.Margin);
    t.SpaceED->setValue(s.Spacing);
    t.TranspCheck->setChecked(s.TranspCheck);
    t.BkColBox->setColor(colourOf(s.BkColor));
    keptBkColor_ = s.BkColor;
    t.CutDefault->setChecked(s.CutDefault);
    t.EnhanceQualCheck->setChecked(s.EnhanceQualCheck);
    t.UseGridCheck->setChecked(s.UseGridCheck);
    t.ShowGridCheck->setChecked(s.ShowGridCheck);
    t.MinQualEd->setValue(spinValue(s.MinQual));
    t.DBreiteED->setValue(s.DefaultWidth);
    t.DHocheED->setValue(s.DefaultHeight);
    t.GridEd->setValue(s.GridSpacing);
    t.setCaptionFont(qFontOf(s.Font));
    keptFont_ = s.Font;
}

QFont AlbumFileCommands::qFontOf(const CaptionFont& f) {
    QFont font = PageRenderOptions::defaultCaptionFont();
    if (!f.Name.empty()) font.setFamily(QString::fromStdString(f.Name));
    // A size no dialog could have given (0, negative, absurd) leaves the default size.
    if (f.Size > 0 && f.Size <= kLargestFontPoints) font.setPointSize(f.Size);
    font.setBold(f.Style & CaptionFont::kBold);
    font.setItalic(f.Style & CaptionFont::kItalic);
    font.setUnderline(f.Style & CaptionFont::kUnderline);
    font.setStrikeOut(f.Style & CaptionFont::kStrikeOut);
    return font;
}

CaptionFont AlbumFileCommands::captionFontOf(const QFont& font, const CaptionFont& kept) {
    CaptionFont f = kept;
    // While the font is still the one that was read, its stored name and size are kept exactly
    // (an empty name or a size the controls cannot show survives saving again).
    const QFont keptAsQt = qFontOf(kept);
    if (font.family() != keptAsQt.family()) f.Name = font.family().toStdString();
    if (font.family() != keptAsQt.family() || font.pointSize() != keptAsQt.pointSize()) {
        const double points = font.pointSizeF() > 0  ? font.pointSizeF()
                              : font.pixelSize() > 0 ? font.pixelSize() * 72.0 / 96.0
                                                     : 11;
        f.Size = static_cast<int32_t>(std::lround(points));
    }
    uint8_t style = kept.Style & ~kKnownStyleBits;
    if (font.bold()) style |= CaptionFont::kBold;
    if (font.italic()) style |= CaptionFont::kItalic;
    if (font.underline()) style |= CaptionFont::kUnderline;
    if (font.strikeOut()) style |= CaptionFont::kStrikeOut;
    f.Style = style;
    return f;
}

}  // namespace pr
