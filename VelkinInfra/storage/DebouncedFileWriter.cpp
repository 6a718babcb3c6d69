#include "VelkinInfra/storage/DebouncedFileWriter.h"

#include "VelkinInfra/async/SerialQueue.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <condition_variable>
#include <cerrno>
#include <mutex>

#include <sys/stat.h>

namespace tessaron {

struct DebouncedFileWriter::State {
    QString path;
    std::function<bool(const QByteArray&)> readable;
    std::mutex lock;
    std::condition_variable changed;
    // Generation of the pending write; 0 when nothing is pending.
    uint64_t pending = 0;
    uint64_t lastGeneration = 0;
    QByteArray pendingBytes;
    // A load found the file there but could not read or decode it: whatever is there at the next
    // write is the user's data, kept aside whether it reads by then or not.
    bool keepAside = false;
    bool lastWriteOk = true;

    void cancelPendingLocked()
    {
        pending = 0;
        pendingBytes.clear();
        changed.notify_all();
    }

    // An existing file that does not decode is the user's data in a form this program cannot
    // read (a damaged edit, a newer version); keep it before replacing it.
    bool keepUnreadableAsideLocked()
    {
        QFile current(path);
        if (!current.exists() || current.size() == 0)
            return true;
        if (!current.open(QIODevice::ReadOnly))
            return false;
        const QByteArray content = current.readAll();
        current.close();
        if (!keepAside && readable(content))
            return true;
        const QString stamp = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd'T'HHmmss.zzz'Z'"));
        QString aside = path + QStringLiteral(".unreadable-") + stamp;
        for (int n = 2; QFileInfo::exists(aside); ++n)
            aside = path + QStringLiteral(".unreadable-") + stamp + QLatin1Char('-') + QString::number(n);
        return QFile::copy(path, aside);
    }

    bool writeLocked(const QByteArray& bytes)
    {
        lastWriteOk = writeFileLocked(bytes);
        return lastWriteOk;
    }

    bool writeFileLocked(const QByteArray& bytes)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        if (!keepUnreadableAsideLocked())
            return false; // never overwrite what could not be kept
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return false;
        if (file.write(bytes) != bytes.size()) {
            file.cancelWriting(); // the target stays as it was
            return false;
        }
        if (!file.commit())
            return false;
        keepAside = false;
        return true;
    }
};

DebouncedFileWriter::DebouncedFileWriter(QString path, const QString& queueLabel, std::chrono::milliseconds debounce,
                                         std::function<bool(const QByteArray&)> readable)
    : m_path(std::move(path))
    , m_debounce(debounce)
    , m_state(std::make_shared<State>())
    , m_queue(std::make_unique<SerialQueue>(queueLabel.toStdString()))
{
    m_state->path = m_path;
    m_state->readable = std::move(readable);
}

DebouncedFileWriter::~DebouncedFileWriter() = default;

std::optional<QByteArray> DebouncedFileWriter::read() const
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly) || QFileInfo(m_path).isDir()) {
        // Missing is the only failure that means "no data"; anything else (permissions, a folder in
        // the way, a disk not there yet) hides data that must survive the next write.
        struct stat info;
        if (::stat(QFile::encodeName(m_path).constData(), &info) == 0 || errno != ENOENT)
            keepAsideBeforeNextWrite();
        return std::nullopt;
    }
    QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        keepAsideBeforeNextWrite();
        return std::nullopt;
    }
    return content;
}

void DebouncedFileWriter::keepAsideBeforeNextWrite() const
{
    std::lock_guard guard(m_state->lock);
    m_state->keepAside = true;
}

void DebouncedFileWriter::schedule(QByteArray bytes)
{
    const auto deadline = std::chrono::steady_clock::now() + m_debounce;
    uint64_t generation = 0;
    {
        std::lock_guard guard(m_state->lock);
        generation = ++m_state->lastGeneration;
        m_state->pending = generation;
        m_state->pendingBytes = std::move(bytes);
        m_state->changed.notify_all(); // the replaced write stops waiting
    }
    m_queue->post([state = m_state, generation, deadline]() {
        std::unique_lock guard(state->lock);
        state->changed.wait_until(guard, deadline, [&] { return state->pending != generation; });
        if (state->pending != generation)
            return; // replaced or cancelled
        const QByteArray bytes = std::move(state->pendingBytes);
        state->cancelPendingLocked();
        state->writeLocked(bytes);
    });
}

bool DebouncedFileWriter::writeNow(const QByteArray& bytes)
{
    std::lock_guard guard(m_state->lock);
    m_state->cancelPendingLocked();
    return m_state->writeLocked(bytes);
}

bool DebouncedFileWriter::flush()
{
    std::lock_guard guard(m_state->lock);
    if (m_state->pending == 0)
        return m_state->lastWriteOk;
    const QByteArray bytes = std::move(m_state->pendingBytes);
    m_state->cancelPendingLocked();
    return m_state->writeLocked(bytes);
}

void DebouncedFileWriter::remove()
{
    std::lock_guard guard(m_state->lock);
    m_state->cancelPendingLocked();
    QFile::remove(m_path);
}

} // namespace tessaron
