#include "tools/page_sink.h"

#include "tools/pdf_sink.h"
#include "tools/picture_sink.h"
#include "tools/trace_sink.h"

namespace vitalchart {
namespace cli {

std::unique_ptr<CPageSink> MakePageSink(Format format, const PageSettings& settings, COutputFiles& rOutputs) {
    switch (format) {
        case Format::kTrace:
            return std::make_unique<CTraceSink>(settings, rOutputs);
        case Format::kPng:
            return std::make_unique<CPictureSink>(format, settings, rOutputs);
        case Format::kPdf:
            return std::make_unique<CPdfSink>(settings, rOutputs);
        case Format::kSvg:
            return std::make_unique<CPictureSink>(format, settings, rOutputs);
        case Format::kText:
        case Format::kJson:
            break;
    }
    return nullptr;
}

}  // namespace cli
}  // namespace vitalchart
