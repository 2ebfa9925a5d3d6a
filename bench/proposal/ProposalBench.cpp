// Proposals measured on the corpus of scripts/make-corpus: top-1 accuracy per field and time per
// document, for text PDFs (cairo, every character in the text layer), scans (OCR) and PDFs from
// QPdfWriter, whose text layer loses runs of Latin letters and digits (OCR fallback). Also the
// time until the first page of a 50-page PDF is drawn for the preview.
//
// Usage: proposal_bench [CORPUS_DIR]   (default build/default/bench-data/proposal-corpus, made
// with scripts/make-corpus, about five minutes, when it holds no corpus)
#include "support/BenchSupport.h"

#include "extract/DocumentText.h"
#include "extract/SourceDocument.h"
#include "proposal/Proposals.h"

#include <QFont>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>

#include <ctime>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

namespace fs = std::filesystem;

namespace {

constexpr int kWriterDocuments = 7; // one of each layout
constexpr int kLongPdfPages = 50;

struct Truth {
    std::string type, date, amount, company;
};

std::map<std::string, std::string> KeyValues(const fs::path& file) {
    std::map<std::string, std::string> values;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) {
        const auto space = line.find(' ');
        if (space != std::string::npos)
            values[line.substr(0, space)] = line.substr(space + 1);
    }
    return values;
}

Truth TruthOf(const fs::path& document) {
    fs::path truth = document;
    truth.replace_extension(".truth");
    auto values = KeyValues(truth);
    return {values["type"], values["date"], values["amount"], values["company"]};
}

double CpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + now.tv_nsec / 1e9;
}

std::string Best(const std::vector<fmb::Candidate>& candidates) {
    return candidates.empty() ? std::string("(none)") : candidates.front().value;
}

struct Target {
    double dateAmount; // least share of right dates and amounts
    double company;    // least share of right companies; 0 when not aimed at
    double seconds;    // most time per document
};

// Reads every document and prints one line of results; false when a target was missed.
bool Measure(const std::string& name, const std::vector<fs::path>& documents, Target target) {
    int dates = 0, amounts = 0, companies = 0;
    std::vector<double> wall, cpu;
    std::ostringstream misses;
    for (const fs::path& document : documents) {
        const Truth truth = TruthOf(document);
        fmb::FieldProposals proposals;
        const double cpuStart = CpuSeconds();
        wall.push_back(fmb::bench::Seconds([&] {
            const fmb::ExtractedText text =
                fmb::ExtractDocumentText(QString::fromStdString(document.string()), {});
            proposals = fmb::ProposeFields(text.text, {truth.type, {}}, nullptr);
        }));
        cpu.push_back(CpuSeconds() - cpuStart);
        const auto check = [&](const char* field, const std::string& best, const std::string& right,
                               int& count) {
            if (best == right)
                ++count;
            else
                misses << "    " << document.filename().string() << ": " << field << " " << best
                       << " (right: " << right << ")\n";
        };
        check("date", Best(proposals.dates), truth.date, dates);
        check("amount", Best(proposals.amounts), truth.amount, amounts);
        check("company", Best(proposals.companies), truth.company, companies);
    }
    const double n = static_cast<double>(documents.size());
    const auto percent = [n](int count) { return n > 0 ? 100.0 * count / n : 0.0; };
    const double worst = wall.empty() ? 0 : *std::max_element(wall.begin(), wall.end());
    const double median = wall.empty() ? 0 : fmb::bench::Median(wall);
    const double cpuMedian = cpu.empty() ? 0 : fmb::bench::Median(cpu);
    std::printf("%-22s %3zu docs  date %5.1f%%  amount %5.1f%%  company %5.1f%%  "
                "time median %6.0f ms (CPU %6.0f ms), worst %6.0f ms\n",
                name.c_str(), documents.size(), percent(dates), percent(amounts),
                percent(companies), median * 1000, cpuMedian * 1000, worst * 1000);
    bool met = percent(dates) >= target.dateAmount && percent(amounts) >= target.dateAmount &&
               percent(companies) >= target.company && median <= target.seconds;
    if (target.dateAmount > 0)
        std::printf(
            "%-22s target: date, amount >= %.0f%%%s, median <= %.0f ms: %s\n", "",
            target.dateAmount,
            target.company > 0
                ? (", company >= " + std::to_string(static_cast<int>(target.company)) + "%").c_str()
                : "",
            target.seconds * 1000, met ? "met" : "MISSED");
    std::cout << misses.str();
    return met || target.dateAmount == 0;
}

std::vector<fs::path> Files(const fs::path& folder, const std::vector<std::string>& extensions) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string extension = entry.path().extension().string();
        if (std::find(extensions.begin(), extensions.end(), extension) != extensions.end())
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// Draws a page of "x y size text" lines (points) with QPdfWriter.
void WritePdf(const fs::path& lines, const fs::path& pdf, int pages) {
    QPdfWriter writer(QString::fromStdString(pdf.string()));
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setResolution(72);
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter(&writer);
    for (int page = 0; page < pages; ++page) {
        if (page > 0)
            writer.newPage();
        std::ifstream in(lines);
        for (std::string line; std::getline(in, line);) {
            std::istringstream fields(line);
            double x = 0, y = 0, size = 0;
            fields >> x >> y >> size;
            std::string text;
            std::getline(fields >> std::ws, text);
            QFont font(QStringLiteral("Noto Sans CJK JP"));
            font.setPointSizeF(size);
            painter.setFont(font);
            painter.drawText(QPointF(x, y), QString::fromStdString(text));
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication application(argc, argv); // fonts for QPdfWriter
    const fs::path corpus =
        argc > 1 ? fs::path(argv[1]) : fs::path(FUMIBAKO_BENCH_DATA) / "proposal-corpus";
    if (!fs::is_directory(corpus / "text")) {
        const std::string command =
            std::string(FUMIBAKO_MAKE_CORPUS) + " '" + corpus.string() + "'";
        if (std::system(command.c_str()) != 0) {
            std::fprintf(stderr, "could not make the corpus with %s\n", FUMIBAKO_MAKE_CORPUS);
            return 1;
        }
    }
    fmb::bench::ScratchDir scratch;
    std::vector<fs::path> writerPdfs;
    for (const fs::path& lines : Files(corpus / "lines", {".txt"})) {
        if (static_cast<int>(writerPdfs.size()) == kWriterDocuments)
            break;
        fs::path pdf = scratch.Path() / lines.filename();
        pdf.replace_extension(".pdf");
        WritePdf(lines, pdf, 1);
        fs::path truth = lines;
        truth.replace_extension(".truth");
        fs::copy_file(truth, fs::path(pdf).replace_extension(".truth"));
        writerPdfs.push_back(pdf);
    }

    std::printf("Proposals, top-1 per field (corpus %s)\n", corpus.string().c_str());
    bool met = Measure("text PDFs (cairo)", Files(corpus / "text", {".pdf"}), {95, 95, 0.2});
    met = Measure("scans (OCR)", Files(corpus / "scan", {".jpg", ".png", ".tif"}), {85, 0, 3.0}) &&
          met;
    Measure("PDFs from QPdfWriter", writerPdfs, {0, 0, 0});

    const fs::path longPdf = scratch.Path() / "long.pdf";
    WritePdf(Files(corpus / "lines", {".txt"}).front(), longPdf, kLongPdfPages);
    QImage first;
    const double shown = fmb::bench::Seconds([&] {
        const fmb::SourceDocument document(QString::fromStdString(longPdf.string()));
        first = document.render(0, 1.5);
    });
    std::printf("Preview: first page of a %d-page PDF drawn in %.0f ms (target 300 ms): %s\n",
                kLongPdfPages, shown * 1000, !first.isNull() && shown <= 0.3 ? "met" : "MISSED");
    return met ? 0 : 1;
}
