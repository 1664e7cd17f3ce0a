#pragma once

#include <memory>
#include <string>

#include "tools/serve/chart_service.h"

namespace httplib {
class Server;
}

namespace vitalchart {
namespace cli {

// The chart service on HTTP/1.1, through the HTTP library: each connection
// carries one request, read on one of nThreads threads (at most nQueue more
// connections wait for one). A chart body is read only after the request line
// and header fields passed CChartService::Screen, and no further than the
// service's body limit; every answer is counted in the service's metrics.
class CHttpServer {
public:
    CHttpServer(CChartService& service, int nThreads, int nQueue);
    ~CHttpServer();
    CHttpServer(const CHttpServer&) = delete;
    CHttpServer& operator=(const CHttpServer&) = delete;

    // Listens on the host (a name or address; an IPv6 address without
    // brackets) and port, 0 for any free one. The port, or -1.
    int Bind(const std::string& strHost, int nPort);
    // Serves until Stop, then answers the connections already taken and
    // returns; false when it could not serve at all.
    bool Run();
    // Stops taking connections; any thread may call it, once Run has begun.
    void Stop();

private:
    CChartService& m_rService;
    std::unique_ptr<httplib::Server> m_pServer;
};

}  // namespace cli
}  // namespace vitalchart
