#include "surface/gdi/logfont.h"

#include <cstring>

namespace vitalchart {

namespace {

// Both descriptions have the same fields under the same names.
template <typename To, typename From>
To CopyLogFont(const From& s) {
    To d;
    std::memset(&d, 0, sizeof d);
    d.lfHeight = s.lfHeight;
    d.lfWidth = s.lfWidth;
    d.lfEscapement = s.lfEscapement;
    d.lfOrientation = s.lfOrientation;
    d.lfWeight = s.lfWeight;
    d.lfItalic = s.lfItalic;
    d.lfUnderline = s.lfUnderline;
    d.lfStrikeOut = s.lfStrikeOut;
    d.lfCharSet = s.lfCharSet;
    d.lfOutPrecision = s.lfOutPrecision;
    d.lfClipPrecision = s.lfClipPrecision;
    d.lfQuality = s.lfQuality;
    d.lfPitchAndFamily = s.lfPitchAndFamily;
    std::memcpy(d.lfFaceName, s.lfFaceName, LF_FACESIZE);
    d.lfFaceName[LF_FACESIZE - 1] = '\0';
    return d;
}

}  // namespace

::LOGFONTA ToLogFontA(const LOGFONT& lf) {
    return CopyLogFont<::LOGFONTA>(lf);
}

LOGFONT FromLogFontA(const ::LOGFONTA& lf) {
    return CopyLogFont<LOGFONT>(lf);
}

}  // namespace vitalchart
