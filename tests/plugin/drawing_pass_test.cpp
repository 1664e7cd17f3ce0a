#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

#include "support/host_state.h"
#include "support/trace_fixture.h"
#include "vitalchart/plugin.h"
#include "vitalchart/surface/recording_dc.h"

namespace vitalchart {
namespace {

using test::GrepTrace;
using test::RenderTrace;
using test::TempFile;
using test::TraceRun;

const char kBusyTemplate[] =
    "<vitalpen id=\"p\" pen-width=\"3\" color=\"255,0,0\"/>\n"
    "<vitalfont id=\"f\" font-name=\"Other\" font-size=\"12\" text-color=\"0,255,0\"/>\n"
    "<vitalline left=\"1\" top=\"1\" right=\"2\" bottom=\"2\" pen-id=\"p\"/>\n"
    "<vitaltextout name=\"R\" x=\"0\" y=\"0\" cx=\"10\" cy=\"10\" font-id=\"f\"/>\n";

TEST(DrawingPassTest, SavesAndRestoresTheHostsPenFontBackgroundAndTextColour) {
    TempFile templ(kBusyTemplate);
    CRecordingDC dc;
    test::CHostState host;
    host.Apply(dc);
    std::string strData = "<d vitalsigns=\"R\" vitalsignsvalues=\"x\"/>";
    DrawPlugin(&dc, 0, 0, 100, 100, 96, 96, 96, 96, templ.Path().c_str(), strData.data(),
               static_cast<int>(strData.size()), "", 0);
    EXPECT_EQ(host.WhatIsNotRestored(dc), "");
    // The restore runs in a fixed order at the end of the trace.
    const std::string& trace = dc.GetTrace();
    const std::string kTail = "pen 3 1 #010203\nbkmode 2\nfont \"HostFace\" -13 500 0 0\ntextcolor #070809\n";
    ASSERT_GE(trace.size(), kTail.size());
    EXPECT_EQ(trace.substr(trace.size() - kTail.size()), kTail);
}

TEST(DrawingPassTest, FillsBlackOnScreenOnlyWhenAsked) {
    struct Row {
        BOOL bPrinting, bFill;
        std::string fill;
    } rows[] = {
        {0, 1, "fillrect 20 10 40 30 #000000\n"},
        {0, 0, ""},
        {1, 1, ""},
        {1, 0, ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "printing " << r.bPrinting << " fill " << r.bFill);
        TraceRun run;
        run.strTemplate = "";
        run.nTop = 10;
        run.nLeft = 20;
        run.nBottom = 30;
        run.nRight = 40;
        run.bPrinting = r.bPrinting;
        run.bFillBackground = r.bFill;
        std::string trace = RenderTrace(run);
        EXPECT_EQ(GrepTrace(trace, "fillrect"), r.fill);
        // An empty template still saves and restores around the fill.
        EXPECT_EQ(trace.substr(0, 8), "bkmode 1");
    }
}

TEST(DrawingPassTest, MissingTemplateIsReportedOnThePage) {
    CRecordingDC dc;
    const char* kMissing = "/nonexistent/chart.xml";
    DrawPlugin(&dc, 100, 50, 200, 300, 96, 96, 96, 96, kMissing, "", 0, "", 1);
    // Nothing else happens: no state change, no fill.
    EXPECT_EQ(dc.GetTrace(), "textout 50 100 \"/nonexistent/chart.xml not found!\"\n");
    EXPECT_EQ(dc.GetBkMode(), OPAQUE);

    CRecordingDC trimmed;
    DrawPlugin(&trimmed, 0, 0, 10, 10, 96, 96, 96, 96, "  /nonexistent/x.xml \t", "", 0, "", 0);
    EXPECT_EQ(trimmed.GetTrace(), "textout 0 0 \"/nonexistent/x.xml not found!\"\n");
}

TEST(DrawingPassTest, BlankPathMeansTheDefaultTemplateInTheCurrentFolder) {
    char cwd[4096];
    ASSERT_NE(::getcwd(cwd, sizeof cwd), nullptr);
    std::string strDir = std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") + "/vitalchart-cwd-XXXXXX";
    ASSERT_NE(::mkdtemp(&strDir[0]), nullptr);
    ASSERT_EQ(::chdir(strDir.c_str()), 0);
    for (const char* path : {"", "   ", static_cast<const char*>(nullptr)}) {
        CRecordingDC dc;
        DrawPlugin(&dc, 0, 0, 10, 10, 96, 96, 96, 96, path, "", 0, nullptr, 0);
        EXPECT_EQ(dc.GetTrace(), "textout 0 0 \"vitalsign.xml not found!\"\n");
    }
    {
        FILE* f = std::fopen("vitalsign.xml", "wb");
        ASSERT_NE(f, nullptr);
        std::fputs("<vitalline left=\"0\" top=\"0\" right=\"1\" bottom=\"1\"/>\n", f);
        std::fclose(f);
        CRecordingDC dc;
        DrawPlugin(&dc, 0, 0, 10, 10, 96, 96, 96, 96, " ", "", 0, "", 0);
        EXPECT_EQ(GrepTrace(dc.GetTrace(), "lineto"), "lineto 4 4\n");
        float w = -1, h = -1;
        EXPECT_EQ(GetPluginSizeByTemplet(&w, &h, nullptr), 0);
        std::remove("vitalsign.xml");
    }
    ASSERT_EQ(::chdir(cwd), 0);
    ::rmdir(strDir.c_str());
}

TEST(DrawingPassTest, NullSurfaceDrawsNothingAndCallerTextChangesNothing) {
    TempFile templ(kBusyTemplate);
    DrawPlugin(nullptr, 0, 0, 10, 10, 96, 96, 96, 96, templ.Path().c_str(), "<d/>", 4, "x", 1);
    CRecordingDC a;
    CRecordingDC b;
    DrawPlugin(&a, 0, 0, 10, 10, 96, 96, 96, 96, templ.Path().c_str(), "", 0, "one", 0);
    DrawPlugin(&b, 0, 0, 10, 10, 96, 96, 96, 96, templ.Path().c_str(), "", 0, "two", 0);
    EXPECT_EQ(a.GetTrace(), b.GetTrace());
}

TEST(SizeQueryTest, FirstVitalsizeOnItsOwnLine) {
    struct Row {
        const char* name;
        std::string strTemplate;
        BOOL found;
        float width, height;
    } rows[] = {
        {"plain", "<vitalsize width=\"167\" height=\"213\"/>\n", 1, 167.0f, 213.0f},
        {"width only", "<vitalsize width=\"100\"/>\n", 1, 100.0f, 0.0f},
        {"units after the number", "<vitalsize width=\"12.5mm\" height=\"abc\"/>\n", 1, 12.5f, 0.0f},
        {"first of two", "<vitalsize width=\"1\"/>\n<vitalsize width=\"2\" height=\"3\"/>\n", 1, 1.0f, 0.0f},
        {"after another tag on its line", "<vitalpen/><vitalsize width=\"1\"/>\n", 0, 0.0f, 0.0f},
        {"none", "<vitalpen id=\"a\" pen-width=\"1\"/>\n", 0, 0.0f, 0.0f},
        {"empty", "", 0, 0.0f, 0.0f},
        {"case counts", "<VitalSize width=\"1\"/>\n", 0, 0.0f, 0.0f},
        {"after the root line", "<vitalsign>\r\n<vitalsize width=\"5\" height=\"6\"/>\r\n", 1, 5.0f, 6.0f},
        {"beyond float", "<vitalsize width=\"1e300\" height=\"-1e300\"/>\n", 1, HUGE_VALF, -HUGE_VALF},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        TempFile templ(r.strTemplate);
        float w = -1, h = -1;
        EXPECT_EQ(GetPluginSizeByTemplet(&w, &h, templ.Path().c_str()), r.found);
        EXPECT_EQ(w, r.width);
        EXPECT_EQ(h, r.height);
    }
    float w = -1, h = -1;
    EXPECT_EQ(GetPluginSizeByTemplet(&w, &h, "/nonexistent/t.xml"), 0);
    EXPECT_EQ(w, 0.0f);
    EXPECT_EQ(h, 0.0f);
}

}  // namespace
}  // namespace vitalchart

namespace vitalchart {
namespace {

// A surface that runs out of memory at its first line.
class COutOfMemoryDC : public CRecordingDC {
public:
    void LineTo(int, int) override { throw std::bad_alloc(); }
};

TEST(DrawingPassTest, RunningOutOfMemoryNeverReachesTheHostAndRestoresItsState) {
    TempFile templ(kBusyTemplate);
    COutOfMemoryDC dc;
    test::CHostState host;
    host.Apply(dc);
    EXPECT_NO_THROW(DrawPlugin(&dc, 0, 0, 100, 100, 96, 96, 96, 96, templ.Path().c_str(), "", 0, "", 0));
    EXPECT_EQ(host.WhatIsNotRestored(dc), "");
}

}  // namespace
}  // namespace vitalchart

namespace vitalchart {
namespace {

TEST(DrawingPassTest, AUtf8ByteOrderMarkIsSkippedOnlyInUtf8) {
    // Editors put EF BB BF before text saved as UTF-8: it used to make the
    // first line unreadable, losing the data text's first reading.
    const std::string kBom = "\xEF\xBB\xBF";
    TraceRun run;
    run.strTemplate =
        "<vitalsize width=\"50\" height=\"40\"/>\n"
        "<vitaltextout name=\"N\" x=\"0\" y=\"0\" cx=\"10\" cy=\"5\"/>\n";
    run.strData = "<d vitalsigns=\"N\" vitalsignsvalues=\"first\" cellindex=\"0\"/>\n";
    for (UINT nCodePage : {CP_UTF8, CP_GBK}) {
        SCOPED_TRACE(nCodePage);
        run.nCodePage = nCodePage;
        TraceRun marked = run;
        marked.strTemplate = kBom + run.strTemplate;
        marked.strData = kBom + run.strData;
        const bool bSame = RenderTrace(marked) == RenderTrace(run);
        EXPECT_EQ(bSame, nCodePage == CP_UTF8);
    }
    // The size query has no surface and reads the template as UTF-8.
    TempFile file(kBom + run.strTemplate);
    float fWidth = 0.0f;
    float fHeight = 0.0f;
    EXPECT_EQ(GetPluginSizeByTemplet(&fWidth, &fHeight, file.Path().c_str()), 1);
    EXPECT_EQ(fWidth, 50.0f);
}

}  // namespace
}  // namespace vitalchart
