#include "engine/CompanyList.h"

#include "core/Errors.h"
#include "core/Text.h"

namespace qv {

namespace {

// Where the company file may be, after the drive letter, in the order
// tried. The double extension is what a text editor makes of a new
// "multiste.txt" when the user types the name with its extension.
constexpr const char* kCompanyFilePlaces[] = {
    ":\\quorvex\\multiste.txt",
    ":\\quorvex\\multiste.txt.txt",
    ":\\wquorvex\\multiste.txt",
    ":\\wquorvex\\multiste.txt.txt",
};

std::string BadIndexMessage(int index)
{
    return "List index out of bounds (" + std::to_string(index) + ")";
}

}  // namespace

CompanyList::CompanyList(FileSystem& files, Registry& registry)
    : files_(files), registry_(registry)
{
}

void CompanyList::RemoveMultiCompanyMachineKey()
{
    registry_.DeleteRegistryKey(RegistryHive::LocalMachine, kMultiCompanyMachineKey);
}

std::string CompanyList::FindCompanyFile() const
{
    std::string drives = "C";
    if (std::string windows = files_.WindowsFolder(); !windows.empty())
        drives += windows[0];
    for (char drive : drives)
        for (const char* place : kCompanyFilePlaces)
            if (std::string path = drive + std::string(place); files_.FileIsPresent(path))
                return path;
    return {};
}

void CompanyList::LoadCompanies()
{
    entries_.clear();
    selected_ = -1;
    RemoveMultiCompanyMachineKey();
    companyFile_ = FindCompanyFile();
    if (!companyFile_.empty() && files_.FileIsPresent(companyFile_))
        entries_ = SplitLines(files_.ReadWholeFile(companyFile_));

    std::string last = registry_.ReadRegistryString(RegistryHive::CurrentUser, kCompanyChoiceKey,
                                                    kLastCompanyValue);
    if (entries_.empty())
        return;
    selected_ = 0;
    for (int i = 0; i < Count(); ++i)
        if (EqualsIgnoreCaseCp1252(entries_[i], last)) {
            selected_ = i;
            break;
        }
}

const std::string& CompanyList::Entry(int index) const
{
    if (index < 0 || index >= Count())
        throw Error(BadIndexMessage(index));
    return entries_[index];
}

void CompanyList::Select(int index)
{
    if (index < -1 || index >= Count())
        throw Error(BadIndexMessage(index));
    selected_ = index;
}

std::string CompanyList::SelectedText() const
{
    return selected_ < 0 ? std::string() : entries_[selected_];
}

void CompanyList::ConfirmSelection()
{
    cancelled_ = false;
    try {
        registry_.WriteRegistryString(RegistryHive::CurrentUser, kCompanyChoiceKey,
                                      kLastCompanyValue, SelectedText());
    } catch (const Error&) {
        // Remembering the choice is a convenience; the choice stands.
    }
}

void CompanyList::CancelSelection()
{
    cancelled_ = true;
}

}  // namespace qv
