#include "support/SampleDocuments.h"

#include "support/TempDir.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace fmb::test {
namespace {

std::string Escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '&':
            out += "&amp;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

constexpr int kLineHeight = 28; // points

// An A4 page with the lines from the top, and the picture (a file beside the SVG) below them.
std::string Svg(const std::vector<std::string>& lines, const std::string& picture = {}) {
    std::string svg = R"(<svg xmlns="http://www.w3.org/2000/svg" )"
                      R"(xmlns:xlink="http://www.w3.org/1999/xlink" width="595pt" height="842pt" )"
                      R"(viewBox="0 0 595 842"><rect width="595" height="842" fill="white"/>)"
                      R"(<g font-family="Noto Sans CJK JP" font-size="14" fill="black">)";
    int y = 60;
    for (const std::string& line : lines) {
        svg += "<text x=\"50\" y=\"" + std::to_string(y) + "\">" + Escaped(line) + "</text>";
        y += kLineHeight;
    }
    if (!picture.empty())
        svg += "<image x=\"0\" y=\"" + std::to_string(y - kLineHeight / 2) +
               "\" width=\"595\" height=\"842\" xlink:href=\"" + picture + "\"/>";
    return svg + "</g></svg>";
}

void Convert(const std::filesystem::path& svg, const std::filesystem::path& out,
             const std::string& format) {
    const std::string command = "rsvg-convert -f " + format + " -b white" +
                                (format == "png" ? " -z 2.78" : "") + " -o '" + out.string() +
                                "' '" + svg.string() + "'";
    if (std::system(command.c_str()) != 0)
        throw std::runtime_error("rsvg-convert failed: " + command);
}

void Convert(const std::vector<std::string>& lines, const std::filesystem::path& out,
             const std::string& format) {
    const TempDir work;
    const std::filesystem::path svg = work.Path() / "page.svg";
    WriteBytes(svg, Svg(lines));
    Convert(svg, out, format);
}

} // namespace

void WriteTextPdf(const std::filesystem::path& pdf, const std::vector<std::string>& lines) {
    Convert(lines, pdf, "pdf");
}

void WriteScanPng(const std::filesystem::path& png, const std::vector<std::string>& lines) {
    Convert(lines, png, "png");
}

void WritePdfWithPicturedLines(const std::filesystem::path& pdf,
                               const std::vector<std::string>& textLines,
                               const std::vector<std::string>& pictureLines) {
    const TempDir work;
    Convert(pictureLines, work.Path() / "picture.png", "png");
    const std::filesystem::path svg = work.Path() / "page.svg";
    WriteBytes(svg, Svg(textLines, "picture.png"));
    Convert(svg, pdf, "pdf");
}

std::string EncryptedPdfBytes() {
    // The standard security handler with a user password: the check value /U matches no
    // password, so no reader opens the document without one.
    const std::vector<std::string> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 595 842] >>",
        "<< /Filter /Standard /V 1 /R 2 /O <" + std::string(64, '1') + "> /U <" +
            std::string(64, '2') + "> /P -4 >>",
    };
    std::string pdf = "%PDF-1.4\n";
    std::vector<std::size_t> offsets;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(pdf.size());
        pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const std::size_t xref = pdf.size();
    pdf += "xref\n0 5\n0000000000 65535 f \n";
    for (const std::size_t offset : offsets) {
        char entry[32];
        std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
        pdf += entry;
    }
    const std::string id = "<00112233445566778899aabbccddeeff>";
    pdf += "trailer\n<< /Size 5 /Root 1 0 R /Encrypt 4 0 R /ID [" + id + " " + id +
           "] >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    return pdf;
}

std::vector<std::string> SampleInvoiceLines() {
    return {"請求書",
            "株式会社ふみばこ工房 御中",
            "請求日 2023年3月31日",
            "お支払期限 2023年4月30日",
            "ご請求金額 ¥110,000-",
            "小計 100,000 消費税(10%) 10,000",
            "㈱国税商事",
            std::string("登録番号 ") + kSampleRegistration};
}

} // namespace fmb::test
