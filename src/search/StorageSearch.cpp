#include "search/StorageSearch.h"

#include "index/CLineOne.h"
#include "platform/DateText.h"
#include "platform/PathText.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <tuple>

namespace fmb {
namespace {

constexpr std::string_view kPrefixOpen = "＜";
constexpr std::string_view kPrefixClose = "＞";

// The second folder below the root on the way to the file (the type folder of the layout:
// root / fiscal year / type / ...); empty for a file lying less deep.
std::string_view TypeFolderOf(const ScanEntry& entry, std::size_t rootSize) {
    std::string_view below = std::string_view(entry.fullPath).substr(rootSize);
    below.remove_suffix(entry.fileName.size());
    const auto first = below.find(kPathSeparator);
    if (first == std::string_view::npos) {
        return {};
    }
    below.remove_prefix(first + 1);
    const auto second = below.find(kPathSeparator);
    return second == std::string_view::npos ? std::string_view{} : below.substr(0, second);
}

std::string_view TypeOf(const StoredName& name, const ScanEntry& entry, std::size_t rootSize) {
    if (!name.typePrefix.empty()) {
        std::string_view type = name.typePrefix;
        type.remove_prefix(kPrefixOpen.size());
        type.remove_suffix(kPrefixClose.size());
        return type;
    }
    return TypeFolderOf(entry, rootSize);
}

std::string WithoutCommas(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        if (c != ',') {
            out.push_back(c);
        }
    }
    return out;
}

// The link to path from the folder of the book: relative when the book lies in the storage
// root, so that the book and the documents can move together; the full path otherwise.
class HitLinks {
public:
    HitLinks(const std::string& outputPath, const std::string& storageRoot)
        : m_root(WithTrailingSeparator(storageRoot)) {
        namespace fs = std::filesystem;
        std::error_code error;
        const fs::path root = fs::weakly_canonical(ToFsPath(storageRoot), error);
        const fs::path bookFolder =
            fs::weakly_canonical(fs::absolute(ToFsPath(outputPath), error).parent_path(), error);
        if (error) {
            return;
        }
        const fs::path inside = bookFolder.lexically_relative(root);
        if (!inside.empty() && *inside.begin() != "..") {
            m_canonicalRoot = root;
            m_bookFolder = bookFolder;
        }
    }

    std::string LinkTo(const std::string& path) const {
        if (m_bookFolder.empty() || !path.starts_with(m_root)) {
            return path;
        }
        const std::filesystem::path target = m_canonicalRoot / ToFsPath(path.substr(m_root.size()));
        return FromFsPath(target.lexically_relative(m_bookFolder).make_preferred());
    }

private:
    std::string m_root; // as the hits spell it, with a trailing separator
    std::filesystem::path m_canonicalRoot;
    std::filesystem::path m_bookFolder; // empty: full paths
};

} // namespace

SearchHit SearchMatch::ToHit() const {
    SearchHit hit;
    hit.date = name.date;
    hit.dateText = name.dateText;
    hit.company = name.company;
    hit.amounts.assign(name.amounts.begin(), name.amounts.end());
    hit.firstAmount = name.amountValues.front();
    hit.type = type;
    hit.typePrefixSize = name.typePrefix.size();
    hit.remark.assign(name.typePrefix).append(name.remark);
    hit.fiscalYear = entry.typeFolder;
    hit.path = entry.fullPath;
    return hit;
}

SearchReport SearchStorage(const std::string& root, const SearchQuery& query,
                           const SearchOptions& options, std::span<const MatchSink> sinks,
                           std::stop_token stop) {
    const std::size_t rootSize = WithTrailingSeparator(root).size();
    // Each walking thread reads names into storage of its own and folds through caches of its
    // own. The folds are large: kept off the stacks.
    struct Reader {
        StoredName name;
        std::unique_ptr<SearchFolds> folds = std::make_unique<SearchFolds>();
    };
    std::vector<Reader> readers(sinks.size());
    std::vector<ScanVisitor> visitors;
    for (std::size_t i = 0; i < sinks.size(); ++i) {
        visitors.push_back([&, &reader = readers[i], &sink = sinks[i]](const ScanEntry& entry) {
            if (stop.stop_requested()) {
                return false;
            }
            if (!MayMatch(query, entry.fileName, *reader.folds) ||
                !ReadStoredName(entry.fileName, options.preferredForm, reader.name)) {
                return true;
            }
            const std::string_view type = TypeOf(reader.name, entry, rootSize);
            if (Matches(query, {reader.name, type}, *reader.folds)) {
                sink({reader.name, type, entry});
            }
            return true;
        });
    }
    SearchReport report;
    report.scan = ScanFolderOnThreads(root, visitors, options.kept);
    report.stopped = stop.stop_requested();
    return report;
}

SearchReport SearchStorage(const std::string& root, const SearchQuery& query,
                           const SearchOptions& options, const MatchSink& onMatch,
                           std::stop_token stop) {
    return SearchStorage(root, query, options, std::span(&onMatch, 1), std::move(stop));
}

std::vector<const SearchHit*> ByDateAndPath(const std::vector<SearchHit>& hits) {
    std::vector<const SearchHit*> order;
    order.reserve(hits.size());
    for (const SearchHit& hit : hits) {
        order.push_back(&hit);
    }
    std::sort(order.begin(), order.end(), [](const SearchHit* a, const SearchHit* b) {
        return std::tie(a->date, a->path) < std::tie(b->date, b->path);
    });
    return order;
}

std::string DefaultHitBookName(const Clock& clock) {
    return "検索結果_索引簿(作成日" + TodayText(clock) + ").csv";
}

ExportResult WriteHitBook(const std::string& outputPath, const std::vector<const SearchHit*>& hits,
                          const std::string& storageRoot) {
    const HitLinks links(outputPath, storageRoot);
    std::vector<std::string> linkTexts;
    // Reserved, so that the rows' views of the links stay valid.
    linkTexts.reserve(hits.size());
    std::vector<CLineOne> rows;
    std::vector<std::string> fullPaths;
    for (const SearchHit* const hitInOrder : hits) {
        const SearchHit& hit = *hitInOrder;
        const std::string& link = linkTexts.emplace_back(links.LinkTo(hit.path));
        for (const std::string& amount : hit.amounts) {
            CLineOne& row = rows.emplace_back();
            row.type = hit.type;
            row.date = hit.dateText;
            row.company = hit.company;
            row.amount = WithoutCommas(amount);
            row.remark = hit.remark;
            row.path = link;
            fullPaths.push_back(hit.path);
        }
    }
    return CCsvOut().OutputFiles(outputPath, rows, fullPaths);
}

} // namespace fmb
