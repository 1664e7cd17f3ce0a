// The service's web page in headless Chromium: loaded from the server, the
// bundled week dropped on it as a file, the chart shown inline as SVG, and a
// screenshot of it kept beside the test's output.

#include <gtest/gtest.h>

#include <fstream>

#include "tools/serve/devtools_pipe.h"
#include "tools/serve/serve_process.h"

namespace vitalchart {
namespace test {
namespace {

const std::string kExamples = VITALCHART_EXAMPLES;
const char* const kBrowser = "/usr/bin/chromium";

std::string DecodeBase64(const std::string& strText) {
    static const std::string kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string strBytes;
    unsigned nBits = 0;
    int nCount = 0;
    for (char c : strText) {
        const std::size_t n = kAlphabet.find(c);
        if (n == std::string::npos) continue;  // padding
        nBits = (nBits << 6) | static_cast<unsigned>(n);
        nCount += 6;
        if (nCount >= 8) {
            nCount -= 8;
            strBytes += static_cast<char>((nBits >> nCount) & 0xFF);
        }
    }
    return strBytes;
}

TEST(WebPageTest, DroppingTheBundledWeekShowsTheChart) {
    if (::access(kBrowser, X_OK) != 0) GTEST_SKIP() << kBrowser << " is not installed (scripts/setup.sh installs it)";
    CServeProcess server({"--templates", kExamples, "--workers", "2"});
    ASSERT_TRUE(server.IsRunning());

    char szProfile[] = "/tmp/vitalchart-browser-XXXXXX";
    ASSERT_NE(::mkdtemp(szProfile), nullptr);
    {
        CDevToolsPipe browser;
        if (!browser.Start(kBrowser, szProfile)) {
            std::system(("rm -rf '" + std::string(szProfile) + "'").c_str());
            GTEST_SKIP() << "headless Chromium does not start in this sandbox";
        }
        const auto target = browser.Call("Target.createTarget", {{"url", "about:blank"}});
        ASSERT_TRUE(target.is_object());
        const auto attached =
            browser.Call("Target.attachToTarget", {{"targetId", target["targetId"]}, {"flatten", true}});
        ASSERT_TRUE(attached.is_object());
        const std::string strSession = attached["sessionId"];
        ASSERT_TRUE(browser.Call("Page.navigate", {{"url", server.Url() + "/"}}, strSession).is_object());
        ASSERT_TRUE(browser.WaitFor(strSession, "document.body && document.body.dataset.ready === 'true'", 30));
        EXPECT_EQ(browser.Evaluate(strSession, "document.querySelectorAll('#template option').length"), 4);
        browser.Evaluate(strSession, "document.getElementById('template').value = 'vitalsign'");

        // The week, as a person choosing the file would hand it over.
        const auto document = browser.Call("DOM.getDocument", nlohmann::json::object(), strSession);
        ASSERT_TRUE(document.is_object());
        const auto input = browser.Call("DOM.querySelector",
                                        {{"nodeId", document["root"]["nodeId"]}, {"selector", "#file"}}, strSession);
        ASSERT_TRUE(input.is_object());
        ASSERT_TRUE(browser
                        .Call("DOM.setFileInputFiles",
                              {{"nodeId", input["nodeId"]}, {"files", {kExamples + "/week.data"}}}, strSession)
                        .is_object());

        ASSERT_TRUE(browser.WaitFor(strSession, "document.querySelector('#chart svg') !== null", 60))
            << browser.Evaluate(strSession, "document.getElementById('status').textContent").dump();
        // The whole sheet is there: its outline in points, and thousands of strokes and glyphs.
        EXPECT_EQ(browser.Evaluate(strSession, "document.querySelector('#chart svg').getAttribute('width')"),
                  "473.25pt");
        EXPECT_EQ(browser.Evaluate(strSession, "document.querySelectorAll('#chart svg path').length > 500"), true);
        EXPECT_EQ(browser.Evaluate(strSession, "document.getElementById('page-number').textContent"), "page 1 of 1");
        EXPECT_EQ(browser.Evaluate(strSession, "document.getElementById('status').className"), "");

        const auto shot = browser.Call("Page.captureScreenshot", {{"format", "png"}}, strSession);
        ASSERT_TRUE(shot.is_object());
        const std::string strPng = DecodeBase64(shot.value("data", ""));
        EXPECT_EQ(strPng.compare(0, 8, "\x89PNG\r\n\x1a\n"), 0);
        EXPECT_GT(strPng.size(), 20000u);
        std::ofstream(std::string(VITALCHART_TEST_OUTPUT) + "/web-page.png", std::ios::binary) << strPng;
        browser.Call("Browser.close", nlohmann::json::object(), "", 5);
    }
    std::system(("rm -rf '" + std::string(szProfile) + "'").c_str());
    EXPECT_EQ(server.Terminate(), 0);
}

}  // namespace
}  // namespace test
}  // namespace vitalchart
