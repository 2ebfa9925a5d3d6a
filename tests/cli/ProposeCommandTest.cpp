// fumibako-cli propose on real documents: a text PDF, a scan read by OCR, and files it cannot
// read. The command runs in-process; one test runs the real fumibako-cli, which hands it to the
// program beside it.
#include "cli/ProposeCommand.h"
#include "cli/CliRun.h"

#include "proposal/RegistrationStore.h"
#include "settings/CFMBSyameiData.h"
#include "support/SampleDocuments.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <sstream>

namespace fmb::cli {
namespace {

using test::TempDir;

// What "propose" answered, run in-process as fumibako-propose runs it.
CliRun Propose(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = ProposeFromDocument(args, out, err);
    return {status, out.str(), err.str()};
}

// The output and exit status of a shell command.
CliRun RunShell(const std::string& command) {
    CliRun run{-1, {}, {}};
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        return run;
    char buffer[4096];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        run.out.append(buffer, got);
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

class ProposeCommandTest : public ::testing::Test {
protected:
    ProposeCommandTest() {
        test::WriteTextPdf(m_dir.Path() / "invoice.pdf", test::SampleInvoiceLines());
    }

    std::string Invoice() const { return m_dir.Child("invoice.pdf"); }
    std::string Settings() const { return m_dir.Text(true); }

    TempDir m_dir;
};

TEST_F(ProposeCommandTest, PrintsTheProposalsOfATextPdfBestFirst) {
    const CliRun run = Propose({Invoice(), "--settings-dir", Settings()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "date 20230331\n"
                       "date 20230430\n"
                       "amount 110000\n"
                       "amount 100000\n"
                       "amount 10000\n"
                       "company (株)国税商事\n"
                       "company 株式会社ふみばこ工房\n"
                       "registration T7000012050002\n");
    EXPECT_EQ(run.err, "");
}

TEST_F(ProposeCommandTest, TheTypeDecidesTheCompanyAndRememberedNumbersComeFirst) {
    CFMBSyameiData types(Settings());
    types.SetTypeName(0, "請求書");
    types.SetCompanyNames(0, {"国税商事(株)", "まるや"});
    types.SetTypeName(1, "請求書(控)");
    ASSERT_EQ(types.WriteIni(), SaveResult::Saved);
    const auto firstCompany = [&](const std::string& type) {
        const CliRun run = Propose({"--type", type, "--settings-dir", Settings(), Invoice()});
        EXPECT_EQ(run.status, 0) << run.err;
        const std::size_t at = run.out.find("company ");
        return at == std::string::npos ? std::string()
                                       : run.out.substr(at + 8, run.out.find('\n', at) - at - 8);
    };
    EXPECT_EQ(firstCompany("請求書"), "国税商事(株)");             // as the type's list spells it
    EXPECT_EQ(firstCompany("請求書(控)"), "株式会社ふみばこ工房"); // the addressee
    EXPECT_EQ(firstCompany("未登録の種類"), "(株)国税商事");

    ASSERT_TRUE(RegistrationStore(Settings()).Remember(test::kSampleRegistration, "国税商事"));
    EXPECT_EQ(firstCompany("請求書"), "国税商事");
}

TEST_F(ProposeCommandTest, ReadsAScanByOcr) {
    const std::string scan = m_dir.Child("scan.png");
    test::WriteScanPng(scan, {"領収書", "2024年1月5日", "領収金額 ¥8,800-", "合同会社ミライ"});
    const CliRun run = Propose({scan, "--settings-dir", Settings()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.substr(0, run.out.find("company")), "date 20240105\namount 8800\n");
}

TEST_F(ProposeCommandTest, ReadsByOcrWhatATextLayerLacks) {
    const struct {
        std::vector<std::string> text;    // in the text layer
        std::vector<std::string> picture; // only in a picture on the page
    } cases[] = {
        // A scanned page: no text layer at all.
        {{}, {"領収書", "2024年1月5日", "領収金額 ¥8,800-"}},
        // The date is not in the text layer, the total is.
        {{"領収書", "領収金額 ¥8,800-"}, {"2024年1月5日"}},
        // The total is not, the date is.
        {{"領収書", "2024年1月5日"}, {"領収金額 ¥8,800-"}},
    };
    const std::string pdf = m_dir.Child("scanned.pdf");
    for (const auto& c : cases) {
        test::WritePdfWithPicturedLines(pdf, c.text, c.picture);
        const CliRun run = Propose({pdf, "--settings-dir", Settings()});
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out.substr(0, run.out.find("company")), "date 20240105\namount 8800\n")
            << c.picture.front();
    }
}

TEST_F(ProposeCommandTest, NothingFoundIsNoLinesAndSuccess) {
    const std::string pdf = m_dir.Child("letter.pdf");
    test::WriteTextPdf(pdf, {"いつもお世話になっております。"});
    const CliRun run = Propose({pdf, "--settings-dir", Settings()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
}

TEST_F(ProposeCommandTest, FilesItCannotReadAreRefusedWithTheReason) {
    test::WriteBytes(m_dir.Path() / "locked.pdf", test::EncryptedPdfBytes());
    test::WriteBytes(m_dir.Path() / "broken.pdf", "%PDF-1.4 nothing more");
    test::WriteBytes(m_dir.Path() / "notes.txt", "請求日 2023年3月31日");
    const struct {
        std::string file;
        std::string reason;
    } cases[] = {
        {"missing.pdf", "there is no file "},
        {"locked.pdf", "the PDF is protected by a password: "},
        {"broken.pdf", "the file cannot be read: "},
        {"notes.txt", "neither a PDF nor an image: "},
    };
    for (const auto& c : cases) {
        const CliRun run = Propose({m_dir.Child(c.file), "--settings-dir", Settings()});
        EXPECT_EQ(run.status, 1) << c.file;
        EXPECT_EQ(run.out, "") << c.file;
        EXPECT_EQ(run.err, c.reason + m_dir.Child(c.file) + "\n");
    }
}

TEST_F(ProposeCommandTest, WrongCommandLines) {
    EXPECT_EQ(Propose({}).status, 2);
    EXPECT_EQ(Propose({Invoice(), Invoice()}).status, 2);
    EXPECT_EQ(Propose({Invoice(), "--settings-dir", m_dir.Child("none")}).status, 2);
    EXPECT_EQ(Propose({Invoice(), "--colour"}).status, 2);
}

TEST_F(ProposeCommandTest, PrintsTheTextItReadsWhenAsked) {
    const CliRun run = Propose({"--text", Invoice(), "--settings-dir", Settings()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("ご請求金額 ¥110,000-"), std::string::npos) << run.out;
}

} // namespace

// The real fumibako-cli hands propose to fumibako-propose beside it and answers with its output
// and status.
TEST_F(ProposeCommandTest, TheCommandLineProgramHandsProposeToTheProgramBesideIt) {
    const std::string quote = "'";
    const CliRun found =
        RunShell(std::string(FUMIBAKO_CLI_BINARY) + " propose " + quote + Invoice() + quote +
                 " --settings-dir " + quote + Settings() + quote);
    EXPECT_EQ(found.status, 0);
    EXPECT_NE(found.out.find("date 20230331\n"), std::string::npos) << found.out;
    const CliRun missing = RunShell(std::string(FUMIBAKO_CLI_BINARY) + " propose " + quote +
                                    m_dir.Child("none.pdf") + quote + " 2>&1");
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.out.find("none.pdf"), std::string::npos) << missing.out;
}

} // namespace fmb::cli
