#include "tools/pdf/pdf_work.h"

// This code uses the library's standard smart pointers only, none of its old
// pointer holder.
#define POINTERHOLDER_TRANSITION 4
#include <exception>
#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjGen.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>
#include <set>
#include <stdexcept>

#include "tools/document_time.h"
#include "tools/srgb_profile.h"
#include "tools/whole_file.h"

namespace vitalchart {
namespace pdf {

namespace {

using cli::PdfDate;
using cli::SrgbProfile;
using Handle = QPDFObjectHandle;

// Finds the fonts of a document that are not embedded: those of each page's
// resources, and of the forms, patterns and Type 3 glyphs they draw with.
class CFontWalk {
public:
    void Resources(Handle resources) {
        if (!resources.isDictionary() || !FirstVisit(resources)) return;
        Handle fonts = resources.getKey("/Font");
        if (fonts.isDictionary()) {
            for (const std::string& strKey : fonts.getKeys()) Font(fonts.getKey(strKey));
        }
        for (const char* pszGroup : {"/XObject", "/Pattern"}) {
            Handle group = resources.getKey(pszGroup);
            if (!group.isDictionary()) continue;
            for (const std::string& strKey : group.getKeys()) {
                Handle item = group.getKey(strKey);
                if (item.isStream()) Resources(item.getDict().getKey("/Resources"));
            }
        }
    }

    // The first font not embedded, by its name; empty when all are.
    const std::string& GetMissing() const { return m_strMissing; }

private:
    bool FirstVisit(const Handle& object) { return !object.isIndirect() || m_seen.insert(object.getObjGen()).second; }

    void Font(Handle font) {
        if (!font.isDictionary() || !FirstVisit(font)) return;
        Handle subtype = font.getKey("/Subtype");
        // A Type 3 font's glyphs are drawings in the file itself.
        if (subtype.isNameAndEquals("/Type3")) return Resources(font.getKey("/Resources"));
        Handle described = font;
        if (subtype.isNameAndEquals("/Type0")) {
            Handle descendants = font.getKey("/DescendantFonts");
            described = descendants.isArray() && descendants.getArrayNItems() > 0 ? descendants.getArrayItem(0)
                                                                                  : Handle::newNull();
        }
        Handle descriptor = described.isDictionary() ? described.getKey("/FontDescriptor") : Handle::newNull();
        const bool bEmbedded =
            descriptor.isDictionary() &&
            (descriptor.hasKey("/FontFile") || descriptor.hasKey("/FontFile2") || descriptor.hasKey("/FontFile3"));
        if (bEmbedded || !m_strMissing.empty()) return;
        Handle name = font.getKey("/BaseFont");
        m_strMissing = name.isName() ? name.getName().substr(1) : std::string("a font without a name");
    }

    std::set<QPDFObjGen> m_seen;
    std::string m_strMissing;
};

Handle Text(const std::string& strText) {
    return Handle::newUnicodeString(strText);
}

void SetText(Handle& dictionary, const char* pszKey, const std::string& strText) {
    if (!strText.empty()) dictionary.replaceKey(pszKey, Text(strText));
}

// The sRGB output intent of a PDF/A document.
Handle OutputIntent(QPDF& pdf) {
    Handle profile = pdf.newStream(std::string(SrgbProfile()));
    profile.getDict().replaceKey("/N", Handle::newInteger(3));
    Handle intent = Handle::newDictionary();
    intent.replaceKey("/Type", Handle::newName("/OutputIntent"));
    intent.replaceKey("/S", Handle::newName("/GTS_PDFA1"));
    intent.replaceKey("/OutputConditionIdentifier", Handle::newString("sRGB IEC61966-2.1"));
    intent.replaceKey("/Info", Handle::newString("sRGB IEC61966-2.1"));
    intent.replaceKey("/RegistryName", Handle::newString("http://www.color.org"));
    intent.replaceKey("/DestOutputProfile", profile);
    return pdf.makeIndirectObject(intent);
}

}  // namespace

void FinishDocument(QPDF& pdf, PdfMetadata metadata) {
    Handle trailer = pdf.getTrailer();
    Handle root = pdf.getRoot();
    if (metadata.bPdfA2b) {
        if (pdf.isEncrypted()) throw std::runtime_error("an encrypted PDF cannot be PDF/A");
        CFontWalk walk;
        for (QPDFPageObjectHelper& page : QPDFPageDocumentHelper(pdf).getAllPages()) {
            walk.Resources(page.getAttribute("/Resources", false));
        }
        if (!walk.GetMissing().empty()) {
            throw std::runtime_error("cannot be PDF/A: the font " + walk.GetMissing() + " is not embedded");
        }
    }
    Handle oldInfo = trailer.getKey("/Info");
    if (metadata.strProducer.empty() && oldInfo.isDictionary() && oldInfo.getKey("/Producer").isString()) {
        metadata.strProducer = oldInfo.getKey("/Producer").getUTF8Value();
    }

    // The Info dictionary and the XMP packet say the same.
    Handle info = Handle::newDictionary();
    SetText(info, "/Title", metadata.strTitle);
    SetText(info, "/Author", metadata.strAuthor);
    SetText(info, "/Subject", metadata.strSubject);
    SetText(info, "/Creator", metadata.strCreator);
    SetText(info, "/Producer", metadata.strProducer);
    info.replaceKey("/CreationDate", Handle::newString(PdfDate(metadata.nCreated)));
    info.replaceKey("/ModDate", Handle::newString(PdfDate(metadata.nCreated)));
    trailer.replaceKey("/Info", pdf.makeIndirectObject(info));

    Handle xmp = pdf.newStream(XmpPacket(metadata));
    xmp.getDict().replaceKey("/Type", Handle::newName("/Metadata"));
    xmp.getDict().replaceKey("/Subtype", Handle::newName("/XML"));
    root.replaceKey("/Metadata", xmp);
    if (metadata.bPdfA2b) root.replaceKey("/OutputIntents", Handle::newArray({OutputIntent(pdf)}));
}

void SetUpFinishedWriter(QPDFWriter& writer) {
    writer.setDeterministicID(true);
}

void FinishFile(const std::string& strSource, const std::string& strTarget, const PdfMetadata& metadata) {
    QPDF pdf;
    // A message on standard error is the command's alone.
    pdf.setSuppressWarnings(true);
    // Read from memory: read through the file, each object qpdf resolves
    // costs a seek and a refill of the file's buffer.
    std::string strBytes;
    std::string strError;
    if (!cli::ReadWholeFile(strSource, strBytes, strError)) throw std::runtime_error(strError);
    pdf.processMemoryFile(strSource.c_str(), strBytes.data(), strBytes.size());
    FinishDocument(pdf, metadata);
    QPDFWriter writer(pdf);
    SetUpFinishedWriter(writer);
    WriteToFile(writer, strTarget);
}

std::string FinishBytes(const std::string& strPdf, const PdfMetadata& metadata) {
    QPDF pdf;
    pdf.setSuppressWarnings(true);
    pdf.processMemoryFile("PDF", strPdf.data(), strPdf.size());
    FinishDocument(pdf, metadata);
    QPDFWriter writer(pdf);
    writer.setOutputMemory();
    SetUpFinishedWriter(writer);
    writer.write();
    const std::shared_ptr<Buffer> pBuffer = writer.getBufferSharedPointer();
    return std::string(reinterpret_cast<const char*>(pBuffer->getBuffer()), pBuffer->getSize());
}

}  // namespace pdf
}  // namespace vitalchart
