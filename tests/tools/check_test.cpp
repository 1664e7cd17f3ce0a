// `vitalchart check` run as a user runs it.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "tools/command_fixture.h"

namespace {

using Outcome = vitalchart::test::CommandResult;
using vitalchart::test::ReadFileText;

class CheckCommandTest : public vitalchart::test::CommandTest {
protected:
    Outcome Check(const std::string& strArgs) { return Run("check " + strArgs); }
};

// A strict reader of one JSON value: true when the whole text is one valid
// value, its strings well-formed UTF-8 without raw control bytes.
class JsonReader {
public:
    explicit JsonReader(const std::string& s) : m_s(s) {}
    bool ReadDocument() { return Value() && (Blanks(), m_i == m_s.size()); }

private:
    void Blanks() {
        while (m_i < m_s.size() && (m_s[m_i] == ' ' || m_s[m_i] == '\n' || m_s[m_i] == '\r' || m_s[m_i] == '\t')) ++m_i;
    }
    bool Eat(char c) {
        Blanks();
        if (m_i < m_s.size() && m_s[m_i] == c) return ++m_i, true;
        return false;
    }
    bool Value() {
        Blanks();
        if (m_i >= m_s.size()) return false;
        const char c = m_s[m_i];
        if (c == '{') return Members('}', true);
        if (c == '[') return Members(']', false);
        if (c == '"') return String();
        const std::size_t nStart = m_i;
        while (m_i < m_s.size() && (std::isdigit(static_cast<unsigned char>(m_s[m_i])) || m_s[m_i] == '-')) ++m_i;
        return m_i > nStart;
    }
    bool Members(char cClose, bool bObject) {
        ++m_i;
        if (Eat(cClose)) return true;
        do {
            if (bObject && !(Blanks(), String() && Eat(':'))) return false;
            if (!Value()) return false;
        } while (Eat(','));
        return Eat(cClose);
    }
    bool String() {
        if (m_i >= m_s.size() || m_s[m_i] != '"') return false;
        for (++m_i; m_i < m_s.size();) {
            const unsigned char c = static_cast<unsigned char>(m_s[m_i]);
            if (c == '"') return ++m_i, true;
            if (c < 0x20) return false;
            if (c == '\\') {
                if (m_i + 1 >= m_s.size()) return false;
                const char e = m_s[m_i + 1];
                if (e == 'u') {
                    if (m_i + 6 > m_s.size()) return false;
                    for (std::size_t k = m_i + 2; k < m_i + 6; ++k) {
                        if (!std::isxdigit(static_cast<unsigned char>(m_s[k]))) return false;
                    }
                    m_i += 6;
                } else if (std::string("\"\\/bfnrt").find(e) != std::string::npos) {
                    m_i += 2;
                } else {
                    return false;
                }
                continue;
            }
            std::size_t n = c < 0x80                   ? 1
                            : (c >= 0xC2 && c <= 0xDF) ? 2
                            : (c >= 0xE0 && c <= 0xEF) ? 3
                            : (c >= 0xF0 && c <= 0xF4) ? 4
                                                       : 0;
            if (n == 0 || m_i + n > m_s.size()) return false;
            for (std::size_t k = 1; k < n; ++k) {
                if ((static_cast<unsigned char>(m_s[m_i + k]) & 0xC0) != 0x80) return false;
            }
            m_i += n;
        }
        return false;
    }

    const std::string& m_s;
    std::size_t m_i = 0;
};

const char kTemplate[] =
    "<vitalsize width=\"167\" height=\"213\"/>\n"
    " <vitalline left=\"+1\" top=\"+1\" right=\"+9\" bottom=\"+9\"/>\n"
    "<vitalfont id=\"f\" font-name=\"Serif\" font-size=\"12px\"/>\n"
    "<VitalPen id=\"p\" pen-width=\"1\"/>\n"
    "<vitallineout name=\"T\" x=\"+1\" y=\"+50\" cx=\"3\" cy=\"10\" scale=\"1\" base-value=\"35\" symbol=\"2\"/>\n";

TEST_F(CheckCommandTest, BundledExampleChecksClean) {
    const std::string strExamples = VITALCHART_EXAMPLES;
    const Outcome r = Check("'" + strExamples + "/vitalsign.xml' --data '" + strExamples + "/week.data'");
    EXPECT_EQ(r.nExit, 0) << r.strOut << r.strErr;
    EXPECT_EQ(r.strOut, strExamples + "/vitalsign.xml, " + strExamples + "/week.data: 0 warnings, 0 notes\n");
    EXPECT_EQ(r.strErr, "");
}

TEST_F(CheckCommandTest, FindingsFollowTheCompilerConvention) {
    Write("t.xml", kTemplate);
    Write("w.data", "<d vitalsigns=\"T\" vitalsignsvalues=\"37\"/>\n<d vitalsigns=\"Tx\" vitalsignsvalues=\"37\"/>\n");
    const Outcome r = Check("t.xml --data w.data");
    EXPECT_EQ(r.nExit, 1) << r.strErr;
    EXPECT_EQ(r.strOut,
              "t.xml:2:2: warning: indented tag 'vitalline': a tag is read only from the first byte of its line, so "
              "this line is skipped [indented-tag]\n"
              "t.xml:3:48: note: '12px' in 'font-size' is read as 12 (a whole number); the rest is ignored [number]\n"
              "t.xml:4:1: warning: unknown element 'VitalPen' (did you mean 'vitalpen'?): the renderer skips the "
              "rest of the line [unknown-element]\n"
              "w.data:2:16: warning: no element of the template draws the vital sign 'Tx' [unused-reading]\n"
              "t.xml, w.data: 3 warnings, 1 note\n");
    const std::regex finding(R"(^[^:]+:[0-9]+:[0-9]+: (warning|note): .+ \[[a-z-]+\]$)");
    std::istringstream lines(r.strOut);
    int nFindings = 0;
    for (std::string line; std::getline(lines, line);) nFindings += std::regex_match(line, finding) ? 1 : 0;
    EXPECT_EQ(nFindings, 4);
}

TEST_F(CheckCommandTest, ExitCodeTellsWarningsFromNotes) {
    Write("notes.xml", "<vitalsize width=\"167mm\" height=\"213\"/>\n");
    Outcome r = Check("notes.xml");
    EXPECT_EQ(r.nExit, 0);
    EXPECT_EQ(r.strOut.substr(r.strOut.rfind("notes.xml: ")), "notes.xml: 0 warnings, 1 note\n");
    Write("warn.xml", "<vitalsize width=\"167\" height=\"213\"/>\n<vitalpen id=\"p\"/>\n");
    r = Check("warn.xml");
    EXPECT_EQ(r.nExit, 1);
    EXPECT_EQ(r.strOut.substr(r.strOut.rfind("warn.xml: ")), "warn.xml: 1 warning, 0 notes\n");
}

TEST_F(CheckCommandTest, UnreadableFilesAndBadOptionsExitTwo) {
    Write("t.xml", kTemplate);
    const struct {
        const char* pszArgs;
        const char* pszNamed;
    } rows[] = {
        {"missing.xml", "missing.xml"},
        {"t.xml --data missing.data", "missing.data"},
        {"t.xml --format png", "png"},
        {"t.xml --format", "--format"},
        {"t.xml -o out.png", "--data, --format, --encoding and --disable"},
        {"t.xml --disable indented-tag,nope", "no check is named 'nope'"},
        {"", "template"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.pszArgs);
        const Outcome r = Check(row.pszArgs);
        EXPECT_EQ(r.nExit, 2);
        EXPECT_EQ(r.strOut, "");
        EXPECT_NE(r.strErr.find(row.pszNamed), std::string::npos) << r.strErr;
    }
}

TEST_F(CheckCommandTest, DisableLeavesOutTheNamedChecks) {
    Write("t.xml", kTemplate);
    for (const char* pszDisable : {"--disable indented-tag,unknown-element",
                                   "--disable unknown-element "
                                   "--disable=indented-tag"}) {
        SCOPED_TRACE(pszDisable);
        const Outcome r = Check(std::string("t.xml ") + pszDisable);
        EXPECT_EQ(r.nExit, 0) << r.strOut;
        EXPECT_EQ(r.strOut.substr(r.strOut.rfind("t.xml: ")), "t.xml: 0 warnings, 1 note, 2 silenced\n");
    }
}

TEST_F(CheckCommandTest, JsonIsValidWhateverTheBytes) {
    // Control bytes, quotes, backslashes and bytes that are not UTF-8, in names the messages quote.
    Write("odd.xml", std::string("<vital\x01pen\"\\\xff\xfe id=\"p\"/>\n<vitalline le\xc3\xa9"
                                 "ft=\"+1\"/>\n") +
                         "<vitaltext text=\"\xe4\xbd\x93;\x02\" left=\"+1\"/>\n");
    Write("odd.data", std::string("<d vitalsigns=\"\xb7\xd6\x07\" cellindex=\"\\x\"/>\n"));
    const Outcome text = Check("odd.xml --data odd.data --encoding utf-8");
    const Outcome json = Check("odd.xml --data odd.data --encoding utf-8 --format json");
    EXPECT_EQ(json.nExit, 1);
    EXPECT_EQ(json.nExit, text.nExit);
    EXPECT_TRUE(JsonReader(json.strOut).ReadDocument()) << json.strOut;
    EXPECT_EQ(json.strOut.rfind("{\n  \"files\": [\"odd.xml\", \"odd.data\"],\n  \"findings\": [\n    {\"file\": ", 0),
              0u)
        << json.strOut;
    // As many findings as text lines before the summary, and the same counts.
    std::size_t nLines = 0;
    for (char c : text.strOut) nLines += c == '\n' ? 1 : 0;
    std::size_t nObjects = 0;
    for (std::size_t i = json.strOut.find("{\"file\""); i != std::string::npos;
         i = json.strOut.find("{\"file\"", i + 1)) {
        ++nObjects;
    }
    EXPECT_EQ(nObjects, nLines - 1);
    const std::string strSummary = text.strOut.substr(text.strOut.rfind("odd.xml, odd.data: "));
    std::smatch counts;
    ASSERT_TRUE(std::regex_search(strSummary, counts, std::regex("([0-9]+) warnings?, ([0-9]+) notes?")));
    EXPECT_NE(json.strOut.find("\"warnings\": " + counts[1].str() + ",\n  \"notes\": " + counts[2].str() +
                               ",\n  \"silenced\": 0\n}"),
              std::string::npos)
        << json.strOut;
}

TEST_F(CheckCommandTest, CleanJsonHasNoFindings) {
    Write("t.xml", "<vitalsize width=\"167\" height=\"213\"/>\n");
    const Outcome r = Check("t.xml --format json");
    EXPECT_EQ(r.nExit, 0);
    EXPECT_EQ(r.strOut,
              "{\n  \"files\": [\"t.xml\"],\n  \"findings\": [],\n  \"warnings\": 0,\n  \"notes\": 0,\n  \"silenced\": "
              "0\n}\n");
}

}  // namespace
