// The text proposals are read from: a PDF's text layer, OCR of scans, and a stop that ends the
// reading early.
#include "extract/DocumentText.h"

#include "support/SampleDocuments.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace fmb {
namespace {

using test::TempDir;

const std::vector<std::string> kReceipt = {"領収書", "2024年1月5日", "領収金額 ¥8,800-"};

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

TEST(DocumentTextTest, ATextLayerIsReadWithoutOcr) {
    const TempDir dir;
    test::WriteTextPdf(dir.Path() / "receipt.pdf", kReceipt);
    const ExtractedText text = ExtractDocumentText(Q(dir.Child("receipt.pdf")), {});
    EXPECT_EQ(text.problem, SourceDocument::Problem::None);
    EXPECT_FALSE(text.recognised);
    EXPECT_FALSE(text.stopped);
    EXPECT_NE(text.text.find("領収金額 ¥8,800-"), std::string::npos) << text.text;
}

TEST(DocumentTextTest, AScanIsRecognised) {
    const TempDir dir;
    test::WriteScanPng(dir.Path() / "receipt.png", kReceipt);
    const ExtractedText text = ExtractDocumentText(Q(dir.Child("receipt.png")), {});
    EXPECT_TRUE(text.recognised);
    EXPECT_NE(text.text.find("8,800"), std::string::npos) << text.text;
}

TEST(DocumentTextTest, AStopEndsTheReadingBeforeTheRecognition) {
    const TempDir dir;
    test::WriteScanPng(dir.Path() / "receipt.png", kReceipt);
    std::stop_source stop;
    stop.request_stop();
    const ExtractedText text = ExtractDocumentText(Q(dir.Child("receipt.png")), stop.get_token());
    EXPECT_TRUE(text.stopped);
    EXPECT_EQ(text.text.find("8,800"), std::string::npos) << text.text;
}

} // namespace
} // namespace fmb
