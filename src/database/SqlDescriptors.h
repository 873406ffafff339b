#pragma once
// The client's descriptor areas (XSQLDA): how a parameter value is laid
// out for the server and how a fetched column becomes a SqlValue. Text
// blobs are written and read whole, on the attachment and transaction given.
#include <ibase.h>

#include <memory>
#include <string>
#include <vector>

#include "database/SqlValue.h"

namespace qv::fb {

struct SqldaDeleter {
    void operator()(XSQLDA* p) const noexcept;
};
using SqldaPtr = std::unique_ptr<XSQLDA, SqldaDeleter>;

// An empty descriptor area with room for count variables (at least one).
SqldaPtr MakeSqlda(int count);

// Where blobs of a statement are created and opened.
struct BlobPlace {
    isc_db_handle database;
    isc_tr_handle transaction;
};

// Lays value out in v, which holds the parameter as the server described
// it: data receives the bytes and v points at them and at nullFlag. A text
// goes as CHAR (into a blob column as a new blob), whole numbers as BIGINT,
// others as DOUBLE PRECISION or TIMESTAMP. statementName only serves the
// error of a text too long.
void BindParameter(XSQLVAR& v, const SqlValue& value, std::vector<char>& data,
                   ISC_SHORT& nullFlag, const BlobPlace& blobs, const std::string& statementName,
                   const std::string& parameterName);

// Gives every described column of out a buffer of its size and a null flag.
void AllocateColumns(XSQLDA& out, std::vector<std::vector<char>>& data,
                     std::vector<ISC_SHORT>& nullFlags);

// The value of a fetched column; CHAR loses its trailing blanks, a scaled
// number becomes a float, a blob is read whole as text.
SqlValue ReadColumn(const XSQLVAR& v, const BlobPlace& blobs, const std::string& statementName);

}  // namespace qv::fb
