#include "tools/pdf/pdf_work.h"

// This code uses the library's standard smart pointers only, none of its old
// pointer holder.
#define POINTERHOLDER_TRANSITION 4
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <qpdf/QPDFWriter.hh>
#include <stdexcept>

namespace vitalchart {
namespace pdf {

namespace {

struct FileCloser {
    void operator()(std::FILE* pFile) const { std::fclose(pFile); }
};

std::runtime_error FileError(const char* pszWhat, const std::string& strPath) {
    return std::runtime_error(std::string(pszWhat) + " " + strPath + ": " + std::strerror(errno));
}
}  // namespace

void WriteToFile(QPDFWriter& writer, const std::string& strTarget) {
    std::unique_ptr<std::FILE, FileCloser> pFile(std::fopen(strTarget.c_str(), "wb"));
    if (!pFile) throw FileError("cannot write", strTarget);
    std::setvbuf(pFile.get(), nullptr, _IOFBF, 1 << 20);
    writer.setOutputFile(strTarget.c_str(), pFile.get(), false);
    writer.write();
    if (std::fclose(pFile.release()) != 0) throw FileError("cannot write", strTarget);
}

}  // namespace pdf
}  // namespace vitalchart
