// qvpack: builds, lists, verifies and extracts the update packages, and
// makes update programs from a folder.
#include <iostream>
#include <string>
#include <vector>

#include "tools/qvpack/Commands.h"

namespace {

const char kUsage[] =
    "usage:\n"
    "  qvpack build FOLDER PACKAGE_FILE [RC_SCRIPT]\n"
    "      package every file under FOLDER; with RC_SCRIPT, also write the\n"
    "      resource script (and its stored forms in RC_SCRIPT.d) that links\n"
    "      them into the wizard\n"
    "  qvpack make FOLDER PROGRAM.exe [--stub STUB.exe]\n"
    "      make the update program: the stub (by default quorvex-update-stub.exe\n"
    "      beside qvpack) carrying every file under FOLDER, manifests included\n"
    "  qvpack list FILE\n"
    "  qvpack verify FILE\n"
    "  qvpack extract FILE FOLDER [NAME...]\n"
    "FILE is a package file or a built quorvex-update.exe.\n";

int Usage()
{
    std::cerr << kUsage;
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty())
        return Usage();
    const std::string& command = args[0];
    using namespace qv::qvpack;
    if (command == "build" && (args.size() == 3 || args.size() == 4))
        return Build(args[1], args[2], args.size() == 4 ? args[3] : std::string(), std::cout, std::cerr);
    if (command == "make" && (args.size() == 3 || (args.size() == 5 && args[3] == "--stub")))
        return Make(args[1], args[2], args.size() == 5 ? args[4] : std::string(), std::cout, std::cerr);
    if (command == "list" && args.size() == 2)
        return List(args[1], std::cout, std::cerr);
    if (command == "verify" && args.size() == 2)
        return Verify(args[1], std::cout, std::cerr);
    if (command == "extract" && args.size() >= 3)
        return Extract(args[1], args[2], {args.begin() + 3, args.end()}, std::cout, std::cerr);
    return Usage();
}
