#pragma once

#include "search/StorageSearch.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace fmb {

// A part of the hits of one search, in the order they were found.
struct SearchBatch {
    std::uint64_t search = 0; // which search they belong to (Start's result)
    std::vector<SearchHit> hits;
    bool finished = false; // the last batch of a search that ran to its end
    SearchReport report;   // set on the last batch
};

// Runs one search at a time on a thread of its own, so that a window stays responsive: a new
// search stops the one still running. The hits come in batches as they are found, so that the
// first ones show at once.
class SearchRunner {
public:
    // deliver is called on the search's threads for every batch, from several at once; it must
    // hand the batch over to where it is shown and return quickly. The last batch of a search,
    // finished, comes after all its others.
    explicit SearchRunner(std::function<void(SearchBatch&&)> deliver);
    ~SearchRunner();
    SearchRunner(const SearchRunner&) = delete;
    SearchRunner& operator=(const SearchRunner&) = delete;

    // Stops the running search, if any, and starts this one; the number of the new search.
    std::uint64_t Start(const std::string& root, const SearchQuery& query,
                        const SearchOptions& options);
    // Stops the running search, if any, and waits until it has ended.
    void Stop();

private:
    // A batch goes out when it holds as many hits as the batches before it together (at least
    // kFirstBatchHits), or when kBatchInterval has passed since the last one, whichever comes
    // first: the first hits show at once, and the window merges a long list of hits into its
    // table a few times, not once per few thousand.
    static constexpr std::size_t kFirstBatchHits = 1000;
    static constexpr std::chrono::milliseconds kBatchInterval{50};

    using Clock = std::chrono::steady_clock;

    // The batch one walking thread fills and hands over.
    class BatchFiller {
    public:
        BatchFiller(SearchRunner& runner, std::uint64_t search);
        void Add(const SearchMatch& match);
        // Hands over the hits gathered so far, if any.
        void Send();

    private:
        SearchRunner& m_runner;
        std::uint64_t m_search;
        SearchBatch m_batch;
        Clock::time_point m_lastSent;
        std::size_t m_sentHits = 0;
    };

    std::function<void(SearchBatch&&)> m_deliver;
    std::uint64_t m_lastSearch = 0;
    std::jthread m_thread;
};

} // namespace fmb
