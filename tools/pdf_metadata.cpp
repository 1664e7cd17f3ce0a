#include "tools/pdf_metadata.h"

#include "tools/document_time.h"
#include "tools/xml_text.h"

namespace vitalchart {
namespace cli {

namespace {

std::string Alternative(const char* pszProperty, const std::string& strText) {
    if (strText.empty()) return std::string();
    return std::string("   <") + pszProperty + "><rdf:Alt><rdf:li xml:lang=\"x-default\">" + XmlText(strText) +
           "</rdf:li></rdf:Alt></" + pszProperty + ">\n";
}

std::string Simple(const char* pszProperty, const std::string& strText) {
    if (strText.empty()) return std::string();
    return std::string("   <") + pszProperty + ">" + XmlText(strText) + "</" + pszProperty + ">\n";
}

}  // namespace

std::string XmpPacket(const PdfMetadata& metadata) {
    const std::string strDate = XmpDate(metadata.nCreated);
    std::string str =
        "<?xpacket begin=\"\xEF\xBB\xBF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
        "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">\n"
        " <rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
        "  <rdf:Description rdf:about=\"\"\n"
        "    xmlns:dc=\"http://purl.org/dc/elements/1.1/\"\n"
        "    xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\"\n"
        "    xmlns:pdf=\"http://ns.adobe.com/pdf/1.3/\"\n"
        "    xmlns:pdfaid=\"http://www.aiim.org/pdfa/ns/id/\">\n"
        "   <dc:format>application/pdf</dc:format>\n";
    str += Alternative("dc:title", metadata.strTitle);
    if (!metadata.strAuthor.empty()) {
        str += "   <dc:creator><rdf:Seq><rdf:li>" + XmlText(metadata.strAuthor) + "</rdf:li></rdf:Seq></dc:creator>\n";
    }
    str += Alternative("dc:description", metadata.strSubject);
    str += Simple("xmp:CreateDate", strDate);
    str += Simple("xmp:ModifyDate", strDate);
    str += Simple("xmp:MetadataDate", strDate);
    str += Simple("xmp:CreatorTool", metadata.strCreator);
    str += Simple("pdf:Producer", metadata.strProducer);
    if (metadata.bPdfA2b) {
        str += Simple("pdfaid:part", "2");
        str += Simple("pdfaid:conformance", "B");
    }
    str +=
        "  </rdf:Description>\n"
        " </rdf:RDF>\n"
        "</x:xmpmeta>\n"
        "<?xpacket end=\"w\"?>";
    return str;
}

bool NewPdfMetadata(PdfMetadata& rMetadata, std::string& rError) {
    rMetadata = PdfMetadata();
    rMetadata.strCreator = std::string("vitalchart ") + VITALCHART_VERSION;
    return DocumentTime(rMetadata.nCreated, rError);
}

}  // namespace cli
}  // namespace vitalchart
