#pragma once
// A Quorvex Finance installation older than this build's package, made in
// C:\\Quorvex5 of the tests' prefix with its registry record, for the tests
// that run the whole update with the real program; and what they check
// afterwards.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "SuiteInstallation.h"
#include "WizardDriver.h"
#include "WizardRun.h"

namespace qv::test {

namespace fs = std::filesystem;

using workstation::kMarker;
using workstation::kProductKey;
using workstation::kRecordKey;
using workstation::kSuite;

inline FILETIME Time(const std::string& path) { return workstation::WriteTime(path); }

// The suite's older installation (tools/workstation: the demo lays out the
// same), made afresh for each test and removed after it.
class SuiteWorkstation : public ::testing::Test {
protected:
    const fs::path payload = QV_PAYLOAD_DIR;

    // The package's folders, as the build generated its payload (gs,
    // images07 and util in this build).
    std::vector<std::string> PackagedFolders() const { return workstation::PackagedFolders(payload); }

    void SetUp() override
    {
        temporary_.emplace("qv-update-run");
        ASSERT_TRUE(workstation::MakeOlderSuiteInstallation(payload));
    }
    void TearDown() override
    {
        workstation::RemoveSuiteInstallation();
        temporary_.reset();
    }

    // The runs of this test get a temporary folder of their own.
    std::optional<OwnTemporaryFolder> temporary_;

    // How many listed files and the marker differ from their packaged bytes
    // and time.
    int Differing()
    {
        return int(workstation::DifferingFromPackage(workstation::SuiteFiles(payload)).size());
    }

    // Every file of the installation: its bytes and last-write time.
    std::map<std::string, std::pair<std::string, std::uint64_t>> Installed()
    {
        std::map<std::string, std::pair<std::string, std::uint64_t>> files;
        for (const auto& item : fs::recursive_directory_iterator(kSuite))
            if (item.is_regular_file()) {
                FILETIME t = Time(item.path().string());
                files[item.path().string()] = {ReadFileOrMissing(item.path().string()),
                                               (std::uint64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime};
            }
        return files;
    }
};


}  // namespace qv::test
