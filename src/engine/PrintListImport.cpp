// The engine's print-list import: the packaged ".lst" lists named in
// PrintLists.txt go into the product database of every company of the
// workstation.
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

// The entries of PrintLists.txt that go into the database.
bool IsImportedList(const std::string& entry)
{
    return LowerAscii(ExtensionOf(entry)) == ".lst";
}

// A list is stored as single-byte text, which ends at its first NUL: one
// saved as UTF-16, or holding a NUL anywhere, would be stored cut.
bool IsSingleByteText(const std::string& bytes)
{
    return bytes.find('\0') == std::string::npos && bytes.rfind("\xFF\xFE", 0) != 0 &&
           bytes.rfind("\xFE\xFF", 0) != 0;
}

// Reports the list and raises: nothing of it is stored.
[[noreturn]] void RefuseList(UpdateEngine& engine, const std::string& entry)
{
    engine.AddReportLine(Format(texts::kPrintListNotText, {entry}));
    throw Error("Print list is not single-byte text: " + entry);
}

// Every packaged list the import would store is looked at before any
// company's database is opened, so that a bad package changes no company.
void RefuseListsThatAreNotText(UpdateEngine& engine, MemoryStream& buffer)
{
    for (const std::string& entry : engine.PrintListLines()) {
        buffer.Clear();
        if (IsImportedList(entry) && engine.ReadEmbeddedFile(entry, buffer) &&
            !IsSingleByteText(buffer.data))
            RefuseList(engine, entry);
    }
    buffer.Clear();
}

}  // namespace

UpdateStatus UpdateEngine::ImportPrintLists(ProductKind kind)
{
    if (!DescriptorOf(kind).importsPrintLists)
        return UpdateStatus::Ok;
    if (LoadPrintListLines() == 0)
        return UpdateStatus::Ok;
    try {
        MemoryStream buffer;
        RefuseListsThatAreNotText(*this, buffer);
        bool everyCompanyFound = true;
        const CompanyList& companies = Companies();
        if (companies.Count() == 0) {
            everyCompanyFound = UpdateCompanyLists(kind, "", buffer);
        } else {
            for (int i = 0; i < companies.Count(); ++i)
                if (!UpdateCompanyLists(kind, companies.Entry(i), buffer))
                    everyCompanyFound = false;  // the others still get theirs
        }
        return everyCompanyFound ? UpdateStatus::Ok : UpdateStatus::Warning;
    } catch (...) {
        // The caller reports this one message; the cause is not shown.
        throw Error("Cannot import resource files");
    }
}

bool UpdateEngine::UpdateCompanyLists(ProductKind kind, const std::string& company,
                                      MemoryStream& buffer)
{
    const std::string display = company.empty() ? std::string(texts::kDefaultCompany) : company;
    AddReportLine("\r\n" + (texts::kCompanyListsTitle + display));
    if (!OpenProductDatabase(kind, company)) {
        AddReportLine(Format(texts::kCompanyNotFound, {display}));
        return false;
    }
    try {
        buffer.Clear();
        for (const std::string& entry : printListLines_)
            if (IsImportedList(entry) && ReadEmbeddedFile(entry, buffer))
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
    if (!IsSingleByteText(buffer.data)) {
        buffer.Clear();
        RefuseList(*this, entry);
    }
    const std::vector<std::string> lines = SplitLines(buffer.data);
    buffer.Clear();
    const std::string name = LowerCp1252(WithoutExtension(entry));
    if (printParams_->PrintParamsExist(name)) {
        printParams_->UpdatePrintParams(name, lines);
        AddReportLine(PrintParamsLine(name, texts::kPrintParamsUpdated));
    } else {
        const std::string description = printParams_->AddPrintParams(name, lines);
        AddReportLine(PrintParamsLine(description, texts::kPrintParamsAdded));
    }
}

bool UpdateEngine::OpenProductDatabase(ProductKind kind, const std::string& configuration)
{
    if (connection_->IsConnected())
        return true;
    const ProductDescriptor& product = DescriptorOf(kind);
    if (!product.importsPrintLists)
        return false;
    const DatabaseIdentity& identity = product.identity;
    const std::string path =
        ProductDatabasePath(registry_, kind,
                            configuration.empty() ? texts::kDefaultCompany : configuration,
                            RecordedPath::AsRecorded);
    if (path.empty())
        return false;
    user_.BeginWaitCursor();
    const ScopeExit endWait([this] { user_.EndWaitCursor(); });
    connection_->SetDatabaseIdentity(identity.structureVersion, std::string(identity.identifier),
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
