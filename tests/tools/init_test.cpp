// vitalchart init: new templates that check clean and whose lines meet on
// whole device units at 96 and 600 units per inch.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "support/trace_parser.h"
#include "tools/command_fixture.h"
#include "tools/init/exact_millimetres.h"

namespace vitalchart {
namespace test {
namespace {

// A ruled line of a trace: horizontal or vertical, from its lower end to its higher.
struct Rule {
    bool bVertical;
    long nAt;  // its x (vertical) or y
    long nFrom;
    long nTo;
};

std::vector<Rule> Rules(const std::string& strTrace) {
    std::vector<Rule> rules;
    long x = 0;
    long y = 0;
    for (const TraceOp& op : ParseTrace(strTrace)) {
        if (op.strOp == "moveto") {
            x = op.arrNums[0];
            y = op.arrNums[1];
        } else if (op.strOp == "lineto") {
            const long x2 = op.arrNums[0];
            const long y2 = op.arrNums[1];
            EXPECT_TRUE(x == x2 || y == y2) << "a slanted rule from " << x << "," << y;
            rules.push_back(x == x2 ? Rule{true, x, std::min(y, y2), std::max(y, y2)}
                                    : Rule{false, y, std::min(x, x2), std::max(x, x2)});
            x = x2;
            y = y2;
        }
    }
    return rules;
}

// Each end of every rule lies on a rule across it: no rule stops a unit
// short of another or runs a unit past it.
void ExpectEveryEndMeetsARule(const std::vector<Rule>& rules) {
    for (const Rule& rule : rules) {
        for (long nEnd : {rule.nFrom, rule.nTo}) {
            const bool bMet = std::any_of(rules.begin(), rules.end(), [&](const Rule& other) {
                return other.bVertical != rule.bVertical && other.nAt == nEnd && other.nFrom <= rule.nAt &&
                       rule.nAt <= other.nTo;
            });
            EXPECT_TRUE(bMet) << (rule.bVertical ? "the vertical rule at x = " : "the horizontal rule at y = ")
                              << rule.nAt << " ends at " << nEnd << " on no rule across it";
        }
    }
}

using InitTest = CommandTest;

TEST_F(InitTest, ChartsCheckCleanAndTheirLinesMeetAt96And600Dpi) {
    for (const char* pszPaper : {"A4", "A3", "B5"}) {
        for (const char* pszTimes : {"2,6,10,14,18,22", "8,14,20"}) {
            SCOPED_TRACE(std::string(pszPaper) + " " + pszTimes);
            const CommandResult init = Run(std::string("init --paper ") + pszPaper + " --times " + pszTimes +
                                           " --scale temperature:35:42 --scale pulse:20:180 --scale heart-rate:20:180"
                                           " --rows respiration,blood-pressure,stools,weight,skin-test,pain -o c.xml");
            ASSERT_EQ(init.nExit, 0) << init.strErr;
            const CommandResult check = Run("check c.xml --data c.data");
            EXPECT_EQ(check.nExit, 0) << check.strOut;
            EXPECT_NE(check.strOut.find("0 warnings, 0 notes"), std::string::npos) << check.strOut;

            // The form alone: every line a rule of the form.
            const std::vector<Rule> at96 = Rules(Run("render c.xml --dpi 96").strOut);
            const std::vector<Rule> at600 = Rules(Run("render c.xml --dpi 600").strOut);
            ASSERT_GT(at96.size(), 100u);
            ASSERT_EQ(at600.size(), at96.size());
            ExpectEveryEndMeetsARule(at96);
            ExpectEveryEndMeetsARule(at600);
            // 25 units at 600 dpi for every 4 at 96: nothing rounded on the way.
            for (std::size_t i = 0; i < at96.size(); ++i) {
                EXPECT_EQ(at600[i].nAt * 4, at96[i].nAt * 25) << i;
                EXPECT_EQ(at600[i].nFrom * 4, at96[i].nFrom * 25) << i;
                EXPECT_EQ(at600[i].nTo * 4, at96[i].nTo * 25) << i;
            }
        }
    }
}

TEST_F(InitTest, ASingleDayOrTimePointDrawsNoFamilyOfOneCell) {
    for (const char* pszArgs : {"--days 1 --times 0 --paper 1000x1000", "--days 1 --times 0,1,2,3,4,5,6,7,8,9,10,11"}) {
        SCOPED_TRACE(pszArgs);
        ASSERT_EQ(Run(std::string("init -o c.xml ") + pszArgs).nExit, 0);
        const CommandResult check = Run("check c.xml --data c.data");
        EXPECT_EQ(check.nExit, 0) << check.strOut;
        ExpectEveryEndMeetsARule(Rules(Run("render c.xml --dpi 96").strOut));
    }
}

TEST_F(InitTest, WritesBothFilesInTheCodePageAskedForAndRefusesWhatCannotBeLaidOut) {
    const CommandResult gbk = Run("init --lang zh --encoding gbk --days 3 --rows '' -o g.xml");
    ASSERT_EQ(gbk.nExit, 0) << gbk.strErr;
    const std::string strTemplate = ReadFileText(m_strDir + "/g.xml");
    EXPECT_EQ(strTemplate.rfind("<?xml version=\"1.0\" encoding=\"GBK\"?>\n", 0), 0u);
    EXPECT_NE(strTemplate.find("\xcc\xe5\xce\xc2"), std::string::npos);  // 体温
    EXPECT_NE(ReadFileText(m_strDir + "/g.data").find("\xcc\xe5\xce\xc2"), std::string::npos);
    EXPECT_EQ(Run("check g.xml --data g.data").nExit, 0);

    struct Row {
        const char* pszArgs;
        const char* pszMessage;
    } rows[] = {
        {"--paper A5", "--paper wants A4, A3, B5 or WIDTHxHEIGHT"},
        {"--paper 40x300", "outside 50 to 1000 mm"},
        {"--times 6,2", "--times wants rising hours"},
        {"--scale temperature:42:35", "--scale temperature wants LOW below HIGH"},
        {"--scale pulse:20:180 --scale heart-rate:40:180", "give them the same range"},
        {"--rows respiration,respiration", "is no row, or is given twice"},
        {"--paper 100x300", "too narrow for 42 columns"},
        {"--paper 210x120", "too short"},
        {"--lang fr", "--lang wants zh or en"},
        {"", "init needs -o FILE"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.pszArgs);
        const bool bOutput = std::string(r.pszMessage) != "init needs -o FILE";
        const CommandResult result = Run(std::string("init ") + r.pszArgs + (bOutput ? " -o x.xml" : ""));
        EXPECT_EQ(result.nExit, 2);
        EXPECT_NE(result.strErr.find(r.pszMessage), std::string::npos) << result.strErr;
        EXPECT_EQ(ReadFileText(m_strDir + "/x.xml"), "");
    }
}

TEST(ExactMillimetresTest, EveryLengthHasAFigureTheRendererReadsAsIt) {
    for (int n = 0; n <= 4000; ++n) {
        const std::string str = cli::ExactMillimetres(n);
        ASSERT_FALSE(str.empty()) << n;
        EXPECT_EQ(cli::ReferenceUnitsOf(str), n) << str;
        EXPECT_EQ(cli::ReferenceUnitsOf("+" + str), n) << str;
    }
    // Whole millimetres where one reads right; never a tenth the float loses.
    const std::map<int, std::string> kKnown = {{12, "3.2"}, {16, "4.3"}, {38, "10"}, {60, "16"}, {72, "19"}};
    for (const auto& known : kKnown) EXPECT_EQ(cli::ExactMillimetres(known.first), known.second);
}

}  // namespace
}  // namespace test
}  // namespace vitalchart
