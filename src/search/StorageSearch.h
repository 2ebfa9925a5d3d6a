#pragma once

#include "index/CCsvOut.h"
#include "index/FolderWalk.h"
#include "platform/Clock.h"
#include "search/SearchQuery.h"
#include "search/StoredName.h"

#include <functional>
#include <span>
#include <stop_token>
#include <string>
#include <vector>

namespace fmb {

// A stored document that matched a search.
struct SearchHit {
    int date = 0;         // YYYYMMDD
    std::string dateText; // the date as the name writes it
    std::string company;
    std::vector<std::string> amounts; // as the name writes them
    long long firstAmount = 0;        // the first of them as a number
    std::string type;                 // the document type (see SearchedDocument)
    std::string remark;               // the remark as the name writes it, type prefix included
    std::size_t typePrefixSize = 0;   // the bytes of the type prefix at the remark's start
    std::string fiscalYear;           // the first folder below the storage root
    std::string path;                 // the full path

    std::string_view RemarkWithoutPrefix() const {
        return std::string_view(remark).substr(typePrefixSize);
    }
};

// A stored document that matched, as the walk sees it: views into its name and path, valid
// only while it is being handed over. Whoever keeps it takes what it needs.
struct SearchMatch {
    const StoredName& name;
    std::string_view type; // see SearchedDocument
    const ScanEntry& entry;

    std::string_view Path() const { return entry.fullPath; }
    SearchHit ToHit() const;
};

// Takes the matches one walking thread finds, one at a time.
using MatchSink = std::function<void(const SearchMatch&)>;

struct SearchOptions {
    NameForm preferredForm = NameForm::Bracketed; // the form the settings write
    KeptVersions kept = KeptVersions::LeftOut;
};

// What a search walked: the folders it could not read (their documents are missing from the
// hits), and whether it was stopped before its end.
struct SearchReport {
    ScanReport scan;
    bool stopped = false;
};

// Walks the storage root on one thread per sink (WalkThreads() tells how many the machine is
// worth) and hands every stored document that matches query to the sink of the thread that
// found it, as it is found, in no set order. Files whose names are not stored names are passed
// over. A stop asked for through stop ends the walk at the next file.
SearchReport SearchStorage(const std::string& root, const SearchQuery& query,
                           const SearchOptions& options, std::span<const MatchSink> sinks,
                           std::stop_token stop = {});
// The same on the calling thread alone.
SearchReport SearchStorage(const std::string& root, const SearchQuery& query,
                           const SearchOptions& options, const MatchSink& onMatch,
                           std::stop_token stop = {});

// The hits in the order of date, then path.
std::vector<const SearchHit*> ByDateAndPath(const std::vector<SearchHit>& hits);

// The file name of a book of hits written today: 検索結果_索引簿(作成日YYYYMMDD).csv.
std::string DefaultHitBookName(const Clock& clock);

// Writes the hits as an index book at outputPath (the CSV of the index export). The paths are
// relative to the book's folder when that folder lies in the storage root, else full paths.
ExportResult WriteHitBook(const std::string& outputPath, const std::vector<const SearchHit*>& hits,
                          const std::string& storageRoot);

} // namespace fmb
