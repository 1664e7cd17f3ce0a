#pragma once

#include <memory>
#include <string>
#include <vector>

#include "vitalchart/export.h"
#include "vitalchart/surface/state_dc.h"

namespace vitalchart {

// A surface that paints the chart as a picture: a PNG image in memory, or a
// PDF or SVG file. Lines, figures and fills mean what they mean on the
// platform's device context; text bytes in the surface's code page are shaped
// with the free fonts that the platform's face names map to. The mapping is
// fonts/vitalchart-fonts.conf, found through the environment variable
// VITALCHART_FONTS_CONF, then in the source tree, then in the installed data
// folder, and read once per process when the first surface is made.
//
// Device units: a pixel in a PNG image; 1/dpi inch in a PDF or SVG page, so
// the plug-in's scale pairs give the same sheet in every format.
//
// A typical host:
//
//   auto pDC = CCairoDC::CreatePdf("chart.pdf", 4960, 7016, 600, CP_GBK, 1);
//   DrawPlugin(pDC.get(), ...);          // first page
//   pDC->ShowPage();
//   DrawPlugin(pDC.get(), ...);          // continuation page
//   if (!pDC->Finish()) report(pDC->GetError());
//
// A surface is used on the thread that made it. Each thread keeps its own
// fonts and the layouts of the labels its images have drawn (at most a few
// hundred), and releases them when it ends; surfaces on different threads
// share nothing.
//
// Drawing calls report nothing. The first failure (a bad size, a file that
// cannot be written, a drawing library status) is kept, later drawing does
// nothing, and Finish returns false with the message from GetError.
class VITALCHART_API CCairoDC : public CStateDC {
public:
    // Largest PNG side and pixel count; bigger images are refused.
    static constexpr int kMaxImageSide = 16384;
    static constexpr long long kMaxImagePixels = 1LL << 26;
    // Resolutions a PDF or SVG page accepts, in dots per inch.
    static constexpr int kMinDpi = 18;
    static constexpr int kMaxDpi = 9600;
    // Largest PDF or SVG page side in device units.
    static constexpr int kMaxPageSide = 1000000;
    // PNG compression: zlib's levels, 0 (stored) to 9 (smallest file). The
    // default is fast and a little larger than a general writer's output;
    // the decoded pixels are the same at every level.
    static constexpr int kMaxPngCompression = 9;
    static constexpr int kDefaultPngCompression = 3;

    // Makes the chart's fonts (the system's fontconfig configuration with
    // the chart's font map) the process's current fontconfig configuration,
    // so that the text library builds no second configuration of its own:
    // for a program that draws charts only, such as the vitalchart command,
    // before its first surface. A host with fonts of its own leaves its
    // configuration alone and does not call it. False when fontconfig
    // cannot build the configuration.
    static bool ShareFontsWithProcess();
    // As ShareFontsWithProcess, but on a thread of its own while the caller
    // goes on (reading its inputs, making its first image); the first
    // surface to lay out text waits for it. Once per process.
    static void BeginSharingFontsWithProcess();

    // A white image of nWidth by nHeight pixels, kept in memory; read it with
    // GetPixel, WritePng or EncodePng. Never null.
    static std::unique_ptr<CCairoDC> CreatePng(int nWidth, int nHeight, UINT nCodePage = CP_UTF8, BOOL bPrinting = 0);
    // As CreatePng, on pixels the caller lends: nHeight rows nStride bytes
    // apart, 32 bits a pixel (0x00RRGGBB in the machine's byte order), kept
    // alive until the surface is destroyed. A host drawing many charts of one
    // size reuses one buffer instead of mapping a new image for each. The
    // surface fails (GetError) on a null buffer or a stride the image cannot
    // use. Never null.
    static std::unique_ptr<CCairoDC> CreatePngOn(unsigned char* pPixels, int nStride, int nWidth, int nHeight,
                                                 UINT nCodePage = CP_UTF8, BOOL bPrinting = 0);
    // A PDF file at strPath (created or truncated now) whose pages are nWidth
    // by nHeight device units of 1/nDpi inch. Never null.
    static std::unique_ptr<CCairoDC> CreatePdf(const std::string& strPath, int nWidth, int nHeight, int nDpi,
                                               UINT nCodePage, BOOL bPrinting);
    // An SVG file of one white page, otherwise as CreatePdf. Never null.
    static std::unique_ptr<CCairoDC> CreateSvg(const std::string& strPath, int nWidth, int nHeight, int nDpi,
                                               UINT nCodePage, BOOL bPrinting);
    // A PDF document kept in memory, otherwise as CreatePdf; TakeDocument
    // hands its bytes over once Finish has succeeded. Never null.
    static std::unique_ptr<CCairoDC> CreatePdfInMemory(int nWidth, int nHeight, int nDpi, UINT nCodePage,
                                                       BOOL bPrinting);
    // An SVG drawing of one white page kept in memory, otherwise as
    // CreatePdfInMemory. Never null.
    static std::unique_ptr<CCairoDC> CreateSvgInMemory(int nWidth, int nHeight, int nDpi, UINT nCodePage,
                                                       BOOL bPrinting);

    // Finishes the output if Finish was not called; a failure is then lost.
    ~CCairoDC() override;

    // PDF: ends the page and starts a blank one; true. Other kinds hold one
    // page: false, nothing changes.
    bool ShowPage();
    // Completes the output; a PDF or SVG file is written out and closed (and
    // removed again when anything failed). True when nothing has failed since
    // creation. Later calls return the same; later drawing does nothing.
    bool Finish();
    // PNG: writes the image as a PNG file, compressed at nCompression (0 to
    // kMaxPngCompression). False for another kind, and, with the error kept,
    // for a compression out of range, a failed encode or a file that cannot
    // be written (which is then removed).
    bool WritePng(const std::string& strPath, int nCompression = kDefaultPngCompression);
    // PNG: the image encoded as PNG bytes into arrBytes (replaced). False for
    // another kind, and, with the error kept, for a compression out of range
    // or a failed encode.
    bool EncodePng(std::vector<unsigned char>& arrBytes, int nCompression = kDefaultPngCompression);
    // A document kept in memory: its bytes once Finish has succeeded, handed
    // over (a later call gives nothing). Empty before Finish, after a
    // failure, and for a surface of another kind.
    std::string TakeDocument();
    // The first failure as one line; empty while nothing has failed.
    const std::string& GetError() const;
    // PNG: the colour of the pixel at (x, y); CLR_INVALID outside the image
    // and for another kind.
    COLORREF GetPixel(int x, int y);
    // Page or image size in device units.
    int GetWidth() const;
    int GetHeight() const;

    void LineTo(int x, int y) override;
    void Ellipse(int nLeft, int nTop, int nRight, int nBottom) override;
    void Polygon(const POINT* pPoints, int nCount) override;
    void FillSolidRect(const RECT& rect, COLORREF crColor) override;
    void TextOut(int x, int y, const char* pText, int nCount) override;
    void DrawText(const char* pText, int nCount, RECT* pRect, UINT nFormat) override;

    // What GetPixel returns for a pixel that does not exist.
    static constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

private:
    class CImpl;

    CCairoDC(std::unique_ptr<CImpl> pImpl, UINT nCodePage, BOOL bPrinting);

    std::unique_ptr<CImpl> m_pImpl;
};

}  // namespace vitalchart
