// Threads that draw one after another: a thread that has ended leaves its
// font map to the next thread, unless a surface made on it still holds the
// map. Every thread draws the same chart either way.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "support/file_text.h"
#include "vitalchart/plugin.h"
#include "vitalchart/surface/cairo_dc.h"

namespace vitalchart {
namespace {

std::vector<unsigned char> DrawExamplePng() {
    auto dc = CCairoDC::CreatePng(631, 805);
    const std::string strData = test::ReadFileText(std::string(VITALCHART_EXAMPLES) + "/week.data");
    DrawPlugin(dc.get(), 0, 0, 805, 631, 96, 96, 96, 96, (std::string(VITALCHART_EXAMPLES) + "/vitalsign.xml").c_str(),
               strData.data(), static_cast<int>(strData.size()), "", 0);
    std::vector<unsigned char> arrBytes;
    EXPECT_TRUE(dc->EncodePng(arrBytes, 0)) << dc->GetError();
    return arrBytes;
}

TEST(FontMapTest, ThreadsOneAfterAnotherDrawTheSameChart) {
    std::vector<unsigned char> first;
    std::vector<unsigned char> handedOver;
    std::vector<unsigned char> madeAnew;
    std::thread([&] { first = DrawExamplePng(); }).join();
    std::thread([&] { handedOver = DrawExamplePng(); }).join();
    // This thread's map stays with its surface, so the next thread makes its own.
    std::unique_ptr<CCairoDC> pKept;
    std::thread([&] { pKept = CCairoDC::CreatePng(8, 8); }).join();
    std::thread([&] { madeAnew = DrawExamplePng(); }).join();
    pKept.reset();
    ASSERT_FALSE(first.empty());
    EXPECT_TRUE(handedOver == first);
    EXPECT_TRUE(madeAnew == first);
}

}  // namespace
}  // namespace vitalchart
