#pragma once

#include "tools/forwarding_dc.h"
#include "tools/layout/layout_recorder.h"

namespace vitalchart {
namespace cli {

// A surface in front of another one: every call goes on to the inner
// surface unchanged, in the same order, so that it draws (or records) exactly
// what it would alone; each drawing call is also noted against the element
// the recorder says is current. Texts are measured by the inner surface, so a
// picture surface gives the real font's extent.
class CAttributingDC : public CForwardingDC {
public:
    // Both are lent and must outlive this surface.
    CAttributingDC(CDC& rInner, CLayoutRecorder& rRecorder);

    POINT MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void Ellipse(int nLeft, int nTop, int nRight, int nBottom) override;
    void Polygon(const POINT* pPoints, int nCount) override;
    void FillSolidRect(const RECT& rect, COLORREF crColor) override;
    void HatchPolygon(const POINT* pPoints, int nCount, int nSpacing, BOOL bRising) override;
    void TextOut(int x, int y, const char* pText, int nCount) override;
    void DrawText(const char* pText, int nCount, RECT* pRect, UINT nFormat) override;

private:
    // The text's extent as the inner surface measures it, placed in the
    // rectangle as the format aligns it, and noted.
    void NoteText(const char* pText, int nCount, const RECT& rect, UINT nFormat);

    CLayoutRecorder& m_rRecorder;
    POINT m_ptCurrent = {0, 0};
};

}  // namespace cli
}  // namespace vitalchart
