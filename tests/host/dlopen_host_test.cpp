// A host as the editor is one: it loads the plug-in at run time, resolves the
// seven functions by their plain names and calls each. The surface it lends is
// made through the library's exported surface classes.

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <string>

#include "vitalchart/surface/recording_dc.h"

namespace {

using vitalchart::BOOL;
using vitalchart::CDC;

using GetCountFn = int (*)();
using GetNamesFn = BOOL (*)(char**);
using GetSizeFn = float (*)();
using GetSizeByTempletFn = BOOL (*)(float*, float*, const char*);
using DrawPluginFn = void (*)(CDC*, int, int, int, int, int, int, int, int, const char*, const char*, int, const char*,
                              BOOL);
using DblClkFn = void (*)(int, int, int);

class HostTest : public testing::Test {
protected:
    void SetUp() override {
        m_pModule = ::dlopen(VITALCHART_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(m_pModule, nullptr) << ::dlerror();
    }
    void TearDown() override {
        if (m_pModule != nullptr) ::dlclose(m_pModule);
    }
    template <typename Fn>
    Fn Resolve(const char* pszName) {
        void* p = ::dlsym(m_pModule, pszName);
        EXPECT_NE(p, nullptr) << pszName;
        return reinterpret_cast<Fn>(p);
    }
    void* m_pModule = nullptr;
};

TEST_F(HostTest, CallsEveryExportByItsPlainName) {
    auto getCount = Resolve<GetCountFn>("GetPluginFunctionCount");
    auto getNames = Resolve<GetNamesFn>("GetPluginFunctionNames");
    auto getWidth = Resolve<GetSizeFn>("GetPluginWidth");
    auto getHeight = Resolve<GetSizeFn>("GetPluginHeight");
    auto getSize = Resolve<GetSizeByTempletFn>("GetPluginSizeByTemplet");
    auto draw = Resolve<DrawPluginFn>("DrawPlugin");
    auto dblClk = Resolve<DblClkFn>("cmdLButtonDblClk");
    ASSERT_TRUE(getCount && getNames && getWidth && getHeight && getSize && draw && dblClk);

    EXPECT_EQ(getCount(), 2);
    char* names[3] = {nullptr, nullptr, nullptr};
    EXPECT_EQ(getNames(names), 1);
    EXPECT_STREQ(names[0], "DisplayDialog");
    EXPECT_STREQ(names[1], "DisplayDialog2");
    EXPECT_EQ(names[2], nullptr);
    EXPECT_EQ(getNames(nullptr), 0);
    EXPECT_EQ(getWidth(), 167.0f);
    EXPECT_EQ(getHeight(), 213.0f);

    char szPath[] = "/tmp/vitalchart-host-XXXXXX";
    int fd = ::mkstemp(szPath);
    ASSERT_GE(fd, 0);
    ::close(fd);
    std::string strPath = szPath;
    {
        std::ofstream out(strPath, std::ios::binary);
        out << "<vitalsize width=\"150.5\" height=\"200\"/>\n"
               "<vitalpen id=\"p\" pen-width=\"1\" color=\"0,0,255\"/>\n"
               "<vitalline left=\"+0\" top=\"+0\" right=\"+10\" bottom=\"+0\" pen-id=\"p\"/>\n";
    }
    float fWidth = 0, fHeight = 0;
    EXPECT_EQ(getSize(&fWidth, &fHeight, strPath.c_str()), 1);
    EXPECT_EQ(fWidth, 150.5f);
    EXPECT_EQ(fHeight, 200.0f);

    vitalchart::CRecordingDC dc;
    draw(&dc, 10, 20, 500, 400, 96, 96, 96, 96, strPath.c_str(), "", 0, "", 0);
    EXPECT_NE(dc.GetTrace().find("pen 0 1 #0000ff\nmoveto 20 10\nlineto 58 10\n"), std::string::npos) << dc.GetTrace();

    std::string before = dc.GetTrace();
    dblClk(1, 2, 3);
    dblClk(-1, 0, 0x7FFFFFFF);
    EXPECT_EQ(dc.GetTrace(), before);
    std::remove(strPath.c_str());
}

TEST_F(HostTest, ExportsExactlyTheSevenPlainNames) {
    std::string strCommand = std::string("nm -D --defined-only ") + VITALCHART_LIBRARY + " 2>/dev/null";
    FILE* pipe = ::popen(strCommand.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::set<std::string> plain;
    char line[4096];
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
        std::string s(line);
        std::size_t nSpace = s.rfind(' ');
        if (nSpace == std::string::npos || nSpace < 2) continue;
        char kind = s[nSpace - 1];
        std::string name = s.substr(nSpace + 1);
        while (!name.empty() && (name.back() == '\n' || name.back() == '\r')) name.pop_back();
        // C++ surface classes carry mangled names; anything else is the C interface.
        if ((kind == 'T' || kind == 'W') && name.compare(0, 2, "_Z") != 0 && name.find('@') == std::string::npos &&
            name.compare(0, 1, "_") != 0) {
            plain.insert(name);
        }
    }
    ::pclose(pipe);
    std::set<std::string> expected = {"GetPluginFunctionCount", "GetPluginFunctionNames", "GetPluginWidth",
                                      "GetPluginHeight",        "GetPluginSizeByTemplet", "DrawPlugin",
                                      "cmdLButtonDblClk"};
    EXPECT_EQ(plain, expected);
}

}  // namespace
