#pragma once
// Where the time of an update run goes, for the benchmark (bench/).
//
// Off unless the program was started with the environment variable
// QV_TIMINGS_FILE naming a file: then each measured stage adds its elapsed
// time and a count here, and the program writes the totals to that file at
// exit. Off, a measured stage costs one test of a flag, no clock read.
//
// The file holds one line per stage that ran: its name, how many times it
// ran and the total in milliseconds ("stage.copy 394 120.482").
#include <string>

namespace qv::timings {

enum class Stage {
    Run,              // Démarrer to the result line, the whole run
    Wait,             // Delay with message processing, all of it...
    WaitDispatch,     // ...of which dispatching window messages
    WaitPaint,        // ...of which dispatching WM_PAINT
    Inflating,        // inflating packaged files (with creating and closing
                      // the temporary file each is inflated into)
    WritingTemp,      // writing the inflated bytes to the temporary files
    Stamping,         // setting the temporary files' last-write times
    TempName,         // drawing a temporary name (and checking it is free)
    Comparing,        // comparing the installed and packaged marker
    Attributes,       // existence test and attribute resets around a copy
    Copying,          // CopyFile itself
    ReportLine,       // writing report lines to the report's targets (the
                      // viewer holds them until the next look at messages)
    ReportAppend,     // putting the held lines into the viewer
    StartupLoading,   // start-up: from the process's creation to the program's
                      // first instruction (loading it and its libraries)
    StartupServices,  // start-up: the services and the engine
    StartupWindows,   // start-up: creating the main window and the pages
    StartupShowing,   // start-up: showing the main window, reading the package
    StartupWelcome,   // start-up: from the process's creation to the welcome
                      // page shown, the whole of it
    Count
};

// Turns measuring on; the totals go to path when WriteTimings is called.
void Enable(const std::string& path);
// Reads QV_TIMINGS_FILE once; Enable when it names a file.
void EnableFromEnvironment();
bool Enabled();

// Adds one occurrence of a stage; milliseconds may be split by the caller.
void Add(Stage stage, double milliseconds);
// Adds a wait by its requested length (the 10 ms waits before each copy and
// the 100 ms one before a procedure are told apart this way).
void AddWait(int requestedMs, double milliseconds);

// The totals as the file holds them.
std::string Summary();
// Writes Summary() to the file given to Enable; nothing when off.
void WriteTimings();

// A monotonic clock in milliseconds.
double NowMs();

// The start-up steps are counted from the process's creation, which the
// program notes, on NowMs's clock, as soon as it runs: the time since that
// creation is the stage StartupLoading.
void NoteProcessStart(double msSinceCreation);
// Adds the time since the process's creation to a stage, when measuring is
// on.
void AddSinceProcessStart(Stage stage);

// The stage timer: measures the scope's lifetime into a stage, when
// measuring is on. Callers write one line per stage:
//     timings::Scope measured(timings::Stage::Copying);
class Scope {
public:
    // when false, the scope measures nothing (a stage that applies only to
    // some of the calls).
    explicit Scope(Stage stage, bool when = true)
        : stage_(stage), start_(when && Enabled() ? NowMs() : -1.0) {}
    // A wait of the requested length: added under Wait and by its length.
    struct WaitOf {
        int requestedMs;
    };
    explicit Scope(WaitOf wait) : stage_(Stage::Wait), waitMs_(wait.requestedMs),
                                  start_(Enabled() ? NowMs() : -1.0) {}
    ~Scope()
    {
        if (start_ < 0)
            return;
        if (waitMs_ >= 0)
            AddWait(waitMs_, NowMs() - start_);
        else
            Add(stage_, NowMs() - start_);
    }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

private:
    Stage stage_;
    int waitMs_ = -1;
    double start_;
};

// A stage measured in two: the time spent inside its Part scopes goes to
// the part's stage, the rest to the whole's, each added once by End (a
// stage left by an error before its End is not counted).
class SplitStage {
public:
    SplitStage(Stage rest, Stage part);
    void End();
    SplitStage(const SplitStage&) = delete;
    SplitStage& operator=(const SplitStage&) = delete;

    class Part {
    public:
        explicit Part(SplitStage& whole) : whole_(whole), start_(whole.Measuring() ? NowMs() : -1.0) {}
        ~Part()
        {
            if (start_ >= 0)
                whole_.partMs_ += NowMs() - start_;
        }
        Part(const Part&) = delete;
        Part& operator=(const Part&) = delete;

    private:
        SplitStage& whole_;
        double start_;
    };

private:
    bool Measuring() const { return start_ >= 0; }

    Stage rest_, part_;
    double start_;
    double partMs_ = 0;
};

// Stages that follow one another: each ends where the next begins, the
// first where the sequence was made.
class StageSequence {
public:
    StageSequence() : last_(Enabled() ? NowMs() : -1.0) {}
    // Adds the stage that ends now.
    void End(Stage stage);

private:
    double last_;
};

}  // namespace qv::timings
