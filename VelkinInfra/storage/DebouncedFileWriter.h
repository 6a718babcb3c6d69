#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

namespace tessaron {

class SerialQueue;

// The byte-level half of `JSONFile`: atomic whole-file writes, a debounced write on its own serial
// queue, and the rule that an existing file that does not read back, or could not be read when it
// was loaded, is copied aside (as "<name>.unreadable-<UTC time>") before anything overwrites it.
//
// Every method may be called from any thread. The pending write and every file operation are
// guarded by one lock, so a write that has started finishes before a later one begins and the
// later one wins.
class DebouncedFileWriter {
public:
    // `readable` tells whether existing file content decodes; content it rejects is kept aside.
    DebouncedFileWriter(QString path, const QString& queueLabel, std::chrono::milliseconds debounce,
                        std::function<bool(const QByteArray&)> readable);
    ~DebouncedFileWriter();
    DebouncedFileWriter(const DebouncedFileWriter&) = delete;
    DebouncedFileWriter& operator=(const DebouncedFileWriter&) = delete;

    const QString& path() const { return m_path; }

    // The whole file; absent when it is missing or cannot be read. A file that is there but cannot
    // be read is kept aside before the next write, even if it reads again by then.
    std::optional<QByteArray> read() const;
    // The file's content did not decode: keep it aside before the next write replaces it, even if
    // a later version of it would decode.
    void keepAsideBeforeNextWrite() const;
    // Replaces any pending write; this one runs `debounce` from now unless replaced or cancelled.
    // A pending write outlives the writer: it still runs at its deadline.
    void schedule(QByteArray bytes);
    // Cancels the pending write and writes now on the calling thread. True when the file holds `bytes`.
    bool writeNow(const QByteArray& bytes);
    // Runs the pending write now on the calling thread, if there is one. True when the last write,
    // debounced or not, reached the file (and when nothing was ever written).
    bool flush();
    // Cancels the pending write and removes the file; failures are ignored.
    void remove();

private:
    struct State;
    QString m_path;
    std::chrono::milliseconds m_debounce;
    std::shared_ptr<State> m_state;
    std::unique_ptr<SerialQueue> m_queue;
};

} // namespace tessaron
