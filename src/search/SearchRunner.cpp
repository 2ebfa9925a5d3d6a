#include "search/SearchRunner.h"

#include <utility>

namespace fmb {

SearchRunner::SearchRunner(std::function<void(SearchBatch&&)> deliver)
    : m_deliver(std::move(deliver)) {}

SearchRunner::~SearchRunner() {
    Stop();
}

std::uint64_t SearchRunner::Start(const std::string& root, const SearchQuery& query,
                                  const SearchOptions& options) {
    Stop();
    const std::uint64_t search = ++m_lastSearch;
    m_thread = std::jthread([this, search, root, query, options](std::stop_token stop) {
        using Clock = std::chrono::steady_clock;
        SearchBatch batch;
        batch.search = search;
        auto lastSent = Clock::now();
        const auto send = [&] {
            m_deliver(std::move(batch));
            batch = SearchBatch();
            batch.search = search;
            lastSent = Clock::now();
        };
        const SearchReport report = SearchStorage(
            root, query, options,
            [&](const SearchMatch& match) {
                batch.hits.push_back(match.ToHit());
                if (batch.hits.size() >= kBatchHits || Clock::now() - lastSent >= kBatchInterval) {
                    send();
                }
            },
            stop);
        if (report.stopped) {
            return;
        }
        batch.finished = true;
        batch.report = report;
        send();
    });
    return search;
}

void SearchRunner::Stop() {
    if (m_thread.joinable()) {
        m_thread.request_stop();
        m_thread.join();
    }
}

} // namespace fmb
