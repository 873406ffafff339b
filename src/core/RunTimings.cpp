#include "core/RunTimings.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>

namespace qv::timings {
namespace {

struct Total {
    long long count = 0;
    double ms = 0;
};

struct State {
    bool enabled = false;
    std::string path;
    std::array<Total, static_cast<std::size_t>(Stage::Count)> stages{};
    std::map<int, Total> waits;  // by requested length
    double processStart = 0;     // on NowMs's clock
};

State& state()
{
    static State s;
    return s;
}

const char* Name(Stage stage)
{
    switch (stage) {
    case Stage::Run: return "run";
    case Stage::Wait: return "wait";
    case Stage::WaitDispatch: return "wait.dispatch";
    case Stage::WaitPaint: return "wait.paint";
    case Stage::Inflating: return "stage.inflating";
    case Stage::WritingTemp: return "stage.writing_temp";
    case Stage::Stamping: return "stage.stamping";
    case Stage::TempName: return "stage.temp_name";
    case Stage::Comparing: return "stage.comparing";
    case Stage::Attributes: return "stage.attributes";
    case Stage::Copying: return "stage.copy";
    case Stage::ReportLine: return "stage.report_line";
    case Stage::ReportAppend: return "stage.report_append";
    case Stage::StartupLoading: return "startup.loading";
    case Stage::StartupServices: return "startup.services";
    case Stage::StartupWindows: return "startup.windows";
    case Stage::StartupShowing: return "startup.showing";
    case Stage::StartupWelcome: return "startup.welcome";
    case Stage::Count: break;
    }
    return "?";
}

}  // namespace

void Enable(const std::string& path)
{
    state().enabled = true;
    state().path = path;
}

void EnableFromEnvironment()
{
    const char* path = std::getenv("QV_TIMINGS_FILE");
    if (path && *path)
        Enable(path);
}

bool Enabled()
{
    return state().enabled;
}

void Add(Stage stage, double milliseconds)
{
    Total& total = state().stages[static_cast<std::size_t>(stage)];
    ++total.count;
    total.ms += milliseconds;
}

void AddWait(int requestedMs, double milliseconds)
{
    Total& total = state().waits[requestedMs];
    ++total.count;
    total.ms += milliseconds;
    Add(Stage::Wait, milliseconds);
}

std::string Summary()
{
    std::string text;
    char line[128];
    for (std::size_t i = 0; i < state().stages.size(); ++i) {
        const Total& total = state().stages[i];
        if (total.count == 0)
            continue;
        std::snprintf(line, sizeof line, "%s %lld %.3f\n", Name(static_cast<Stage>(i)),
                      total.count, total.ms);
        text += line;
    }
    for (const auto& [requested, total] : state().waits) {
        std::snprintf(line, sizeof line, "wait.%dms %lld %.3f\n", requested, total.count, total.ms);
        text += line;
    }
    return text;
}

void WriteTimings()
{
    if (!Enabled())
        return;
    if (std::FILE* f = std::fopen(state().path.c_str(), "wb")) {
        std::string text = Summary();
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
    }
}

double NowMs()
{
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

void NoteProcessStart(double msSinceCreation)
{
    if (!Enabled())
        return;
    state().processStart = NowMs() - msSinceCreation;
    Add(Stage::StartupLoading, msSinceCreation);
}

void AddSinceProcessStart(Stage stage)
{
    if (Enabled())
        Add(stage, NowMs() - state().processStart);
}

SplitStage::SplitStage(Stage rest, Stage part)
    : rest_(rest), part_(part), start_(Enabled() ? NowMs() : -1.0)
{
}

void SplitStage::End()
{
    if (!Measuring())
        return;
    Add(part_, partMs_);
    Add(rest_, NowMs() - start_ - partMs_);
    start_ = -1.0;  // counted once
}

void StageSequence::End(Stage stage)
{
    if (last_ < 0)
        return;
    const double now = NowMs();
    Add(stage, now - last_);
    last_ = now;
}

}  // namespace qv::timings
