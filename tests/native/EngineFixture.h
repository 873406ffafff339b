#pragma once
// An engine over in-memory doubles: a package, files and drives, a
// registry, scripted answers and a recording report.
#include <gtest/gtest.h>

#include <memory>

#include "engine/UpdateEngine.h"
#include "support/EngineDoubles.h"
#include "support/EngineFileSystem.h"
#include "support/RecordingReport.h"
#include "support/TestPackage.h"

namespace qv::test {

class EngineFixture : public testing::Test {
protected:
    EngineFileSystem files;
    EngineServices services;
    RecordingReportSink report;
    std::unique_ptr<PackageFileSource> package;
    std::unique_ptr<UpdateEngine> engine;

    void UsePackage(const std::vector<TestFile>& packaged)
    {
        files.AddFolder(files.tempFolder);
        engine.reset();
        package = MakePackage(packaged);
        engine = std::make_unique<UpdateEngine>(*package, files, services.registry, services.user,
                                               services.messages, services.versions,
                                               services.workstation);
        engine->Randomize(7);
        engine->SetReportTarget(&report);
    }
    ScriptedInteraction& User() { return services.user; }
};

}  // namespace qv::test
