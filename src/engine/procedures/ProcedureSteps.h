#pragma once
// The steps every update procedure takes the same way: unpacking its
// version-stamp file before anything else, and the report line of its error
// handler.
#include <string>

#include "core/UpdateStatus.h"

namespace qv {

class TdmUpdateCommon;

// Writes the packaged file name to a fresh temporary file, with its stored
// time stamp, and returns that file's path. Raises "Cannot find " + name
// when the package has no such file; the procedures leave that error to the
// update run.
std::string WritePackagedFile(TdmUpdateCommon& dm, const std::string& name);

// For a procedure's error handler (call it only inside a catch block): writes
// "Une erreur s'est produite lors de la mise à jour du " + current, CR LF and
// the message of the error being handled; returns Ko.
UpdateStatus ReportUpdateError(TdmUpdateCommon& dm, const std::string& current);

}  // namespace qv
