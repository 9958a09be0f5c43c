// A new file whose every write is checked.
#include "store/scratchfile.h"

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

#include <QFile>

#ifdef TZ305_FAULT_INJECTION
#include "store/faultinjection.h"
#endif

namespace tz {

namespace {

constexpr qsizetype kBufferSize = 1 << 16;

} // namespace

ScratchFile::ScratchFile(const QString &path)
    : m_path(path)
{
}

ScratchFile::~ScratchFile()
{
    close();
}

bool ScratchFile::create()
{
    const QByteArray name = QFile::encodeName(m_path);
    m_fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (m_fd < 0) {
        m_error = errno;
        return false;
    }
    return QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

qint64 ScratchFile::readData(char *, qint64)
{
    return -1;
}

qint64 ScratchFile::writeData(const char *data, qint64 size)
{
    if (m_fd < 0 || m_error != 0)
        return -1;
    m_buffer.append(data, size);
    if (m_buffer.size() >= kBufferSize && !writeBuffer())
        return -1;
    return size;
}

bool ScratchFile::writeBuffer()
{
    const char *from = m_buffer.constData();
    qsizetype left = m_buffer.size();
#ifdef TZ305_FAULT_INJECTION
    if (left > 0 && m_error == 0)
        m_error = faultinjection::failWrite();
#endif
    while (left > 0 && m_error == 0) {
        const ssize_t written = ::write(m_fd, from, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            // A write that takes nothing without an error number: no room.
            m_error = written < 0 ? errno : ENOSPC;
        else {
            from += written;
            left -= written;
        }
    }
    m_buffer.clear();
    return m_error == 0;
}

bool ScratchFile::finish()
{
    if (m_fd < 0)
        return false;
    bool flushed = writeBuffer();
#ifdef TZ305_FAULT_INJECTION
    if (flushed)
        flushed = (m_error = faultinjection::failFinish(pos() == 0)) == 0;
#endif
    if (flushed && ::fsync(m_fd) != 0)
        m_error = errno;
    if (::close(m_fd) != 0 && m_error == 0)
        m_error = errno;
    m_fd = -1;
    QIODevice::close();
    return m_error == 0;
}

void ScratchFile::close()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    m_buffer.clear();
    QIODevice::close();
}

} // namespace tz
