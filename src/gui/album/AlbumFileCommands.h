#pragma once
// AlbumFileCommands: the toolbar's "Ö&ffnen...", "&Speichern" and "Speichern &unter...". Reading
// and writing the file is core work (album/AlbumFileApply.h, album/AlbumFileWriter.h); this class
// asks the questions, shows the dialogs and messages, and copies the album settings between the
// layout tab's controls and the AlbumSettings value the file holds.
//
// The controls are the settings' source of truth. Two things the controls cannot hold are kept
// here, so that saving an album again writes what was read: the caption font's character set,
// colour, pitch and pixels per inch (a QFont has no place for them), and a caption background
// value the colour box cannot show exactly (a system colour). Both are written back only while
// the user has not chosen something else in the controls.

#include <QFont>
#include <QObject>
#include <QString>

#include "core/album/AlbumSettings.h"

namespace pr {

class AlbumCommands;
class TMainForm;

class AlbumFileCommands : public QObject {
    Q_OBJECT
public:
    // Connects itself to the window's open, save and save-as actions.
    AlbumFileCommands(TMainForm& form, AlbumCommands& commands, QObject* parent = nullptr);

    void OpenBtnClick();
    // False when nothing was saved (cancelled or failed).
    bool SaveBtnClick();
    bool SaveAsBtnClick();

    // Writes the album with the controls' settings; on failure the message is shown and the
    // album file name stays as it was. Returns whether the file was written.
    bool SaveFile(const QString& path);
    // Replaces the album by the file's: pictures decoded on all cores while the progress panel
    // moves, settings into the controls, messages in album order. A file that cannot be read
    // leaves the album, the controls and the caption untouched. Returns whether it was read.
    bool OpenFile(const QString& path);

    // The settings as the controls hold them now.
    AlbumSettings collectSettings() const;
    // Puts `settings` into the controls and the caption font.
    void applySettings(const AlbumSettings& settings);

    // The caption font as a QFont and back; `kept` gives what a QFont cannot hold.
    static QFont qFontOf(const CaptionFont& font);
    static CaptionFont captionFontOf(const QFont& font, const CaptionFont& kept);

    static QString fileFilter();  // "Pixo-Rahmler Dateien (*.pxr)"

private:
    void redrawAll();

    TMainForm& form_;
    AlbumCommands& commands_;
    CaptionFont keptFont_;
    uint32_t keptBkColor_ = AlbumSettings().BkColor;
};

}  // namespace pr
