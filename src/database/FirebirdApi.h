#pragma once
// The Firebird client library, loaded at run time on first use: gds32.dll
// then fbclient.dll on Windows, libfbclient.so.2 on Linux. A program that
// never opens a database never loads it.
//
// Declarations come from the client's own ibase.h; only the entry points
// are looked up, by name, in whatever library was found.
#include <ibase.h>

#include <string>

namespace qv::fb {

struct FirebirdApi {
    decltype(&isc_attach_database) attach_database = nullptr;
    decltype(&isc_detach_database) detach_database = nullptr;
    decltype(&isc_start_multiple) start_multiple = nullptr;
    decltype(&isc_commit_transaction) commit_transaction = nullptr;
    decltype(&isc_rollback_transaction) rollback_transaction = nullptr;
    decltype(&isc_dsql_allocate_statement) dsql_allocate_statement = nullptr;
    decltype(&isc_dsql_prepare) dsql_prepare = nullptr;
    decltype(&isc_dsql_describe) dsql_describe = nullptr;
    decltype(&isc_dsql_describe_bind) dsql_describe_bind = nullptr;
    decltype(&isc_dsql_execute) dsql_execute = nullptr;
    decltype(&isc_dsql_fetch) dsql_fetch = nullptr;
    decltype(&isc_dsql_free_statement) dsql_free_statement = nullptr;
    decltype(&isc_dsql_sql_info) dsql_sql_info = nullptr;
    decltype(&isc_create_blob2) create_blob2 = nullptr;
    decltype(&isc_open_blob2) open_blob2 = nullptr;
    decltype(&isc_put_segment) put_segment = nullptr;
    decltype(&isc_get_segment) get_segment = nullptr;
    decltype(&isc_close_blob) close_blob = nullptr;
    decltype(&isc_cancel_blob) cancel_blob = nullptr;
    decltype(&isc_sqlcode) sqlcode = nullptr;
    decltype(&isc_vax_integer) vax_integer = nullptr;
    decltype(&isc_service_attach) service_attach = nullptr;
    decltype(&isc_service_detach) service_detach = nullptr;
    decltype(&isc_service_query) service_query = nullptr;
    // Firebird 2 and later; older clients only have isc_interprete.
    decltype(&fb_interpret) interpret = nullptr;
    ISC_LONG(ISC_EXPORT* interprete)(ISC_SCHAR*, ISC_STATUS**) = nullptr;
    // Optional: not in every client.
    decltype(&isc_get_client_version) get_client_version = nullptr;
};

// The client, loaded on first call; raises qv::Error when no client library
// can be loaded or an entry point is missing.
const FirebirdApi& Client();

// The client if it is loaded already, else nullptr; never loads it.
const FirebirdApi* LoadedClient() noexcept;

// The file name of the loaded client library, or empty.
std::string LoadedClientName();

// Raises the Firebird error held by a status vector when it holds one.
void CheckStatus(const ISC_STATUS* status);
[[noreturn]] void RaiseStatus(const ISC_STATUS* status);

}  // namespace qv::fb
