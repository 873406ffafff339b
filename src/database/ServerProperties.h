#pragma once
// What a Firebird server's service manager says about itself.
#include <string>

namespace qv {

struct ServerVersionInfo {
    std::string serverVersion = "?";   // isc_info_svc_server_version
    std::string implementation = "?";  // isc_info_svc_implementation
    int serviceVersion = 0;            // isc_info_svc_version
};

// Attaches to the service manager serviceName ("service_mgr" or
// "server:service_mgr") with the account given, asks the three values and
// detaches again, also when the request fails. Firebird errors are raised.
ServerVersionInfo QueryServerProperties(const std::string& serviceName, const std::string& user,
                                        const std::string& password);

}  // namespace qv
