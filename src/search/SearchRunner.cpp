#include "search/SearchRunner.h"

#include <algorithm>
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
        // Each walking thread fills batches of its own and hands them over itself.
        std::vector<BatchFiller> fillers(WalkThreads(), BatchFiller{*this, search});
        std::vector<MatchSink> sinks;
        for (BatchFiller& filler : fillers) {
            sinks.push_back([&filler](const SearchMatch& match) { filler.Add(match); });
        }
        const SearchReport report = SearchStorage(root, query, options, sinks, stop);
        if (report.stopped) {
            return;
        }
        for (BatchFiller& filler : fillers) {
            filler.Send();
        }
        SearchBatch last;
        last.search = search;
        last.finished = true;
        last.report = report;
        m_deliver(std::move(last));
    });
    return search;
}

SearchRunner::BatchFiller::BatchFiller(SearchRunner& runner, std::uint64_t search)
    : m_runner(runner), m_search(search), m_lastSent(Clock::now()) {
    m_batch.search = search;
}

void SearchRunner::BatchFiller::Add(const SearchMatch& match) {
    m_batch.hits.push_back(match.ToHit());
    if (m_batch.hits.size() >= std::max(kFirstBatchHits, m_sentHits) ||
        Clock::now() - m_lastSent >= kBatchInterval) {
        Send();
    }
}

void SearchRunner::BatchFiller::Send() {
    if (!m_batch.hits.empty()) {
        m_sentHits += m_batch.hits.size();
        m_runner.m_deliver(std::move(m_batch));
    }
    m_batch = SearchBatch();
    m_batch.search = m_search;
    m_lastSent = Clock::now();
}

void SearchRunner::Stop() {
    if (m_thread.joinable()) {
        m_thread.request_stop();
        m_thread.join();
    }
}

} // namespace fmb
