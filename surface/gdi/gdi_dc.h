#pragma once

#include <memory>
#include <string>
#include <vector>

#include "vitalchart/surface/dc.h"

namespace vitalchart {

// A surface on a Windows device context that the host lends: each operation
// is the GDI call of the same name. State changes go to the output handle and,
// when it differs, to the attribute handle; drawing goes to the output handle;
// queries ask the attribute handle. Text is in the system's ANSI code page.
//
// Pens, brushes and fonts that the chart selects become GDI objects created
// here, one per distinct description, and live as long as the surface. The
// host's own objects come back as temporaries that select the host's handle
// again. The device context itself stays the host's.
class CGdiDC : public CDC {
public:
    // A surface on the output handle and the attribute handle (HDCs, kept
    // opaque here); a null attribute handle means the output handle.
    CGdiDC(void* hDC, void* hAttribDC, BOOL bPrinting);
    // Selects the host's pen, brush and font back wherever one of this
    // surface's objects is still selected, then deletes those objects.
    ~CGdiDC() override;

    CPen* SelectObject(CPen* pPen) override;
    CBrush* SelectObject(CBrush* pBrush) override;
    CFont* SelectObject(CFont* pFont) override;
    CGdiObject* GetCurrentObject(UINT nObjectType) override;
    COLORREF SetTextColor(COLORREF crColor) override;
    COLORREF GetTextColor() override;
    int SetBkMode(int nMode) override;
    POINT MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void Ellipse(int nLeft, int nTop, int nRight, int nBottom) override;
    void Polygon(const POINT* pPoints, int nCount) override;
    void FillSolidRect(const RECT& rect, COLORREF crColor) override;
    void TextOut(int x, int y, const char* pText, int nCount) override;
    void DrawText(const char* pText, int nCount, RECT* pRect, UINT nFormat) override;

    // The name of the first GDI call that failed, or empty.
    const std::string& GetError() const { return m_strError; }

private:
    // A drawing object this surface handed out or created, with its handle.
    struct Entry {
        std::unique_ptr<CGdiObject> pObject;
        void* hObject;
        bool bOwned;  // created here, deleted by the destructor
    };
    // Kinds of object the destructor checks, in OBJ_* order of kPutBack.
    static constexpr int kKinds = 3;

    // The handle that selects the object, creating the GDI object on first
    // use; null when creation failed.
    void* HandleFor(const CGdiObject& object);
    // The surface-owned object that stands for a selected handle.
    CGdiObject* ObjectFor(void* hObject, UINT nObjectType);
    bool IsOwnedHandle(void* hObject) const;
    // Selects into both handles; the attribute handle's previous object.
    void* SelectHandle(void* hObject);
    template <typename T>
    T* SelectTyped(T* pObject);
    void Fail(const char* pszCall);

    void* m_hDC;
    void* m_hAttribDC;
    // The host's pen, brush and font at the start, per handle (output, attribute).
    void* m_hHostObjects[2][kKinds] = {};
    std::vector<Entry> m_entries;
    std::string m_strError;
};

}  // namespace vitalchart
