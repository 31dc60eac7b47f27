#include "render/AtomicFileDevice.h"

#include <QFile>

#include "core/io/IoErrorText.h"

namespace pr {

AtomicFileDevice::AtomicFileDevice(const QString& target, QObject* parent)
    : QIODevice(parent), target_(target) {}

AtomicFileDevice::~AtomicFileDevice() {
    discard();
}

bool AtomicFileDevice::open(OpenMode mode) {
    if (isOpen() || (mode & ~QIODevice::Unbuffered) != QIODevice::WriteOnly) return false;
    if (!file_.open(QFile::encodeName(target_).toStdString())) return false;
    // Unbuffered: every write reaches the file at once, so its failure is seen at once.
    return QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

bool AtomicFileDevice::seek(qint64 pos) {
    if (!isOpen() || pos < 0) return false;
    if (!failed()) file_.seek(static_cast<uint64_t>(pos));  // a failure is kept as for writes
    return QIODevice::seek(pos);
}

qint64 AtomicFileDevice::size() const {
    return isOpen() ? static_cast<qint64>(file_.size()) : 0;
}

void AtomicFileDevice::close() {
    discard();
}

bool AtomicFileDevice::finish() {
    if (isOpen()) QIODevice::close();
    return file_.finish();
}

bool AtomicFileDevice::commit() {
    if (isOpen()) QIODevice::close();
    return file_.commit();
}

void AtomicFileDevice::discard() {
    if (isOpen()) QIODevice::close();
    file_.discard();
}

QString AtomicFileDevice::failureText() const {
    return failed() ? QString::fromStdString(ioErrorText(file_.error())) : QString();
}

qint64 AtomicFileDevice::readData(char*, qint64) {
    return -1;
}

qint64 AtomicFileDevice::writeData(const char* data, qint64 size) {
    if (size < 0) return -1;
    // A failure is kept for finish() and commit(), and the writer is let run to its end: Qt's PNG
    // writer answers a refused write with a jump out of libpng that leaks its row buffer.
    if (!file_.write(data, static_cast<std::size_t>(size))) setErrorString(failureText());
    return size;
}

}  // namespace pr
