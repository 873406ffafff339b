// A run under LocalSystem reads the system account's own current-user
// registry, where the products are not recorded: it stops with a message
// that says so, unless a record is there after all.
#include <gtest/gtest.h>

#include "core/Errors.h"
#include "core/Texts.h"
#include "engine/ProductCatalogue.h"
#include "main/UpdateRun.h"
#include "platform/win32/WindowsHelpers.h"
#include "support/MemoryFileSystem.h"
#include "support/MemoryRegistry.h"

namespace qv {
namespace {

TEST(LocalSystemRun, StopsWithItsMessageUnlessARecordIsFound)
{
    test::MemoryRegistry registry;
    test::MemoryFileSystem files;
    try {
        wizard::RequireProductRecords(registry, files, ProductKind::QuorvexFinance);
        ADD_FAILURE() << "went on to the drive search";
    } catch (const Error& e) {
        EXPECT_EQ(e.Message(), texts::kRunAsLocalSystem);
    }
    // The product's own record, or a record of the family (the products
    // root), lets the run go on.
    ASSERT_TRUE(SetProductFolder(registry, ProductKind::QuorvexFinance, "C:\\Quorvex5\\gs\\GS-00.int"));
    EXPECT_NO_THROW(wizard::RequireProductRecords(registry, files, ProductKind::QuorvexFinance));
    test::MemoryRegistry family;
    ASSERT_TRUE(SetProductFolder(family, ProductKind::Telvarin, "C:\\WQuorvex\\Programs\\TELVARIN.EXE"));
    EXPECT_NO_THROW(wizard::RequireProductRecords(family, files, ProductKind::Margolin));
}

TEST(LocalSystemRun, AnOrdinaryUserIsNotTakenForTheSystemAccount)
{
    EXPECT_FALSE(win32::RunsAsLocalSystem());
}

}  // namespace
}  // namespace qv
