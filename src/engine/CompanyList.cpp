#include "engine/CompanyList.h"

#include "core/Errors.h"
#include "core/Format.h"
#include "core/Text.h"
#include "core/Texts.h"

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

// A company file is a few names; anything larger is refused unread.
constexpr std::size_t kMaxCompanyFileSize = 1024 * 1024;

// The encoding whose byte-order mark starts text, or nullptr for none.
const char* MarkedEncoding(const std::string& text)
{
    if (text.rfind("\xFF\xFE", 0) == 0 || text.rfind("\xFE\xFF", 0) == 0)
        return "UTF-16";
    if (text.rfind("\xEF\xBB\xBF", 0) == 0)
        return "UTF-8";
    return nullptr;
}

// The company file's names, one a line, refused when it is too large or
// saved in another encoding than the names are compared in.
std::vector<std::string> ReadCompanyFile(FileSystem& files, const std::string& path)
{
    const std::string text = files.ReadFileStart(path, kMaxCompanyFileSize + 1);
    if (text.size() > kMaxCompanyFileSize)
        throw Error(Format(texts::kCompanyFileTooLarge,
                           {path, static_cast<long long>(kMaxCompanyFileSize)}));
    if (const char* encoding = MarkedEncoding(text))
        throw Error(Format(texts::kCompanyFileEncoding, {path, encoding}));
    return SplitLines(text);
}

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
        entries_ = ReadCompanyFile(files_, companyFile_);

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
