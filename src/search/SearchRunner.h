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
    // deliver is called on the search's thread for every batch; it must hand the batch over to
    // where it is shown and return quickly.
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
    // A batch goes out when it holds this many hits, or when this much time has passed since
    // the last one, whichever comes first.
    static constexpr std::size_t kBatchHits = 2000;
    static constexpr std::chrono::milliseconds kBatchInterval{50};

    std::function<void(SearchBatch&&)> m_deliver;
    std::uint64_t m_lastSearch = 0;
    std::jthread m_thread;
};

} // namespace fmb
