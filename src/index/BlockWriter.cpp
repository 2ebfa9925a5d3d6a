#include "index/BlockWriter.h"

#include <utility>

namespace fmb {

BlockWriter::BlockWriter(TemporaryFile& file) : m_file(file), m_thread([this] { WriteBlocks(); }) {}

BlockWriter::~BlockWriter() {
    Finish();
}

bool BlockWriter::Put(std::string& block) {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return m_waiting.size() < kBlocksWaiting || m_error; });
    if (m_error) {
        block.clear();
        return false;
    }
    m_waiting.push_back(std::move(block));
    if (m_spare.empty()) {
        block = std::string();
    } else {
        block = std::move(m_spare.back());
        m_spare.pop_back();
    }
    block.clear();
    m_changed.notify_all();
    return true;
}

std::error_code BlockWriter::Finish() {
    {
        const std::lock_guard lock(m_mutex);
        m_closed = true;
        m_changed.notify_all();
    }
    if (m_thread.joinable()) {
        m_thread.join();
    }
    return m_error;
}

void BlockWriter::WriteBlocks() {
    std::string block;
    while (true) {
        {
            std::unique_lock lock(m_mutex);
            if (block.capacity() != 0) {
                m_spare.push_back(std::move(block));
            }
            m_changed.wait(lock, [&] { return !m_waiting.empty() || m_closed; });
            if (m_waiting.empty()) {
                return;
            }
            block = std::move(m_waiting.front());
            m_waiting.pop_front();
            m_changed.notify_all();
        }
        if (const std::error_code error = m_file.Write(block)) {
            const std::lock_guard lock(m_mutex);
            m_error = error;
            m_waiting.clear();
            m_changed.notify_all();
            return;
        }
    }
}

} // namespace fmb
