#pragma once
// One owner per kind of Firebird handle. A handle exists only once the
// client was loaded, so closing reaches the loaded client without loading.
// Closing never raises: what the server says while a handle is dropped
// changes nothing for the caller.
#include "core/UniqueHandle.h"
#include "database/FirebirdApi.h"

namespace qv::fb {

// The traits of a handle that release(api, status, &handle) drops.
template <typename H, void (*release)(const FirebirdApi&, ISC_STATUS*, H*)>
struct ClientHandleTraits {
    using Handle = H;
    static Handle Invalid() noexcept { return 0; }
    static void Close(Handle h) noexcept
    {
        ISC_STATUS_ARRAY status;
        if (const FirebirdApi* api = LoadedClient())
            release(*api, status, &h);
    }
};

inline void DetachDatabase(const FirebirdApi& api, ISC_STATUS* status, isc_db_handle* h)
{
    api.detach_database(status, h);
}
inline void RollbackTransaction(const FirebirdApi& api, ISC_STATUS* status, isc_tr_handle* h)
{
    api.rollback_transaction(status, h);
}
inline void FreeStatement(const FirebirdApi& api, ISC_STATUS* status, isc_stmt_handle* h)
{
    api.dsql_free_statement(status, h, DSQL_drop);
}
// A blob still open here was not finished: it is cancelled, not kept.
inline void CancelBlob(const FirebirdApi& api, ISC_STATUS* status, isc_blob_handle* h)
{
    api.cancel_blob(status, h);
}
inline void DetachService(const FirebirdApi& api, ISC_STATUS* status, isc_svc_handle* h)
{
    api.service_detach(status, h);
}

using DatabaseHandle = UniqueHandle<ClientHandleTraits<isc_db_handle, DetachDatabase>>;
using TransactionHandle = UniqueHandle<ClientHandleTraits<isc_tr_handle, RollbackTransaction>>;
using StatementHandle = UniqueHandle<ClientHandleTraits<isc_stmt_handle, FreeStatement>>;
using BlobHandle = UniqueHandle<ClientHandleTraits<isc_blob_handle, CancelBlob>>;
using ServiceHandle = UniqueHandle<ClientHandleTraits<isc_svc_handle, DetachService>>;

}  // namespace qv::fb
