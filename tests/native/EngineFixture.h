#pragma once
// A data module over in-memory doubles: a package, files and drives, a
// registry, scripted answers and a recording report.
#include <gtest/gtest.h>

#include <memory>

#include "engine/TdmUpdateCommon.h"
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
    std::unique_ptr<TdmUpdateCommon> dm;

    void UsePackage(const std::vector<TestFile>& packaged)
    {
        files.AddFolder(files.tempFolder);
        dm.reset();
        package = MakePackage(packaged);
        dm = std::make_unique<TdmUpdateCommon>(*package, files, services.registry, services.user,
                                               services.messages, services.versions,
                                               services.workstation);
        dm->Randomize(7);
        dm->SetReportTarget(&report);
    }
    ScriptedInteraction& User() { return services.user; }
};

}  // namespace qv::test
