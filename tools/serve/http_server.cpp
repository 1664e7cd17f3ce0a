#include "tools/serve/http_server.h"

#include <httplib.h>
#include <sys/socket.h>

#include <charconv>

#include "tools/serve/connection_queue.h"
#include "tools/serve/problem.h"

namespace vitalchart {
namespace cli {

namespace {

HttpRequest ToRequest(const httplib::Request& req) {
    HttpRequest request;
    request.strMethod = req.method;
    request.strPath = req.path;
    request.params.assign(req.params.begin(), req.params.end());
    request.headers.assign(req.headers.begin(), req.headers.end());
    return request;
}

// Reads and drops the body of a request refused by its header fields, when
// its Content-Length is within the body limit: the connection is closed
// after the answer, and closing it with unread bytes would reset it, losing
// the answer before the client reads it. A larger body is not read at all.
void DrainRefused(const httplib::Request& req, const HttpResponse& refusal, std::size_t nMaxBody,
                  const httplib::ContentReader& reader) {
    if (refusal.nStatus == 413 || req.is_multipart_form_data()) return;
    const std::string strLength = req.get_header_value("Content-Length");
    std::size_t nLeft = 0;
    const char* pEnd = strLength.data() + strLength.size();
    const auto result = std::from_chars(strLength.data(), pEnd, nLeft);
    if (strLength.empty() || result.ec != std::errc() || result.ptr != pEnd || nLeft > nMaxBody) return;
    reader([&nLeft](const char*, std::size_t nLength) {
        if (nLength > nLeft) return false;
        nLeft -= nLength;
        return true;
    });
}

void Answer(const HttpResponse& response, httplib::Response& res) {
    res.status = response.nStatus;
    for (const auto& [strName, strValue] : response.headers) res.set_header(strName, strValue);
    res.set_header("X-Content-Type-Options", "nosniff");
    if (!response.strContentType.empty()) res.set_content(response.strBody, response.strContentType.c_str());
}

}  // namespace

CHttpServer::CHttpServer(CChartService& service, int nThreads, int nQueue)
    : m_rService(service), m_pServer(std::make_unique<httplib::Server>()) {
    httplib::Server& server = *m_pServer;
    server.new_task_queue = [nThreads, nQueue] { return new CConnectionQueue(nThreads, nQueue); };
    // One request a connection: a request answered before its body was read
    // (refused by its header fields) leaves the rest of the body unread, and
    // the connection must not go on to read it as the next request.
    server.set_keep_alive_max_count(1);
    server.set_read_timeout(5, 0);
    server.set_write_timeout(5, 0);
    server.set_payload_max_length(service.Limits().nMaxBody);
    server.set_address_family(AF_UNSPEC);

    // Requests without a body to stream: the library reads what little
    // there is, within the body limit.
    auto handle = [this](const httplib::Request& req, httplib::Response& res) {
        HttpRequest request = ToRequest(req);
        request.strBody = req.body;
        Answer(m_rService.Handle(std::move(request)), res);
    };
    server.Get(".*", handle);
    server.Options(".*", handle);
    // Requests with a body: refused by their header fields before it is
    // read, else read up to the limit.
    auto handleBody = [this](const httplib::Request& req, httplib::Response& res,
                             const httplib::ContentReader& reader) {
        HttpRequest request = ToRequest(req);
        if (std::optional<HttpResponse> screened = m_rService.Screen(request)) {
            DrainRefused(req, *screened, m_rService.Limits().nMaxBody, reader);
            Answer(*screened, res);
            return;
        }
        const std::size_t nMaxBody = m_rService.Limits().nMaxBody;
        bool bTooLarge = false;
        const bool bRead = reader([&](const char* pData, std::size_t nLength) {
            if (request.strBody.size() + nLength > nMaxBody) {
                bTooLarge = true;
                return false;
            }
            request.strBody.append(pData, nLength);
            return true;
        });
        if (bTooLarge) {
            Answer(Problem(413, "the body is more than the " + std::to_string(nMaxBody) + " bytes this service takes"),
                   res);
        } else if (!bRead) {
            Answer(Problem(400, "the body could not be read"), res);
        } else {
            Answer(m_rService.Handle(std::move(request)), res);
        }
    };
    server.Post(".*", handleBody);
    server.Put(".*", handleBody);
    server.Patch(".*", handleBody);
    server.Delete(".*", handleBody);
    // A client that waits for "100 Continue" before it sends the body hears
    // a refusal instead, and sends nothing.
    server.set_expect_100_continue_handler([this](const httplib::Request& req, httplib::Response& res) {
        std::optional<HttpResponse> screened = m_rService.Screen(ToRequest(req));
        if (!screened) return 100;
        Answer(*screened, res);
        return screened->nStatus;
    });
    // Answers the HTTP library makes itself (a malformed request, a body over
    // the limit) are problem details too.
    server.set_error_handler(httplib::Server::HandlerWithResponse([](const httplib::Request&, httplib::Response& res) {
        if (!res.body.empty()) return httplib::Server::HandlerResponse::Unhandled;
        const HttpResponse problem = Problem(res.status, StatusTitle(res.status));
        res.set_content(problem.strBody, problem.strContentType.c_str());
        return httplib::Server::HandlerResponse::Handled;
    }));
    server.set_logger([this](const httplib::Request&, const httplib::Response& res) {
        m_rService.Metrics().CountAnswer(res.status);
    });
}

CHttpServer::~CHttpServer() = default;

int CHttpServer::Bind(const std::string& strHost, int nPort) {
    if (nPort == 0) return m_pServer->bind_to_any_port(strHost);
    return m_pServer->bind_to_port(strHost, nPort) ? nPort : -1;
}

bool CHttpServer::Run() {
    return m_pServer->listen_after_bind();
}

void CHttpServer::Stop() {
    m_pServer->stop();
}

}  // namespace cli
}  // namespace vitalchart
