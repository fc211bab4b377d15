#include "SheetWindow.h"

#include "PdfPage.h"
#include "PrintDialog.h"
#include "ExternalTool.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <string>

using namespace platform;
using testsupport::runTool;

namespace {

std::size_t occurrences(const std::string& text, const std::string& what)
{
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size()))
        ++n;
    return n;
}

struct PdfCase {
    int row;
    const char* title;
    const char* second;
};

class PrintToPdf : public testing::TestWithParam<PdfCase> {};

// Guards: a real page losing the title or problems, a sign coming out as a missing glyph or from a
// fallback font, or the job not finishing when the page is released.
TEST_P(PrintToPdf, PageCarriesTheTitleAndAHundredProblems)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString pdf = dir.filePath(QStringLiteral("sheet.pdf"));
    {
        SheetWindow sheet;
        sheet.setPopup("Adding\rSubtracting\rMultiplying\rDividing", GetParam().row);
        sheet.setPracticeText("4");
        sheet.answerDialogWith(OpenPdfPage(pdf.toStdString()));
        sheet.press();
    }
    const std::string text = runTool(QStringLiteral("pdftotext"), { QStringLiteral("-raw"), pdf, QStringLiteral("-") });
    EXPECT_EQ(occurrences(text, GetParam().title), 1u) << text;
    EXPECT_EQ(occurrences(text, GetParam().second), 100u) << text;
    for (char digit = '0'; digit <= '9'; ++digit)
        EXPECT_GE(occurrences(text, std::string(1, digit)), 10u);

    // Every glyph comes from the one embedded family: no sign needed a fallback font.
    const std::string fonts = runTool(QStringLiteral("pdffonts"), { pdf });
    EXPECT_NE(fonts.find("LiberationSans"), std::string::npos) << fonts;
    const QStringList lines = QString::fromStdString(fonts).split(u'\n', Qt::SkipEmptyParts).mid(2);
    EXPECT_LE(lines.size(), 2) << "regular and bold only: " << fonts;
    for (const QString& line : lines) {
        // The columns end: emb sub uni object ID.
        const QStringList columns = line.split(u' ', Qt::SkipEmptyParts);
        ASSERT_GE(columns.size(), 6);
        EXPECT_EQ(columns[columns.size() - 5], QStringLiteral("yes")) << "embedded: " << fonts;
    }
}

INSTANTIATE_TEST_SUITE_P(Operations, PrintToPdf,
                         testing::Values(PdfCase { 0, "Adding 4", "+ 4" }, PdfCase { 1, "Subtracting 4", "\u2212 4" },
                                         PdfCase { 2, "Multiplying 4", "\u00D7 4" },
                                         PdfCase { 3, "Dividing 4", "\u00F7 4" }));

}
