#include "database/ServerProperties.h"

#include "core/Errors.h"
#include "database/FirebirdHandles.h"

namespace qv {

namespace {
void AddString(std::string& spb, char tag, const std::string& value)
{
    if (value.size() > 255)
        throw Error("Service parameter too long");
    spb += tag;
    spb += static_cast<char>(value.size());
    spb += value;
}
}  // namespace

ServerVersionInfo QueryServerProperties(const std::string& serviceName, const std::string& user,
                                        const std::string& password)
{
    const fb::FirebirdApi& api = fb::Client();
    std::string spb;
    spb += static_cast<char>(isc_spb_version);
    spb += static_cast<char>(isc_spb_current_version);
    AddString(spb, isc_spb_user_name, user);
    AddString(spb, isc_spb_password, password);

    ISC_STATUS_ARRAY status;
    isc_svc_handle h = 0;
    std::string name = serviceName;
    api.service_attach(status, static_cast<unsigned short>(name.size()), name.data(), &h,
                       static_cast<unsigned short>(spb.size()), spb.data());
    fb::ServiceHandle service(h);
    fb::CheckStatus(status);

    const char request[] = {isc_info_svc_version, isc_info_svc_server_version,
                            isc_info_svc_implementation};
    char result[1024] = {};
    api.service_query(status, &h, nullptr, 0, nullptr, sizeof request, request, sizeof result,
                      result);
    fb::CheckStatus(status);

    ServerVersionInfo info;
    const char* p = result;
    const char* end = result + sizeof result;
    while (p < end && *p != isc_info_end) {
        const char item = *p++;
        if (item == isc_info_svc_version) {
            if (end - p < 4)
                break;
            info.serviceVersion = static_cast<int>(api.vax_integer(p, 4));
            p += 4;
        } else if (item == isc_info_svc_server_version || item == isc_info_svc_implementation) {
            if (end - p < 2)
                break;
            const auto len = static_cast<unsigned short>(api.vax_integer(p, 2));
            p += 2;
            if (end - p < len)
                break;
            (item == isc_info_svc_server_version ? info.serverVersion : info.implementation)
                .assign(p, len);
            p += len;
        } else {
            break;  // isc_info_truncated or an answer we did not ask for
        }
    }
    return info;
}

}  // namespace qv
