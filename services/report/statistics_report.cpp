#include "statistics_report.h"

#include <windows.h>

#include "services/config/statistics_endpoint.h"
#include "services/http/http_agent.h"
#include "services/machine/machine_id.h"
#include "services/report/statistics_reply.h"
#include "services/report/statistics_request.h"

namespace kestro {
namespace {

std::string Narrow(const std::wstring& text, UINT codePage) {
    if (text.empty()) return std::string();
    int size = WideCharToMultiByte(codePage, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    if (size <= 0) return std::string();
    std::string out(size_t(size), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), int(text.size()), &out[0], size, nullptr, nullptr);
    return out;
}

// The machine id is 32 hexadecimal digits: plain ASCII in any code page.
std::string MachineIdText() { return Narrow(GetMachineId(), CP_ACP); }

}  // namespace

bool RequestStatistics(const std::string& path) {
    StatisticsEndpoint server = GetStatisticsEndpoint();
    std::wstring widePath(path.begin(), path.end());  // the targets are ASCII
    std::string body;
    CHttpAgent agent;
    if (server.timeoutSeconds > 0) agent.SetTimeout(server.timeoutSeconds);
    if (!agent.Get(server.host.c_str(), server.port, widePath.c_str(), body, nullptr)) return false;
    JValue reply;
    return DecodeStatisticsReply(body, reply);
}

void ReportOperation(long op, long v, long c, long l, const char* md5, long e) {
    RequestStatistics(FormatOperationPath(MachineIdText(), op, v, l, c, md5 ? md5 : "", e));
}

void SendUninstallFeedback(const std::vector<int>& reasons, const std::vector<std::wstring>& texts) {
    std::vector<std::string> utf8;
    for (const auto& text : texts) utf8.push_back(Narrow(text, CP_UTF8));
    std::string json = BuildFeedbackJson(reasons, utf8);
    if (json.empty()) return;
    RequestStatistics(FormatFeedbackPath(MachineIdText(), json));
}

}  // namespace kestro
