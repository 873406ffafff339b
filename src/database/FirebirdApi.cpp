#include "database/FirebirdApi.h"

#include <memory>
#include <mutex>

#include "core/Errors.h"
#include "database/ClientLibrary.h"

namespace qv::fb {
namespace {

struct LoadedLibrary {
    std::unique_ptr<ClientLibrary> library;
    FirebirdApi api;
};

LoadedLibrary* g_client = nullptr;  // lives until the process ends

// Whether a client without the entry point is refused.
enum class EntryPoint { Required, Optional };

template <typename Fn>
void Bind(const ClientLibrary& lib, Fn& fn, const char* name, EntryPoint entry)
{
    fn = reinterpret_cast<Fn>(lib.Symbol(name));
    if (!fn && entry == EntryPoint::Required)
        throw Error("Firebird client " + lib.FileName() + ": entry point " + name + " missing");
}

std::unique_ptr<LoadedLibrary> Load()
{
    const std::vector<std::string> names = ClientLibraryNames();
    std::unique_ptr<ClientLibrary> lib;
    for (auto name = names.begin(); !lib && name != names.end(); ++name)
        lib = OpenLibrary(*name);
    if (!lib) {
        std::string list;
        for (const auto& n : names)
            list += (list.empty() ? "" : ", ") + n;
        throw Error("Firebird client library not found (" + list + ")");
    }
    auto loaded = std::make_unique<LoadedLibrary>();
    FirebirdApi& a = loaded->api;
    const ClientLibrary& l = *lib;
    Bind(l, a.attach_database, "isc_attach_database", EntryPoint::Required);
    Bind(l, a.detach_database, "isc_detach_database", EntryPoint::Required);
    Bind(l, a.start_multiple, "isc_start_multiple", EntryPoint::Required);
    Bind(l, a.commit_transaction, "isc_commit_transaction", EntryPoint::Required);
    Bind(l, a.rollback_transaction, "isc_rollback_transaction", EntryPoint::Required);
    Bind(l, a.dsql_allocate_statement, "isc_dsql_allocate_statement", EntryPoint::Required);
    Bind(l, a.dsql_prepare, "isc_dsql_prepare", EntryPoint::Required);
    Bind(l, a.dsql_describe, "isc_dsql_describe", EntryPoint::Required);
    Bind(l, a.dsql_describe_bind, "isc_dsql_describe_bind", EntryPoint::Required);
    Bind(l, a.dsql_execute, "isc_dsql_execute", EntryPoint::Required);
    Bind(l, a.dsql_fetch, "isc_dsql_fetch", EntryPoint::Required);
    Bind(l, a.dsql_free_statement, "isc_dsql_free_statement", EntryPoint::Required);
    Bind(l, a.dsql_sql_info, "isc_dsql_sql_info", EntryPoint::Required);
    Bind(l, a.create_blob2, "isc_create_blob2", EntryPoint::Required);
    Bind(l, a.open_blob2, "isc_open_blob2", EntryPoint::Required);
    Bind(l, a.put_segment, "isc_put_segment", EntryPoint::Required);
    Bind(l, a.get_segment, "isc_get_segment", EntryPoint::Required);
    Bind(l, a.close_blob, "isc_close_blob", EntryPoint::Required);
    Bind(l, a.cancel_blob, "isc_cancel_blob", EntryPoint::Required);
    Bind(l, a.sqlcode, "isc_sqlcode", EntryPoint::Required);
    Bind(l, a.vax_integer, "isc_vax_integer", EntryPoint::Required);
    Bind(l, a.service_attach, "isc_service_attach", EntryPoint::Required);
    Bind(l, a.service_detach, "isc_service_detach", EntryPoint::Required);
    Bind(l, a.service_query, "isc_service_query", EntryPoint::Required);
    Bind(l, a.interpret, "fb_interpret", EntryPoint::Optional);
    Bind(l, a.interprete, "isc_interprete", EntryPoint::Optional);
    Bind(l, a.get_client_version, "isc_get_client_version", EntryPoint::Optional);
    if (!a.interpret && !a.interprete)
        throw Error("Firebird client " + l.FileName() + ": no error interpreter");
    loaded->library = std::move(lib);
    return loaded;
}

}  // namespace

const FirebirdApi& Client()
{
    // Single-threaded program; the lock only keeps the tests honest.
    static std::mutex lock;
    std::lock_guard guard(lock);
    if (!g_client)
        g_client = Load().release();
    return g_client->api;
}

const FirebirdApi* LoadedClient() noexcept
{
    return g_client ? &g_client->api : nullptr;
}

std::string LoadedClientName()
{
    return g_client ? g_client->library->FileName() : std::string();
}

void CheckStatus(const ISC_STATUS* status)
{
    if (status[0] == 1 && status[1] != 0)
        RaiseStatus(status);
}

void RaiseStatus(const ISC_STATUS* status)
{
    const FirebirdApi& api = Client();
    std::string message;
    char buffer[1024];
    const ISC_STATUS* cursor = status;
    ISC_STATUS copy[ISC_STATUS_LENGTH];  // isc_interprete walks a writable copy
    ISC_STATUS* writable = copy;
    if (!api.interpret) {
        for (size_t i = 0; i < sizeof copy / sizeof copy[0]; ++i)
            copy[i] = status[i];
    }
    for (;;) {
        ISC_LONG n = api.interpret ? api.interpret(buffer, sizeof buffer, &cursor)
                                   : api.interprete(buffer, &writable);
        if (n <= 0)
            break;
        if (!message.empty())
            message += "\r\n";
        message += buffer;
    }
    throw FirebirdError(message, static_cast<int>(api.sqlcode(status)),
                        static_cast<long>(status[1]));
}

}  // namespace qv::fb
