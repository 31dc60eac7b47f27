#pragma once
// AtomicFileDevice: a QIODevice for Qt's writers (QPdfWriter, QImageWriter, the TIFF writer) whose
// bytes replace the target file only when all of them reached the disk (core/io's AtomicFile).
// Qt's PDF engine and image writers go on after a failed write and report success; this device
// remembers the first failure, and finish() and commit() then fail and keep the old file. Writes
// after a failure are taken and dropped, so a writer always runs to its end; check failed() (or
// the result of commit()) rather than the writer's own answer.
//
// Write-only. Seeking is allowed (libtiff goes back to fill in offsets).

#include <QIODevice>
#include <QString>

#include "core/io/AtomicFile.h"

namespace pr {

class AtomicFileDevice : public QIODevice {
public:
    explicit AtomicFileDevice(const QString& target, QObject* parent = nullptr);
    ~AtomicFileDevice() override;

    // Only QIODevice::WriteOnly; creates the temporary file. False with failureText() set when
    // the target cannot be written (no regular file, folder missing or read-only ...).
    bool open(OpenMode mode) override;
    bool seek(qint64 pos) override;
    qint64 size() const override;
    void close() override;  // the same as discard() unless commit() came first

    // See AtomicFile::finish() and commit(). After either the device is closed.
    bool finish();
    bool commit();
    void discard();

    const QString& target() const { return target_; }
    bool failed() const { return file_.error() != 0; }
    int error() const { return file_.error(); }
    // The German reason of the first failure (ioErrorText), empty while there was none.
    QString failureText() const;

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    QString target_;
    AtomicFile file_;
};

}  // namespace pr
