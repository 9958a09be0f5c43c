// A new file written for a later rename, whose every write is checked.
#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

namespace tz {

// Writes a new file (created only where no file is) through a buffer of its
// own. The first failed write is kept with its system error number and
// every later write fails too, so nothing after a gap (a full disk, a file
// size limit) is written; finish() flushes the file to disk and closes it.
// Usable as the device of a writer that ignores failed writes (QPdfWriter).
// The file is left where it is; the caller removes or installs it.
class ScratchFile : public QIODevice
{
public:
    explicit ScratchFile(const QString &path);
    ~ScratchFile() override;

    const QString &path() const { return m_path; }
    // Creates and opens the file for writing; false (with systemError) when
    // it exists or cannot be made.
    bool create();
    // Writes what is buffered, flushes the file to disk and closes it: true
    // when every byte was written.
    bool finish();
    // The system error number of the first failure, 0 when there was none.
    int systemError() const { return m_error; }

    void close() override;

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *data, qint64 size) override;

private:
    bool writeBuffer();

    QString m_path;
    int m_fd = -1;
    int m_error = 0;
    QByteArray m_buffer;
};

} // namespace tz
