#pragma once
// Which names a package may give its files. A packaged name is a path
// relative to the folder the file is installed in, appended to that folder
// as it stands; the same rule holds for the lines of FileNames.txt and
// PrintLists.txt, which name packaged files. The package tool refuses
// these names when it makes or verifies a package, and the program refuses
// such a line when it loads those manifests, before it installs anything.
#include <string>
#include <string_view>

namespace qv {

enum class PackagedNameFault {
    None,
    Empty,               // an empty name
    Absolute,            // starts with a backslash or a slash
    Drive,               // holds ':' (a drive, or a stream of another file)
    ForbiddenCharacter,  // a control character or one of < > " | ? *
    ClimbsOut,           // a ".." component: the file would land outside its folder
    EmptyComponent,      // "a\\\\b" or a "." component
    DeviceName,          // CON, PRN, AUX, NUL, COM0-9, LPT0-9 (any case, any extension)
    TrailingDotOrBlank,  // a component ending in '.' or ' ', which Windows drops
};

// The name a packaged file is stored under, and looked up by: its letters
// upper-cased as Windows upper-cases a resource name it is asked for, the
// ASCII letters and the accented letters of Windows-1252 alike ("Modèles"
// is stored as "MODÈLES"); every other byte stays.
std::string StoredNameOf(std::string_view packagedName);

// The first fault of a Windows-1252 name, checked as a whole then
// component by component ('\\' and '/' both separate them); None when the
// name may be packaged.
PackagedNameFault CheckPackagedName(std::string_view name);

}  // namespace qv
