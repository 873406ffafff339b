#pragma once
// The steps the update procedures have in common: unpacking a packaged file
// for its copy, the error line of a failed update, finding the products root
// and the installed program, and the companion files copied only where they
// are installed.
#include <string>

#include "core/UpdateStatus.h"

namespace qv {

class UpdateEngine;

// The folder searched for on the drives when no product records the
// products root.
inline constexpr char kProductsRootName[] = "WQuorvex";

// Writes the packaged file to a fresh temporary file with its stored time
// stamp and returns that file's path; raises "Cannot find " + name when the
// package has no such file.
std::string WritePackagedFile(UpdateEngine& engine, const std::string& name);

// Call inside a catch block: writes "Une erreur s'est produite lors de la
// mise à jour du <current>", CR LF and the error's message to the report,
// and returns Ko.
UpdateStatus ReportUpdateError(UpdateEngine& engine, const std::string& current);

// The products root with a trailing backslash: the one the records give,
// otherwise a "WQuorvex" folder found on the drives (the user may be asked).
// Empty when it is not an existing folder (the search cancelled included).
std::string FindProductsRoot(UpdateEngine& engine);

// The program at path, or, when no file is there, the one the user points
// to after being told it is missing. Empty when there is still no file (the
// dialog cancelled included).
std::string ProgramOrAskUser(UpdateEngine& engine, const std::string& path);

// Copies the packaged file over folder + name, whatever the versions, but
// only when the package holds it and folder + name is installed already;
// otherwise nothing happens and nothing is reported. A failed copy raises.
void CopyCompanionIfInstalled(UpdateEngine& engine, const std::string& name,
                              const std::string& folder);

}  // namespace qv
