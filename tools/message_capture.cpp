#include "tools/message_capture.h"

namespace vitalchart {
namespace cli {

namespace {

thread_local CMessageCapture* t_pCapture = nullptr;

}  // namespace

CMessageCapture::CMessageCapture() : m_pOuter(t_pCapture) {
    t_pCapture = this;
}

CMessageCapture::~CMessageCapture() {
    t_pCapture = m_pOuter;
}

bool CMessageCapture::Capture(const std::string& strMessage) {
    if (t_pCapture == nullptr) return false;
    t_pCapture->m_messages.push_back(strMessage);
    return true;
}

}  // namespace cli
}  // namespace vitalchart
