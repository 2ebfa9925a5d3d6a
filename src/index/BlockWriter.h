#pragma once

#include "platform/TemporaryFile.h"

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

namespace fmb {

// Writes blocks of bytes to a file on a thread of its own, so that the lines of the next block
// are made while the last one goes to the disk. At most a few blocks wait at a time, so memory
// stays small; their buffers are handed back for reuse.
class BlockWriter {
public:
    explicit BlockWriter(TemporaryFile& file);
    ~BlockWriter();
    BlockWriter(const BlockWriter&) = delete;
    BlockWriter& operator=(const BlockWriter&) = delete;

    // Hands block over to be written after the blocks before it, and leaves an empty buffer in
    // its place. False once a write has failed: what is handed over later is dropped.
    bool Put(std::string& block);

    // Waits until every block handed over is written (or dropped after a failure) and ends the
    // thread; the first write failure, if any.
    std::error_code Finish();

private:
    void WriteBlocks();

    static constexpr std::size_t kBlocksWaiting = 2;

    TemporaryFile& m_file;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::string> m_waiting;
    std::vector<std::string> m_spare;
    bool m_closed = false;
    std::error_code m_error;
    std::thread m_thread;
};

} // namespace fmb
