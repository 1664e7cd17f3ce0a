// The Windows test host: loads the plug-in DLL the way the editor does, calls
// its seven exports through stdcall function pointers, paints the bundled
// chart into memory device contexts through a host device-context object, and
// checks the pixels against the shapes the chart is made of. It also draws the
// chart on the recording surface of the core it is linked with and compares
// that trace with the one the Linux build wrote.
//
//   vitalchart_windows_host DLL EXAMPLES_DIR LINUX_TRACE OUT_DIR
//
// Prints one line per check and "N passed, N failed"; exits 1 on any failure.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/int_math.h"
#include "platform/mul_div.h"
#include "plugin/draw_plugin.h"
#include "render/chart_renderer.h"
#include "support/shape_log.h"
#include "vitalchart/surface/recording_dc.h"
// clang-format off
// Last: it brings windows.h.
#include "call_probe.h"
#include "page.h"
// clang-format on

namespace {

using vitalchart::CShapeLog;
using vitalchart::LoggedShape;

int g_nPassed = 0;
int g_nFailed = 0;

bool Check(bool bOk, const std::string& strName, const std::string& strDetail = std::string()) {
    if (bOk) {
        ++g_nPassed;
        std::printf("ok   %s%s%s%s\n", strName.c_str(), strDetail.empty() ? "" : " (", strDetail.c_str(),
                    strDetail.empty() ? "" : ")");
    } else {
        ++g_nFailed;
        std::printf("FAIL %s%s%s\n", strName.c_str(), strDetail.empty() ? "" : ": ", strDetail.c_str());
    }
    std::fflush(stdout);
    return bOk;
}

std::string Format(const char* pszFormat, long a = 0, long b = 0, long c = 0, long d = 0, long e = 0) {
    char buf[256];
    std::snprintf(buf, sizeof buf, pszFormat, a, b, c, d, e);
    return buf;
}

std::string Hex(COLORREF cr) {
    return Format("#%02lx%02lx%02lx", GetRValue(cr), GetGValue(cr), GetBValue(cr));
}

bool ReadFile(const std::string& strPath, std::string& rContents) {
    std::FILE* pFile = std::fopen(strPath.c_str(), "rb");
    if (pFile == nullptr) return false;
    rContents.clear();
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, pFile)) > 0) rContents.append(buf, n);
    bool bOk = !std::ferror(pFile);
    std::fclose(pFile);
    return bOk;
}

bool WriteFile(const std::string& strPath, const std::string& strContents) {
    std::FILE* pFile = std::fopen(strPath.c_str(), "wb");
    if (pFile == nullptr) return false;
    bool bOk = std::fwrite(strContents.data(), 1, strContents.size(), pFile) == strContents.size();
    return std::fclose(pFile) == 0 && bOk;
}

// UTF-8 text in the system's ANSI code page, as the editor hands text to the
// plug-in; false when a character has no place in that code page.
bool ToAnsiCodePage(const std::string& strUtf8, std::string& rAnsi) {
    if (strUtf8.empty()) {
        rAnsi.clear();
        return true;
    }
    const int nIn = static_cast<int>(strUtf8.size());
    int nWide = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, strUtf8.data(), nIn, nullptr, 0);
    if (nWide <= 0) return false;
    std::wstring wide(static_cast<std::size_t>(nWide), L'\0');
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, strUtf8.data(), nIn, &wide[0], nWide);
    BOOL bLossy = FALSE;
    int nOut = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), nWide, nullptr, 0, nullptr, &bLossy);
    if (nOut <= 0 || bLossy) return false;
    rAnsi.assign(static_cast<std::size_t>(nOut), '\0');
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), nWide, &rAnsi[0], nOut, nullptr, &bLossy);
    return !bLossy;
}

// ---- The plug-in's exports ------------------------------------------------

using PFN_GetPluginFunctionCount = int(__stdcall*)();
using PFN_GetPluginFunctionNames = int(__stdcall*)(char**);
using PFN_GetPluginSize = float(__stdcall*)();
using PFN_GetPluginSizeByTemplet = int(__stdcall*)(float*, float*, const char*);
using PFN_DrawPlugin = void(__stdcall*)(void*, int, int, int, int, int, int, int, int, const char*, const char*, int,
                                        const char*, int);
using PFN_cmdLButtonDblClk = void(__stdcall*)(int, int, int);

struct ExportInfo {
    const char* pszName;
    std::uint32_t nArgBytes;
};
constexpr ExportInfo kExports[] = {
    {"GetPluginFunctionCount", 0}, {"GetPluginFunctionNames", 4},  {"GetPluginWidth", 0},
    {"GetPluginHeight", 0},        {"GetPluginSizeByTemplet", 12}, {"DrawPlugin", 56},
    {"cmdLButtonDblClk", 12},
};

struct Plugin {
    HMODULE hModule = nullptr;
    PFN_GetPluginFunctionCount pfnCount = nullptr;
    PFN_GetPluginFunctionNames pfnNames = nullptr;
    PFN_GetPluginSize pfnWidth = nullptr;
    PFN_GetPluginSize pfnHeight = nullptr;
    PFN_GetPluginSizeByTemplet pfnSizeByTemplet = nullptr;
    PFN_DrawPlugin pfnDraw = nullptr;
    PFN_cmdLButtonDblClk pfnClick = nullptr;
};

template <typename Fn>
Fn Resolve(HMODULE hModule, const char* pszName) {
    FARPROC proc = ::GetProcAddress(hModule, pszName);
    Fn fn = nullptr;
    static_assert(sizeof fn == sizeof proc, "function pointers of one size");
    std::memcpy(&fn, &proc, sizeof fn);
    return fn;
}

std::uint32_t Arg(const void* p) {
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(p));
}
std::uint32_t Arg(int n) {
    return static_cast<std::uint32_t>(n);
}

// The device-context object of the host's application framework, as far as
// the plug-in may read it: a polymorphic object whose first members are the
// output handle, the attribute handle and the printing flag.
class CHostDC {
public:
    virtual ~CHostDC() = default;
    HDC m_hDC = nullptr;
    HDC m_hAttribDC = nullptr;
    BOOL m_bPrinting = FALSE;
};

// The pen, brush, font, modes and colours a host has selected before it
// lends its device context.
struct HostState {
    HPEN hPen;
    HBRUSH hBrush;
    HFONT hFont;
};
constexpr COLORREF kHostText = RGB(4, 5, 6);
constexpr COLORREF kHostBack = RGB(250, 251, 252);

HostState CreateHostState() {
    HostState state;
    state.hPen = ::CreatePen(PS_SOLID, 3, RGB(1, 2, 3));
    // White, so that the chart's hollow markers show the page through them.
    state.hBrush = ::CreateSolidBrush(RGB(255, 255, 255));
    LOGFONTA lf;
    std::memset(&lf, 0, sizeof lf);
    lf.lfHeight = -13;
    std::strcpy(lf.lfFaceName, "Arial");
    state.hFont = ::CreateFontIndirectA(&lf);
    return state;
}

void SelectHostState(HDC hDC, const HostState& state) {
    ::SelectObject(hDC, state.hPen);
    ::SelectObject(hDC, state.hBrush);
    ::SelectObject(hDC, state.hFont);
    ::SetBkMode(hDC, OPAQUE);
    ::SetTextColor(hDC, kHostText);
    ::SetBkColor(hDC, kHostBack);
}

HostState SelectHostState(HDC hDC) {
    HostState state = CreateHostState();
    SelectHostState(hDC, state);
    return state;
}

// What of the host's state the plug-in left changed; empty when nothing.
std::string HostStateChanges(HDC hDC, const HostState& state) {
    std::string strChanges;
    if (::GetCurrentObject(hDC, OBJ_PEN) != state.hPen) strChanges += " pen";
    if (::GetCurrentObject(hDC, OBJ_BRUSH) != state.hBrush) strChanges += " brush";
    if (::GetCurrentObject(hDC, OBJ_FONT) != state.hFont) strChanges += " font";
    if (::GetBkMode(hDC) != OPAQUE) strChanges += " background-mode";
    if (::GetTextColor(hDC) != kHostText) strChanges += " text-colour";
    if (::GetBkColor(hDC) != kHostBack) strChanges += " background-colour";
    return strChanges;
}

void DeselectHostState(HDC hDC) {
    ::SelectObject(hDC, ::GetStockObject(BLACK_PEN));
    ::SelectObject(hDC, ::GetStockObject(WHITE_BRUSH));
    ::SelectObject(hDC, ::GetStockObject(SYSTEM_FONT));
}

void ReleaseHostState(HDC hDC, const HostState& state) {
    DeselectHostState(hDC);
    ::DeleteObject(state.hPen);
    ::DeleteObject(state.hBrush);
    ::DeleteObject(state.hFont);
}

// ---- Exports and calling convention ---------------------------------------

bool TestExports(const std::string& strDll, Plugin& rPlugin) {
    // A path for LoadLibraryA takes backslashes.
    std::string strPath = strDll;
    std::replace(strPath.begin(), strPath.end(), '/', '\\');
    char szFull[MAX_PATH];
    DWORD nFull = ::GetFullPathNameA(strPath.c_str(), MAX_PATH, szFull, nullptr);
    if (nFull > 0 && nFull < MAX_PATH) strPath = szFull;
    rPlugin.hModule = ::LoadLibraryA(strPath.c_str());
    if (!Check(rPlugin.hModule != nullptr, "LoadLibraryA loads the plug-in",
               strPath + Format(" (error %ld)", static_cast<long>(::GetLastError())))) {
        return false;
    }
    std::string strMissing;
    std::string strDecorated;
    for (const ExportInfo& info : kExports) {
        if (::GetProcAddress(rPlugin.hModule, info.pszName) == nullptr) strMissing += std::string(" ") + info.pszName;
        const std::string strAt = std::string(info.pszName) + Format("@%ld", static_cast<long>(info.nArgBytes));
        for (const std::string& strName : {strAt, "_" + strAt, "_" + std::string(info.pszName)}) {
            if (::GetProcAddress(rPlugin.hModule, strName.c_str()) != nullptr) strDecorated += " " + strName;
        }
    }
    Check(strMissing.empty(), "the seven exports resolve by their plain names",
          strMissing.empty() ? "" : "missing" + strMissing);
    Check(strDecorated.empty(), "no decorated name is exported", strDecorated.empty() ? "" : "found" + strDecorated);

    rPlugin.pfnCount = Resolve<PFN_GetPluginFunctionCount>(rPlugin.hModule, "GetPluginFunctionCount");
    rPlugin.pfnNames = Resolve<PFN_GetPluginFunctionNames>(rPlugin.hModule, "GetPluginFunctionNames");
    rPlugin.pfnWidth = Resolve<PFN_GetPluginSize>(rPlugin.hModule, "GetPluginWidth");
    rPlugin.pfnHeight = Resolve<PFN_GetPluginSize>(rPlugin.hModule, "GetPluginHeight");
    rPlugin.pfnSizeByTemplet = Resolve<PFN_GetPluginSizeByTemplet>(rPlugin.hModule, "GetPluginSizeByTemplet");
    rPlugin.pfnDraw = Resolve<PFN_DrawPlugin>(rPlugin.hModule, "DrawPlugin");
    rPlugin.pfnClick = Resolve<PFN_cmdLButtonDblClk>(rPlugin.hModule, "cmdLButtonDblClk");
    return strMissing.empty();
}

void TestTypedCalls(const Plugin& plugin, const std::string& strTemplate) {
    Check(plugin.pfnCount() == 2, "GetPluginFunctionCount returns 2");
    char* names[2] = {nullptr, nullptr};
    int nNames = plugin.pfnNames(names);
    Check(nNames == 1 && names[0] != nullptr && names[1] != nullptr && std::strcmp(names[0], "DisplayDialog") == 0 &&
              std::strcmp(names[1], "DisplayDialog2") == 0,
          "GetPluginFunctionNames fills DisplayDialog, DisplayDialog2");
    Check(plugin.pfnNames(nullptr) == 0, "GetPluginFunctionNames of a null array returns 0");
    // The float comes back in the x87 register; a result left anywhere else
    // reads as garbage here.
    float fWidth = plugin.pfnWidth();
    float fHeight = plugin.pfnHeight();
    Check(fWidth == 167.0f && fHeight == 213.0f, "GetPluginWidth and GetPluginHeight return 167 and 213",
          Format("%ld x %ld", static_cast<long>(fWidth), static_cast<long>(fHeight)));
    float fW = -1.0f;
    float fH = -1.0f;
    int nFound = plugin.pfnSizeByTemplet(&fW, &fH, strTemplate.c_str());
    Check(nFound == 1 && fW == 167.0f && fH == 253.0f, "GetPluginSizeByTemplet reads the example's vitalsize");
    fW = fH = -1.0f;
    nFound = plugin.pfnSizeByTemplet(&fW, &fH, "no such template.xml");
    Check(nFound == 0 && fW == 0.0f && fH == 0.0f, "GetPluginSizeByTemplet of a missing file returns 0 and 0 x 0");
    plugin.pfnClick(1, 2, 3);
    Check(true, "cmdLButtonDblClk returns");
}

void TestCalleePops(const Plugin& plugin, const std::string& strTemplate) {
    const void* fns[] = {
        reinterpret_cast<const void*>(plugin.pfnCount),         reinterpret_cast<const void*>(plugin.pfnNames),
        reinterpret_cast<const void*>(plugin.pfnWidth),         reinterpret_cast<const void*>(plugin.pfnHeight),
        reinterpret_cast<const void*>(plugin.pfnSizeByTemplet), reinterpret_cast<const void*>(plugin.pfnDraw),
        reinterpret_cast<const void*>(plugin.pfnClick)};

    char* names[2] = {nullptr, nullptr};
    float fW = 0.0f;
    float fH = 0.0f;
    CPage page(200, 200);
    CHostDC host;
    host.m_hDC = page.GetDC();
    host.m_hAttribDC = page.GetDC();
    HostState state = SelectHostState(page.GetDC());
    const char* pszMissing = "missing.xml";
    const char* pszEmpty = "";

    for (std::size_t i = 0; i < sizeof kExports / sizeof kExports[0]; ++i) {
        std::vector<std::uint32_t> args;
        switch (i) {
            case 1:
                args = {Arg(names)};
                break;
            case 4:
                args = {Arg(&fW), Arg(&fH), Arg(strTemplate.c_str())};
                break;
            // The chart rectangle comes as top 100, left 50: the missing-template
            // message must start at x 50, y 100.
            case 5:
                args = {Arg(&host), Arg(100), Arg(50),         Arg(150),      Arg(190), Arg(96),       Arg(96),
                        Arg(96),    Arg(96),  Arg(pszMissing), Arg(pszEmpty), Arg(0),   Arg(pszEmpty), Arg(0)};
                break;
            case 6:
                args = {Arg(7), Arg(8), Arg(9)};
                break;
            default:
                break;
        }
        const bool bFloat = i == 2 || i == 3;
        ProbeResult result = ProbeCall(fns[i], args.data(), static_cast<std::uint32_t>(args.size()), bFloat);
        const ExportInfo& info = kExports[i];
        Check(result.nPopped == info.nArgBytes, std::string(info.pszName) + Format(" pops %ld bytes", info.nArgBytes),
              Format("popped %ld", static_cast<long>(result.nPopped)));
        switch (i) {
            case 0:
                Check(result.nEax == 2, "probe: GetPluginFunctionCount returns 2 in EAX");
                break;
            case 1:
                Check(result.nEax == 1 && names[1] != nullptr, "probe: GetPluginFunctionNames fills the slots");
                break;
            case 2:
                Check(result.fResult == 167.0f, "probe: GetPluginWidth returns 167 in ST(0)");
                break;
            case 3:
                Check(result.fResult == 213.0f, "probe: GetPluginHeight returns 213 in ST(0)");
                break;
            case 4:
                Check(result.nEax == 1 && fW == 167.0f && fH == 253.0f,
                      "probe: GetPluginSizeByTemplet writes 167 x 253");
                break;
            case 5: {
                RECT ink = page.InkBox(RECT{0, 0, 200, 200});
                Check(ink.right > ink.left && ink.left >= 50 && ink.left <= 53 && ink.top >= 100 && ink.top <= 104,
                      "probe: DrawPlugin writes the missing-template message at x 50, y 100",
                      Format("ink at %ld,%ld", ink.left, ink.top));
                std::string strChanges = HostStateChanges(page.GetDC(), state);
                Check(strChanges.empty(), "probe: a missing template leaves the host's state alone", strChanges);
                break;
            }
            default:
                break;
        }
    }
    ReleaseHostState(page.GetDC(), state);
}

// ---- The chart on a memory device context ---------------------------------

// One DrawPlugin call on a page, as the editor would make it.
struct Render {
    const char* pszName;
    bool bPrinting;
    bool bFill;
    bool bMono;    // the template with print colour off
    bool bResume;  // the data asks for continuation printing
    bool bAttrib;  // a separate attribute device context
};

constexpr int kMargin = 10;

struct ChartInputs {
    std::string strColourTemplate;  // paths of the template in the ANSI code page
    std::string strMonoTemplate;
    std::string strData;  // the data text in the ANSI code page
    RECT rect;            // the chart rectangle on the page
};

// Where the chart draws a template position: the renderer's own conversion.
int Position(const ChartInputs& in, const char* pszExpression, BOOL bVertical) {
    const vitalchart::RECT rcChart = {in.rect.left, in.rect.top, in.rect.right, in.rect.bottom};
    const vitalchart::CChartGeometry geometry(rcChart, {96, 96}, {96, 96});
    return geometry.EvalPosition(pszExpression, bVertical, CP_UTF8);
}

constexpr COLORREF kAnyColour = 0xFFFFFFFF;

// Whether a shape drawn from index nAfter on may have painted (x, y) in a
// colour other than crKept (kAnyColour: in any colour).
bool IsCovered(const std::vector<LoggedShape>& shapes, std::size_t nAfter, LONG x, LONG y,
               COLORREF crKept = kAnyColour) {
    for (std::size_t j = nAfter; j < shapes.size(); ++j) {
        const LoggedShape& s = shapes[j];
        const double fPen = 2.0 + std::max(s.nPenWidth, 1) / 2.0;
        if (s.nKind == LoggedShape::kLine) {
            if (s.crPen == crKept && s.nPenStyle == PS_SOLID) continue;
            // Distance from the point to the segment.
            const double dx = s.ptTo.x - s.ptFrom.x;
            const double dy = s.ptTo.y - s.ptFrom.y;
            const double fLength2 = dx * dx + dy * dy;
            double t = fLength2 > 0 ? ((x - s.ptFrom.x) * dx + (y - s.ptFrom.y) * dy) / fLength2 : 0.0;
            t = std::min(1.0, std::max(0.0, t));
            const double ex = s.ptFrom.x + t * dx - x;
            const double ey = s.ptFrom.y + t * dy - y;
            if (ex * ex + ey * ey <= fPen * fPen) return true;
            continue;
        }
        if (s.nKind != LoggedShape::kText && s.crPen == crKept && s.crBrush == crKept) continue;
        // Text on the real surface is measured by its font, not by the
        // recording metric: keep well clear of it.
        const LONG nMargin =
            s.nKind == LoggedShape::kText ? std::max<LONG>(8, s.box.bottom - s.box.top) : static_cast<LONG>(fPen);
        if (x >= s.box.left - nMargin && x < s.box.right + nMargin && y >= s.box.top - nMargin &&
            y < s.box.bottom + nMargin) {
            return true;
        }
    }
    return false;
}

// Points inside the straight solid lines of the chart, with the colour each
// was drawn in, where nothing drawn later lies near them.
struct Sample {
    LONG x;
    LONG y;
    COLORREF cr;
};

std::vector<Sample> LineSamples(const std::vector<LoggedShape>& shapes) {
    std::vector<Sample> samples;
    for (std::size_t i = 0; i < shapes.size(); ++i) {
        const LoggedShape& s = shapes[i];
        if (s.nKind != LoggedShape::kLine || s.nPenStyle != PS_SOLID) continue;
        const bool bHorizontal = s.ptFrom.y == s.ptTo.y;
        const bool bVertical = s.ptFrom.x == s.ptTo.x;
        if (bHorizontal == bVertical) continue;
        const LONG nLength = bHorizontal ? s.ptTo.x - s.ptFrom.x : s.ptTo.y - s.ptFrom.y;
        if (nLength > -6 && nLength < 6) continue;
        for (int k = 1; k <= 3; ++k) {
            LONG x = bHorizontal ? s.ptFrom.x + nLength * k / 4 : s.ptFrom.x;
            LONG y = bVertical ? s.ptFrom.y + nLength * k / 4 : s.ptFrom.y;
            if (!IsCovered(shapes, i + 1, x, y, s.crPen)) samples.push_back(Sample{x, y, s.crPen});
        }
    }
    return samples;
}

// Grid lines lie on their rows and columns in the colours of their pens.
void CheckLines(const CPage& page, const std::vector<LoggedShape>& shapes, const std::string& strRender) {
    std::vector<Sample> samples = LineSamples(shapes);
    std::set<COLORREF> colours;
    int nWrong = 0;
    std::string strFirst;
    for (const Sample& s : samples) {
        colours.insert(s.cr);
        COLORREF cr = page.Pixel(s.x, s.y);
        if (cr == s.cr) continue;
        if (nWrong++ == 0) strFirst = Format("(%ld,%ld) ", s.x, s.y) + Hex(cr) + " for " + Hex(s.cr);
    }
    Check(samples.size() >= 100 && nWrong == 0, strRender + ": lines on their rows and columns in their pens' colours",
          Format("%ld points", static_cast<long>(samples.size())) +
              (nWrong == 0 ? "" : Format(", %ld wrong, first ", nWrong) + strFirst));
    if (strRender.find("mono") == std::string::npos && strRender.find("continued") == std::string::npos) {
        Check(colours.size() >= 3, strRender + ": the lines come in several colours",
              Format("%ld colours", static_cast<long>(colours.size())));
    }
}

// Markers and curves: circles filled in their brush and outlined in their
// pen, slanted strokes (crosses, curve segments) and arrowheads in their pen.
void CheckMarkers(const CPage& page, const std::vector<LoggedShape>& shapes, const std::string& strRender,
                  bool bWantColours) {
    int nChecked = 0;
    int nWrong = 0;
    std::string strFirst;
    std::set<COLORREF> colours;
    // Whether the pen colour shows within a pixel or so of (x, y).
    auto PenNear = [&page](LONG x, LONG y, LONG dx, LONG dy, COLORREF cr) {
        for (LONG yy = y - dy; yy <= y + dy; ++yy) {
            for (LONG xx = x - dx; xx <= x + dx; ++xx) {
                if (page.Pixel(xx, yy) == cr) return true;
            }
        }
        return false;
    };
    auto count = [&](bool bOk, COLORREF cr, const std::string& strWhat, LONG x, LONG y) {
        ++nChecked;
        colours.insert(cr);
        if (!bOk && nWrong++ == 0) strFirst = strWhat + Format(" at (%ld,%ld) not ", x, y) + Hex(cr);
    };
    for (std::size_t i = 0; i < shapes.size(); ++i) {
        const LoggedShape& s = shapes[i];
        if (s.nKind == LoggedShape::kEllipse) {
            if (s.box.right - s.box.left < 6 || s.box.bottom - s.box.top < 6) continue;
            const LONG cx = (s.box.left + s.box.right) / 2;
            const LONG cy = (s.box.top + s.box.bottom) / 2;
            if (!IsCovered(shapes, i + 1, cx, cy, s.crBrush)) {
                count(page.Pixel(cx, cy) == s.crBrush, s.crBrush, "circle fill", cx, cy);
            }
            if (!IsCovered(shapes, i + 1, cx, s.box.top, s.crPen)) {
                count(PenNear(cx, s.box.top, 1, 1, s.crPen), s.crPen, "circle outline", cx, s.box.top);
            }
        } else if (s.nKind == LoggedShape::kLine && s.nPenStyle == PS_SOLID && s.ptFrom.x != s.ptTo.x &&
                   s.ptFrom.y != s.ptTo.y) {
            const LONG x = (s.ptFrom.x + s.ptTo.x) / 2;
            const LONG y = (s.ptFrom.y + s.ptTo.y) / 2;
            if (!IsCovered(shapes, i + 1, x, y, s.crPen)) count(PenNear(x, y, 1, 1, s.crPen), s.crPen, "stroke", x, y);
        } else if (s.nKind == LoggedShape::kPolygon) {
            const LONG x = (s.box.left + s.box.right) / 2;
            const LONG y = (s.box.top + s.box.bottom) / 2;
            if (!IsCovered(shapes, i + 1, x, y, s.crPen)) {
                count(PenNear(x, y, (s.box.right - s.box.left) / 2, (s.box.bottom - s.box.top) / 2, s.crPen), s.crPen,
                      "arrowhead", x, y);
            }
        }
    }
    Check(nChecked >= 20 && nWrong == 0, strRender + ": markers and curves in their colours",
          Format("%ld points", nChecked) + (nWrong == 0 ? "" : Format(", %ld wrong, first ", nWrong) + strFirst));
    if (bWantColours) {
        Check(colours.count(RGB(255, 0, 0)) == 1 && colours.count(RGB(0, 0, 255)) == 1,
              strRender + ": red and blue among them");
    }
}

// Nothing but greys: print without print colour draws in black. Antialiased
// text may stray from exact grey by a few levels.
void CheckNoColour(const CPage& page, const std::string& strRender) {
    long nColoured = 0;
    std::string strFirst;
    for (int y = 0; y < page.GetHeight(); ++y) {
        for (int x = 0; x < page.GetWidth(); ++x) {
            COLORREF cr = page.Pixel(x, y);
            const int r = GetRValue(cr);
            const int g = GetGValue(cr);
            const int b = GetBValue(cr);
            if (std::max({r, g, b}) - std::min({r, g, b}) <= 16) continue;
            if (nColoured++ == 0) strFirst = Format("(%ld,%ld) ", x, y) + Hex(cr);
        }
    }
    Check(nColoured == 0, strRender + ": black only, no colour",
          nColoured == 0 ? "" : Format("%ld coloured pixels, first ", nColoured) + strFirst);
}

// Points inside the chart rectangle that nothing is drawn near.
std::vector<POINT> EmptyPoints(const std::vector<LoggedShape>& shapes, const RECT& rect) {
    std::vector<POINT> points;
    for (LONG y = rect.top + 2; y < rect.bottom - 2; y += 16) {
        for (LONG x = rect.left + 2; x < rect.right - 2; x += 16) {
            if (!IsCovered(shapes, 0, x, y)) points.push_back(POINT{x, y});
        }
    }
    return points;
}

void CheckFill(const CPage& page, const std::vector<LoggedShape>& shapes, const RECT& rect, COLORREF crExpected,
               const std::string& strRender, const std::string& strWhat) {
    std::vector<POINT> points = EmptyPoints(shapes, rect);
    int nWrong = 0;
    for (const POINT& pt : points) nWrong += page.Pixel(pt.x, pt.y) != crExpected;
    // Outside the rectangle the page stays as the host left it.
    nWrong += page.Pixel(rect.left - 2, rect.top - 2) != RGB(255, 255, 255);
    nWrong += page.Pixel(rect.right + 2, rect.bottom + 2) != RGB(255, 255, 255);
    Check(points.size() >= 20 && nWrong == 0, strRender + ": " + strWhat,
          Format("%ld points", static_cast<long>(points.size())) + (nWrong == 0 ? "" : Format(", %ld wrong", nWrong)));
}

// A caption lies in its box, placed as its alignment says.
void CheckCaption(const CPage& page, const std::string& strCaption, const RECT& box, const RECT& region,
                  bool bCentred) {
    RECT ink = page.InkBox(region);
    const bool bAny = ink.right > ink.left;
    const bool bInside = ink.left >= box.left - 1 && ink.right <= box.right + 1 && ink.top >= box.top - 1 &&
                         ink.bottom <= box.bottom + 1;
    const LONG nInkCentre = (ink.left + ink.right) / 2;
    const LONG nBoxCentre = (box.left + box.right) / 2;
    const bool bPlaced = bCentred ? (nInkCentre >= nBoxCentre - 3 && nInkCentre <= nBoxCentre + 3)
                                  : (ink.left >= box.left && ink.left <= box.left + 3);
    Check(bAny && bInside && bPlaced, "screen: caption \"" + strCaption + "\" inside its box",
          Format("ink %ld,%ld-%ld,%ld", ink.left, ink.top, ink.right, ink.bottom) +
              Format(" box %ld,%ld-%ld,%ld", box.left, box.top, box.right, box.bottom));
}

void CheckCaptions(const CPage& page, const ChartInputs& in) {
    const LONG left = in.rect.left;
    const LONG right = in.rect.right;
    // The title across the top, under the hospital's name and above the patient header.
    RECT title = {Position(in, "+6.3", 0), Position(in, "+6.2", 1), Position(in, "+160.8", 0),
                  Position(in, "+13.1", 1)};
    CheckCaption(page, "title", title, RECT{left, Position(in, "+6.6", 1), right, Position(in, "+13.5", 1)}, true);
    // The page number row under the pain band's bottom frame line.
    RECT pageRow = {Position(in, "+6.3", 0), Position(in, "+247.1", 1), Position(in, "+160.8", 0),
                    Position(in, "+251.9", 1)};
    CheckCaption(page, "page number", pageRow, RECT{left, Position(in, "+246.6", 1), right, in.rect.bottom}, true);
}

// How many more GDI objects the process can create: it creates them until
// the system refuses, then deletes them again.
long FreeGdiObjects() {
    std::vector<HGDIOBJ> objects;
    HGDIOBJ hObject;
    while (objects.size() < 1000000 && (hObject = ::CreatePen(PS_SOLID, 1, RGB(0, 0, 0))) != nullptr) {
        objects.push_back(hObject);
    }
    for (HGDIOBJ h : objects) ::DeleteObject(h);
    return static_cast<long>(objects.size());
}

// Every pen, brush and font the plug-in creates is deleted before DrawPlugin
// returns: a host redraws the chart for every paint.
void TestNoGdiLeak(const Plugin& plugin, const ChartInputs& in) {
    CPage page(in.rect.right + kMargin, in.rect.bottom + kMargin);
    CHostDC host;
    host.m_hDC = host.m_hAttribDC = page.GetDC();
    HostState state = SelectHostState(page.GetDC());
    auto draw = [&]() {
        plugin.pfnDraw(&host, in.rect.top, in.rect.left, in.rect.bottom, in.rect.right, 96, 96, 96, 96,
                       in.strColourTemplate.c_str(), in.strData.data(), static_cast<int>(in.strData.size()), "", 1);
    };
    // The first draw may set up what the system keeps for the process (fonts).
    draw();
    const long nBefore = FreeGdiObjects();
    for (int i = 0; i < 3; ++i) draw();
    const long nAfter = FreeGdiObjects();
    ReleaseHostState(page.GetDC(), state);
    Check(nBefore > 1000 && nAfter == nBefore, "three draws leave no GDI object behind",
          Format("%ld objects could be created before, %ld after", nBefore, nAfter));
}

// Captions in boxes far taller than their text: centred by the height the
// device context measures (DT_CALCRECT), and nothing drawn by the measuring.
void TestCaptionPlacement(const Plugin& plugin, const std::string& strOut) {
    const std::string strPath = strOut + "/captions.xml";
    const std::string strXml =
        "<vitalsign version=\"1.0\">\n"
        "<vitalsize width=\"60\" height=\"60\" print-color=\"true\"/>\n"
        "<vitalfont id=\"f\" font-name=\"Arial\" font-size=\"16\" text-color=\"0,0,0\"/>\n"
        "<vitaltext text=\"Centre\" left=\"+5\" top=\"+5\" right=\"50\" bottom=\"20\" align=\"center\" "
        "font-id=\"f\"/>\n"
        "<vitaltext text=\"Right\" left=\"+5\" top=\"+30\" right=\"50\" bottom=\"20\" align=\"right\" font-id=\"f\"/>\n"
        "</vitalsign>\n";
    if (!Check(WriteFile(strPath, strXml), "captions: template written", strPath)) return;

    ChartInputs in;
    in.rect = RECT{kMargin, kMargin, kMargin + 230, kMargin + 230};
    CPage page(in.rect.right + kMargin, in.rect.bottom + kMargin);
    CHostDC host;
    host.m_hDC = host.m_hAttribDC = page.GetDC();
    HostState state = SelectHostState(page.GetDC());
    plugin.pfnDraw(&host, in.rect.top, in.rect.left, in.rect.bottom, in.rect.right, 96, 96, 96, 96, strPath.c_str(), "",
                   0, "", 0);
    ReleaseHostState(page.GetDC(), state);
    page.WriteBmp(strOut + "/captions.bmp");

    struct Caption {
        const char* pszText;
        const char* pszTop;
        const char* pszBottom;
        bool bRight;
    };
    for (const Caption& c : {Caption{"Centre", "+5", "+25", false}, Caption{"Right", "+30", "+50", true}}) {
        const RECT box = {Position(in, "+5", 0), Position(in, c.pszTop, 1), Position(in, "+55", 0),
                          Position(in, c.pszBottom, 1)};
        const RECT ink = page.InkBox(RECT{box.left - 8, box.top - 8, box.right + 8, box.bottom + 8});
        const LONG nInkX = (ink.left + ink.right) / 2;
        const LONG nInkY = (ink.top + ink.bottom) / 2;
        const LONG nBoxX = (box.left + box.right) / 2;
        const LONG nBoxY = (box.top + box.bottom) / 2;
        const bool bAcross = c.bRight ? (ink.right <= box.right && ink.right >= box.right - 4)
                                      : (nInkX >= nBoxX - 3 && nInkX <= nBoxX + 3);
        Check(ink.right > ink.left && ink.bottom - ink.top <= 20 && bAcross && nInkY >= nBoxY - 4 && nInkY <= nBoxY + 4,
              std::string("captions: \"") + c.pszText + "\" centred in its box" + (c.bRight ? ", to the right" : ""),
              Format("ink %ld,%ld-%ld,%ld", ink.left, ink.top, ink.right, ink.bottom) +
                  Format(" box %ld,%ld-%ld,%ld", box.left, box.top, box.right, box.bottom));
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: vitalchart_windows_host DLL EXAMPLES_DIR LINUX_TRACE OUT_DIR\n");
        return 2;
    }
    const std::string strDll = argv[1];
    const std::string strExamples = argv[2];
    const std::string strLinuxTrace = argv[3];
    const std::string strOut = argv[4];
    const std::string strTemplate = strExamples + "/vitalsign.xml";
    const std::string strDataPath = strExamples + "/week.data";

    // The layout the plug-in reads the host's object by.
    {
        CHostDC host;
        const char* pBase = reinterpret_cast<const char*>(&host);
        Check(reinterpret_cast<const char*>(&host.m_hDC) - pBase == 4 &&
                  reinterpret_cast<const char*>(&host.m_hAttribDC) - pBase == 8 &&
                  reinterpret_cast<const char*>(&host.m_bPrinting) - pBase == 12,
              "host object: handles and printing flag after the virtual-table pointer");
    }

    Plugin plugin;
    if (TestExports(strDll, plugin)) {
        TestTypedCalls(plugin, strTemplate);
        TestCalleePops(plugin, strTemplate);
    }

    // The trace of the core this host is linked with, drawn exactly as the
    // Linux command draws it, against the Linux trace.
    {
        std::string strUtf8Data;
        std::string strLinux;
        bool bRead = ReadFile(strDataPath, strUtf8Data) && ReadFile(strLinuxTrace, strLinux);
        if (Check(bRead, "read the example data and the Linux trace", bRead ? "" : strLinuxTrace)) {
            float fW = 167.0f;
            float fH = 253.0f;
            vitalchart::CChartRenderer sizer;
            if (!sizer.GetSizeByTemplet(&fW, &fH, strTemplate.c_str())) fW = 167.0f, fH = 253.0f;
            const vitalchart::CChartGeometry scale;
            auto toDevice = [&scale](float fMm) { return scale.MmToDeviceX(fMm); };
            vitalchart::CRecordingDC dc(CP_UTF8, 0);
            vitalchart::DrawPluginOnSurface(&dc, 0, 0, toDevice(fH), toDevice(fW), 96, 96, 96, 96, strTemplate.c_str(),
                                            strUtf8Data.data(), static_cast<int>(strUtf8Data.size()), "", 0);
            const std::string& strWindows = dc.GetTrace();
            std::string strDetail;
            if (strWindows != strLinux) {
                std::size_t nLine = 1;
                std::size_t i = 0;
                while (i < strWindows.size() && i < strLinux.size() && strWindows[i] == strLinux[i]) {
                    if (strWindows[i] == '\n') ++nLine;
                    ++i;
                }
                const std::string strActual = strOut + "/example.trace.actual";
                WriteFile(strActual, strWindows);
                strDetail = Format("first difference on line %ld; ", static_cast<long>(nLine)) + strActual;
            }
            Check(!strLinux.empty() && strWindows == strLinux,
                  "recording trace of the example is byte-identical to the Linux build's", strDetail);
        }
    }

    // The chart painted through the DLL, in the system's ANSI code page.
    ChartInputs in;
    bool bInputs = false;
    {
        std::string strXml;
        std::string strData;
        std::string strAnsiXml;
        std::string strMonoXml;
        bInputs = ReadFile(strTemplate, strXml) && ReadFile(strDataPath, strData) &&
                  ToAnsiCodePage(strXml, strAnsiXml) && ToAnsiCodePage(strData, in.strData);
        const std::string strOn = "print-color=\"true\"";
        std::size_t nAt = strAnsiXml.find(strOn);
        bInputs = bInputs && nAt != std::string::npos;
        if (bInputs) {
            strMonoXml = strAnsiXml;
            strMonoXml.replace(nAt, strOn.size(), "print-color=\"false\"");
            in.strColourTemplate = strOut + "/vitalsign-ansi.xml";
            in.strMonoTemplate = strOut + "/vitalsign-ansi-mono.xml";
            bInputs = WriteFile(in.strColourTemplate, strAnsiXml) && WriteFile(in.strMonoTemplate, strMonoXml);
        }
        Check(bInputs, "the example in the ANSI code page",
              Format(bInputs ? "code page %ld"
                             : "code page %ld cannot hold the example's text, or a file could not be written",
                     static_cast<long>(::GetACP())));
    }

    if (bInputs && plugin.pfnDraw != nullptr) {
        auto toDevice = [](float fMm) {
            return vitalchart::MulDiv(vitalchart::DoubleToInt(static_cast<double>(fMm) * 10.0), 96, 254);
        };
        in.rect = RECT{kMargin, kMargin, kMargin + toDevice(167.0f), kMargin + toDevice(253.0f)};
        const int nPageWidth = in.rect.right + kMargin;
        const int nPageHeight = in.rect.bottom + kMargin;

        const Render renders[] = {
            {"screen", false, false, false, false, false},
            {"screen-filled", false, true, false, false, false},
            {"screen-attribute-dc", false, false, false, false, true},
            {"print", true, true, false, false, false},
            {"print-mono", true, false, true, false, false},
            {"print-continued", true, false, false, true, false},
        };
        std::vector<std::unique_ptr<CPage>> pages;
        std::vector<std::vector<LoggedShape>> shapes;
        for (const Render& r : renders) {
            const std::string strName = r.pszName;
            const std::string& strPath = r.bMono ? in.strMonoTemplate : in.strColourTemplate;
            const std::string strData = r.bResume ? in.strData + "\n<print resume=\"true\"/>\n" : in.strData;

            auto pPage = std::make_unique<CPage>(nPageWidth, nPageHeight);
            if (!Check(pPage->IsValid(), strName + ": a 32-bit DIB section on a memory DC")) return 1;
            CPage attrib(1, 1);
            CHostDC host;
            host.m_hDC = pPage->GetDC();
            host.m_hAttribDC = r.bAttrib ? attrib.GetDC() : pPage->GetDC();
            host.m_bPrinting = r.bPrinting ? TRUE : FALSE;
            HostState state = SelectHostState(host.m_hDC);
            // The framework selects into both handles alike.
            if (r.bAttrib) SelectHostState(host.m_hAttribDC, state);

            plugin.pfnDraw(&host, in.rect.top, in.rect.left, in.rect.bottom, in.rect.right, 96, 96, 96, 96,
                           strPath.c_str(), strData.data(), static_cast<int>(strData.size()), "", r.bFill ? 1 : 0);

            std::string strChanges = HostStateChanges(host.m_hDC, state);
            if (r.bAttrib) strChanges += HostStateChanges(host.m_hAttribDC, state);
            Check(strChanges.empty(), strName + ": pen, brush, font, modes and colours restored", strChanges);
            if (r.bAttrib) {
                Check(attrib.Pixel(0, 0) == RGB(255, 255, 255), strName + ": nothing drawn on the attribute DC");
                DeselectHostState(host.m_hAttribDC);
            }
            ReleaseHostState(host.m_hDC, state);
            const std::string strBmp = strOut + "/" + strName + ".bmp";
            Check(pPage->WriteBmp(strBmp), strName + ": written to " + strBmp);

            CShapeLog log(::GetACP(), r.bPrinting ? 1 : 0);
            vitalchart::DrawPluginOnSurface(&log, in.rect.top, in.rect.left, in.rect.bottom, in.rect.right, 96, 96, 96,
                                            96, strPath.c_str(), strData.data(), static_cast<int>(strData.size()), "",
                                            r.bFill ? 1 : 0);
            pages.push_back(std::move(pPage));
            shapes.push_back(log.GetShapes());
        }

        const CPage& screen = *pages[0];
        CheckLines(screen, shapes[0], "screen");
        CheckMarkers(screen, shapes[0], "screen", true);
        CheckCaptions(screen, in);
        CheckFill(screen, shapes[0], in.rect, RGB(255, 255, 255), "screen", "the page shows between the lines");

        CheckFill(*pages[1], shapes[1], in.rect, RGB(0, 0, 0), "screen-filled", "the rectangle filled black");

        Check(pages[2]->SameBits(screen), "screen-attribute-dc: the same chart as on one device context");

        CheckLines(*pages[3], shapes[3], "print");
        CheckMarkers(*pages[3], shapes[3], "print", true);
        CheckFill(*pages[3], shapes[3], in.rect, RGB(255, 255, 255), "print", "nothing filled in print");

        CheckLines(*pages[4], shapes[4], "print-mono");
        CheckMarkers(*pages[4], shapes[4], "print-mono", false);
        CheckNoColour(*pages[4], "print-mono");

        // A continuation page: the readings only, none of the ruled form.
        CheckMarkers(*pages[5], shapes[5], "print-continued", true);
        {
            std::vector<Sample> form = LineSamples(shapes[3]);
            int nChecked = 0;
            int nInked = 0;
            for (const Sample& s : form) {
                if (IsCovered(shapes[5], 0, s.x, s.y)) continue;
                ++nChecked;
                nInked += pages[5]->Pixel(s.x, s.y) != RGB(255, 255, 255);
            }
            Check(nChecked >= 100 && nInked == 0, "print-continued: no ruled form",
                  Format("%ld points", nChecked) + (nInked == 0 ? "" : Format(", %ld inked", nInked)));
        }
        TestNoGdiLeak(plugin, in);
    }

    if (plugin.pfnDraw != nullptr) TestCaptionPlacement(plugin, strOut);

    if (plugin.hModule != nullptr) ::FreeLibrary(plugin.hModule);
    std::printf("%d passed, %d failed\n", g_nPassed, g_nFailed);
    return g_nFailed == 0 ? 0 : 1;
}
