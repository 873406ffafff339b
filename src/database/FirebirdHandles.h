#pragma once
// One owner per kind of Firebird handle. A handle exists only once the
// client was loaded, so closing reaches the loaded client without loading.
// Closing never raises: what the server says while a handle is dropped
// changes nothing for the caller.
#include "core/UniqueHandle.h"
#include "database/FirebirdApi.h"

namespace qv::fb {

struct DatabaseHandleTraits {
    using Handle = isc_db_handle;
    static Handle Invalid() noexcept { return 0; }
    static void Close(Handle h) noexcept
    {
        ISC_STATUS_ARRAY status;
        if (auto api = LoadedClient())
            api->detach_database(status, &h);
    }
};

struct TransactionHandleTraits {
    using Handle = isc_tr_handle;
    static Handle Invalid() noexcept { return 0; }
    static void Close(Handle h) noexcept
    {
        ISC_STATUS_ARRAY status;
        if (auto api = LoadedClient())
            api->rollback_transaction(status, &h);
    }
};

struct StatementHandleTraits {
    using Handle = isc_stmt_handle;
    static Handle Invalid() noexcept { return 0; }
    static void Close(Handle h) noexcept
    {
        ISC_STATUS_ARRAY status;
        if (auto api = LoadedClient())
            api->dsql_free_statement(status, &h, DSQL_drop);
    }
};

struct BlobHandleTraits {
    using Handle = isc_blob_handle;
    static Handle Invalid() noexcept { return 0; }
    // A blob still open here was not finished: it is cancelled, not kept.
    static void Close(Handle h) noexcept
    {
        ISC_STATUS_ARRAY status;
        if (auto api = LoadedClient())
            api->cancel_blob(status, &h);
    }
};

struct ServiceHandleTraits {
    using Handle = isc_svc_handle;
    static Handle Invalid() noexcept { return 0; }
    static void Close(Handle h) noexcept
    {
        ISC_STATUS_ARRAY status;
        if (auto api = LoadedClient())
            api->service_detach(status, &h);
    }
};

using DatabaseHandle = UniqueHandle<DatabaseHandleTraits>;
using TransactionHandle = UniqueHandle<TransactionHandleTraits>;
using StatementHandle = UniqueHandle<StatementHandleTraits>;
using BlobHandle = UniqueHandle<BlobHandleTraits>;
using ServiceHandle = UniqueHandle<ServiceHandleTraits>;

}  // namespace qv::fb
