// The engine's print-list import: the packaged ".lst" lists named in
// PrintLists.txt go into the product database of every company of the
// workstation, or, for Margolin, as files into the product's folder.
#include <optional>

#include "core/Errors.h"
#include "core/Format.h"
#include "core/ScopeExit.h"
#include "core/Text.h"
#include "core/Texts.h"
#include "core/WindowsPath.h"
#include "engine/ProductCatalogue.h"
#include "engine/UpdateEngine.h"

namespace qv {

namespace {

// The application name the import writes into the presence row.
constexpr char kApplicationName[] = "Updater";

struct DatabaseIdentity {
    const char* identifier;
    int structureVersion;
};

// The identity a kind's database must carry to be opened for the import;
// nothing for the kinds that have no database this program opens.
std::optional<DatabaseIdentity> ImportDatabaseIdentity(ProductKind kind)
{
    switch (kind) {
    case ProductKind::Telvarin: return DatabaseIdentity{"TVP_PRO", 1};
    case ProductKind::TelvarinIngenieur: return DatabaseIdentity{"TVP_ING", 1};
    case ProductKind::Repertex: return DatabaseIdentity{"TV_Repertex", 2};
    case ProductKind::Obrenta: return DatabaseIdentity{"Obrenta", 1};
    case ProductKind::Dravik: return DatabaseIdentity{"Dravik", 1};
    default: return std::nullopt;
    }
}

bool ImportsPrintLists(ProductKind kind)
{
    return kind == ProductKind::Margolin || ImportDatabaseIdentity(kind).has_value();
}

// The position of a path's extension dot, or npos when its last component
// has none.
std::size_t ExtensionDot(const std::string& path)
{
    const std::size_t dot = path.find_last_of(".\\:");
    return dot != std::string::npos && path[dot] == '.' ? dot : std::string::npos;
}

std::string ExtensionOf(const std::string& path)
{
    const std::size_t dot = ExtensionDot(path);
    return dot == std::string::npos ? std::string() : path.substr(dot);
}

std::string WithoutExtension(const std::string& path)
{
    return path.substr(0, ExtensionDot(path));
}

std::string PrintParamsLine(const std::string& name, const char* outcome)
{
    return texts::kPrintParamsPrefix + ("\"" + name + "\"") + outcome;
}

}  // namespace

UpdateStatus UpdateEngine::ImportPrintLists(const std::string& folder)
{
    if (!ImportsPrintLists(currentKind_))
        return UpdateStatus::Ok;
    if (LoadPrintListLines() == 0)
        return UpdateStatus::Ok;
    try {
        if (currentKind_ == ProductKind::Margolin) {
            // Written over whatever is there, without comparing versions.
            for (const std::string& entry : printListLines_) {
                const std::string target = folder.empty() ? entry : AddBackslash(folder) + entry;
                if (!WriteEmbeddedFile(entry, target).empty())
                    AddReportLine(PrintParamsLine(entry, texts::kPrintParamsUpdated));
            }
            AddReportLine("");
            return UpdateStatus::Ok;
        }
        MemoryStream buffer;
        bool everyCompanyFound = true;
        const CompanyList& companies = Companies();
        if (companies.Count() == 0) {
            everyCompanyFound = UpdateCompanyLists("", buffer);
        } else {
            for (int i = 0; i < companies.Count(); ++i)
                if (!UpdateCompanyLists(companies.Entry(i), buffer))
                    everyCompanyFound = false;  // the others still get theirs
        }
        return everyCompanyFound ? UpdateStatus::Ok : UpdateStatus::Warning;
    } catch (...) {
        // The caller reports this one message; the cause is not shown.
        throw Error("Cannot import resource files");
    }
}

bool UpdateEngine::UpdateCompanyLists(const std::string& company, MemoryStream& buffer)
{
    const std::string display = company.empty() ? std::string(texts::kDefaultCompany) : company;
    AddReportLine("\r\n" + (texts::kCompanyListsTitle + display));
    if (!OpenProductDatabase(company)) {
        AddReportLine(Format(texts::kCompanyNotFound, {display}));
        return false;
    }
    try {
        buffer.Clear();
        for (const std::string& entry : printListLines_)
            if (LowerAscii(ExtensionOf(entry)) == ".lst" && ReadEmbeddedFile(entry, buffer))
                ImportPrintParamsFile(entry, buffer);
    } catch (...) {
        CloseProductDatabase();
        throw;
    }
    CloseProductDatabase();
    return true;
}

void UpdateEngine::ImportPrintParamsFile(const std::string& entry, MemoryStream& buffer)
{
    if (buffer.data.empty())
        return;
    const std::vector<std::string> lines = SplitLines(buffer.data);  // up to a NUL
    buffer.Clear();
    const std::string name = LowerCp1252(WithoutExtension(entry));
    if (structurePrinting_->PrintParamsExist(name)) {
        structurePrinting_->UpdatePrintParams(name, lines);
        AddReportLine(PrintParamsLine(name, texts::kPrintParamsUpdated));
    } else {
        const std::string description = structurePrinting_->AddPrintParams(name, lines);
        AddReportLine(PrintParamsLine(description, texts::kPrintParamsAdded));
    }
}

bool UpdateEngine::OpenProductDatabase(const std::string& configuration)
{
    if (connection_->IsConnected())
        return true;
    const std::optional<DatabaseIdentity> identity = ImportDatabaseIdentity(currentKind_);
    if (!identity)
        return false;
    const std::string path =
        ProductDatabasePath(registry_, std::string(ProductNames[currentKind_]),
                            configuration.empty() ? texts::kDefaultCompany : configuration,
                            RecordedPath::AsRecorded);
    if (path.empty())
        return false;
    user_.BeginWaitCursor();
    const ScopeExit endWait([this] { user_.EndWaitCursor(); });
    connection_->SetDatabaseIdentity(identity->structureVersion, identity->identifier,
                                     texts::kDatabaseDescription, kApplicationName);
    connection_->SetConnectionParams(path, "", "", "");
    connection_->ConnectAsProduct();
    return true;
}

bool UpdateEngine::CloseProductDatabase()
{
    if (!connection_)
        return false;
    connection_->Disconnect();
    return true;
}

}  // namespace qv
