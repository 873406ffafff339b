#include "main/UpdateRun.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "core/Errors.h"
#include "core/Format.h"
#include "core/Manifests.h"
#include "core/RunTimings.h"
#include "core/ScopeExit.h"
#include "core/Texts.h"
#include "engine/ProductCatalogue.h"

namespace qv::wizard {

namespace {

// "dd.mm.yyyy hh:nn:ss" in local time, with the user's time separator.
std::string RunTimestamp()
{
    SYSTEMTIME t;
    ::GetLocalTime(&t);
    char sep[8] = ":";
    if (::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STIME, sep, sizeof sep) <= 1)
        std::strcpy(sep, ":");
    char text[64];
    std::snprintf(text, sizeof text, "%02u.%02u.%04u %02u%s%02u%s%02u", t.wDay, t.wMonth, t.wYear,
                  t.wHour, sep, t.wMinute, sep, t.wSecond);
    return text;
}

const char* ResultLine(UpdateStatus status)
{
    switch (status) {
    case UpdateStatus::Ok: return texts::kResultOk;
    case UpdateStatus::Ko: return texts::kResultKo;
    case UpdateStatus::Not: return texts::kResultNot;
    case UpdateStatus::Warning: return texts::kResultWarning;
    default: return nullptr;
    }
}

// The header, then the kind's procedure with the front's actions disabled.
// A kind without a procedure fails like a procedure that raised an error.
UpdateStatus RunProcedure(ProductKind kind, const std::string& title, WizardEngine& engine,
                          const ProcedureTable& procedures, UpdateRunFront& front)
{
    engine.AddReportLine(Format(texts::kRunHeader, {title}) + " " + RunTimestamp() + "\r\n", 10, "");
    front.ProcedureStarting();
    const ScopeExit reenable([&front] { front.ProcedureEnded(); });
    auto procedure = procedures.find(kind);
    if (procedure == procedures.end() || !procedure->second)
        throw Error(Format("No update procedure for kind %d", {KindNumber(kind)}));
    return procedure->second();
}

}  // namespace

std::string ReadPackageTitle(WizardEngine& engine)
{
    std::vector<std::string> lines;
    return engine.ReadEmbeddedLines(manifest::kAppInfo1, lines) > 0 ? lines.front() : std::string();
}

std::vector<std::string> ReadPackageProducts(WizardEngine& engine)
{
    std::vector<std::string> lines;
    if (engine.ReadEmbeddedLines(manifest::kUpdates, lines) > 0)
        return manifest::FilterUpdateLines(lines);
    return {};
}

RunOutcome RunUpdateFor(const std::vector<std::string>& products, const std::string& title,
                        WizardEngine& engine, UserInteraction& ui,
                        const ProcedureTable& procedures, UpdateRunFront& front)
{
    timings::Scope measured(timings::Stage::Run);
    RunOutcome outcome;
    try {
        // Only the first product of a known kind is updated.
        auto known = std::find_if(products.begin(), products.end(), [](const std::string& name) {
            return ProductKindOf(name) != ProductKind::None;
        });
        if (known != products.end()) {
            outcome.productFound = true;
            outcome.status = RunProcedure(ProductKindOf(*known), title, engine, procedures, front);
        }
        front.ShowReport();
        if (const char* line = ResultLine(outcome.status))
            engine.AddReportLine(std::string("\r\n") + line, 10, "");
        front.ResultWritten();
    } catch (const SilentAbort&) {
        // It has shown its message already.
        outcome.failed = true;
        engine.AddReportLine(std::string("\r\n\r\n") + texts::kResultKo, 0, "");
    } catch (...) {
        outcome.failed = true;
        const std::string message = CurrentErrorMessage();
        ui.ShowErrorMessage(message);
        engine.AddReportLine(message + "\r\n\r\n" + texts::kResultKo, 0, "");
    }
    return outcome;
}

void RequireProductRecords(Registry& registry, FileSystem& files, ProductKind kind)
{
    if (!ProductFolder(registry, kind, RecordedPath::AsRecorded).empty() ||
        !ProductsRootFolder(registry, files).empty())
        return;
    throw Error(texts::kRunAsLocalSystem);
}

}  // namespace qv::wizard
