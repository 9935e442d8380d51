// Deflate streams started while a document prints take the fastest level; any other stream,
// before, after or beside a print job, keeps the level it asked for.
#include <gtest/gtest.h>
#include <zlib.h>

#include <fstream>
#include <iterator>
#include <string>

#include "platform/gdi/DC.h"
#include "platform/gdi/FastDeflate.h"
#include "platform/gdi/QtGdi.h"
#include "platform/ui/Print.h"
#include "tests/support/TestSupport.h"
#include "tests/view/output/PdfTestSupport.h"

namespace {

// deflateInit2 is zlib's own and never changed: the reference for a given level.
std::string DeflateAt(const std::string& in, bool viaDefault, int level) {
    z_stream z{};
    const int init = viaDefault ? deflateInit(&z, level)
                                : deflateInit2(&z, level, Z_DEFLATED, MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    if (init != Z_OK) return {};
    std::string out(deflateBound(&z, in.size()), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
    z.avail_in = static_cast<uInt>(in.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    const int result = deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return result == Z_STREAM_END ? out : std::string();
}

// Compressible, but not so plainly that every level gives the same bytes.
std::string PageLikeText() {
    std::string text;
    for (int i = 0; i < 4000; ++i)
        text += std::to_string(i * 37 % 1009) + " " + std::to_string(i * 53 % 997) + " l\n";
    return text;
}

// The first deflated stream of a file, as stored and inflated.
bool FirstStream(const std::string& path, std::string& stored, std::string& inflated) {
    std::ifstream in(path, std::ios::binary);
    const std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (std::size_t at = 0; (at = file.find("stream\n", at)) != std::string::npos;) {
        const std::size_t start = at + 7, end = file.find("endstream", start);
        if (end == std::string::npos) return false;
        stored = file.substr(start, end - start);
        while (!stored.empty() && (stored.back() == '\n' || stored.back() == '\r'))
            stored.pop_back();
        inflated = pdftest::Inflate(stored);
        if (inflated.size() > 1000) return true;
        at = end;
    }
    return false;
}

}  // namespace

TEST(FastDeflate, OnlyStreamsStartedInsideAScopeTakeTheFastestLevel) {
    const std::string text = PageLikeText();
    const std::string fast = DeflateAt(text, false, Z_BEST_SPEED);
    const std::string normal = DeflateAt(text, false, 6);
    ASSERT_NE(fast, normal);
    EXPECT_FALSE(CFastDeflateScope::IsOpen());
    EXPECT_EQ(DeflateAt(text, true, Z_DEFAULT_COMPRESSION), normal);
    {
        CFastDeflateScope outer;
        { CFastDeflateScope inner; }
        EXPECT_TRUE(CFastDeflateScope::IsOpen());
        EXPECT_EQ(DeflateAt(text, true, Z_DEFAULT_COMPRESSION), fast);
        EXPECT_EQ(DeflateAt(text, true, 9), fast);
        // Stored blocks stay stored: a caller asking for no compression means it.
        EXPECT_EQ(DeflateAt(text, true, Z_NO_COMPRESSION), DeflateAt(text, false, Z_NO_COMPRESSION));
    }
    EXPECT_FALSE(CFastDeflateScope::IsOpen());
    EXPECT_EQ(DeflateAt(text, true, 9), DeflateAt(text, false, 9));
}

TEST(FastDeflate, APrintedPageIsDeflatedFastAndTheLevelComesBackAfterTheJob) {
    ResetProgramState();
    const CPrinterSettings saved = AfxGetPrinterSettings();
    const std::string dir = MakeTempDir("fast_deflate");
    for (const bool abort : {false, true}) {
        CPrinterSettings settings;
        settings.outputFile = dir + (abort ? "/aborted.pdf" : "/page.pdf");
        CPrinterDC dc;
        ASSERT_TRUE(dc.CreatePrinterDC(settings));
        ASSERT_GT(dc.StartDoc("lines"), 0);
        EXPECT_TRUE(CFastDeflateScope::IsOpen());
        ASSERT_GT(dc.StartPage(), 0);
        for (int i = 0; i < 2000; ++i) {
            dc.MoveTo(i * 7 % 3000, i * 13 % 2000);
            dc.LineTo(i * 11 % 3000 + 5, i * 17 % 2000 + 9);
        }
        dc.EndPage();
        if (abort) {
            dc.AbortDoc();
            EXPECT_FALSE(CFastDeflateScope::IsOpen());
            continue;
        }
        dc.EndDoc();
        EXPECT_FALSE(CFastDeflateScope::IsOpen());
        std::string stored, content;
        ASSERT_TRUE(FirstStream(settings.outputFile, stored, content));
        EXPECT_NE(content.find(" l\n"), std::string::npos);
        EXPECT_EQ(stored, DeflateAt(content, false, Z_BEST_SPEED));
    }
    AfxGetPrinterSettings() = saved;
}
