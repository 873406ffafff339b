#pragma once
// The behaviour every Registry must show, as typed GoogleTest cases. The
// in-memory registry and the real one run the same cases, so the fake the
// engine's tests rely on cannot drift from Windows.
//
// A Lab gives a Registry, a hive and a fresh key path for one test, and
// lets the test arrange and inspect the store beneath the interface:
//   Registry& registry(); RegistryHive hive(); std::string base();
//   void Seed(key, name, MemoryRegistryValue);
//   void Restrict(key, grantedRights);
//   std::optional<MemoryRegistryValue> Raw(key, name);
//   bool RawKeyExists(key);
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <variant>

#include "core/Errors.h"
#include "platform/Registry.h"
#include "support/MemoryRegistry.h"

namespace qv::test {

template <typename Lab>
class RegistryContract : public ::testing::Test {
protected:
    Lab lab;
    Registry& reg() { return lab.registry(); }
    RegistryHive hive() { return lab.hive(); }
    std::string Key(const std::string& sub) { return lab.base() + "\\" + sub; }

    static MemoryRegistryValue Text(std::string s, RegistryType t = RegistryType::String)
    {
        MemoryRegistryValue v;
        v.type = t;
        v.text = std::move(s);
        return v;
    }
    static MemoryRegistryValue Number(std::uint32_t n)
    {
        MemoryRegistryValue v;
        v.type = RegistryType::Dword;
        v.number = n;
        return v;
    }
    std::string MessageOf(const std::function<void()>& f)
    {
        try {
            f();
        } catch (const Error& e) {
            return e.Message();
        }
        return "(no error)";
    }
};

TYPED_TEST_SUITE_P(RegistryContract);

TYPED_TEST_P(RegistryContract, ReadRegistryValueGivesIntegersTextsAndDefaults)
{
    auto k = this->Key("Read");
    this->lab.Seed(k, "Dword", this->Number(5));
    this->lab.Seed(k, "Negative", this->Number(0xFFFFFFFF));
    this->lab.Seed(k, "Text", this->Text("C:\\QUORVEX\\"));
    this->lab.Seed(k, "Expand", this->Text("%TEMP%\\x", RegistryType::ExpandString));
    auto locked = this->Key("ReadOnly");
    this->lab.Seed(locked, "Text", this->Text("hidden"));
    this->lab.Restrict(locked, kKeyRead);

    struct Case {
        std::string key, name, defaultText;
        RegistryValue expected;
    } cases[] = {
        {k, "Dword", "", std::int32_t{5}},
        {k, "Negative", "", std::int32_t{-1}},
        {k, "Text", "", std::string("C:\\QUORVEX\\")},
        {k, "Expand", "", std::string("%TEMP%\\x")},  // never expanded
        {k, "Missing", "x", std::string()},           // the key opened: no default
        {this->Key("NoSuchKey"), "Text", "", std::string()},
        {this->Key("NoSuchKey"), "Text", "0", std::int32_t{0}},
        {this->Key("NoSuchKey"), "Text", "x", std::string("x")},
        // Only read rights are asked for: a read-only key reads.
        {locked, "Text", "", std::string("hidden")},
    };
    for (const auto& c : cases) {
        RegistryValue v = std::string("garbage");
        this->reg().ReadRegistryValue(this->hive(), c.key, c.name, v, c.defaultText);
        EXPECT_EQ(v, c.expected) << c.key << " / " << c.name << " / default " << c.defaultText;
    }
}

TYPED_TEST_P(RegistryContract, ReadingANonTextValueAsTextFails)
{
    auto k = this->Key("Binary");
    this->lab.Seed(k, "Blob", this->Text("\x01\x02", RegistryType::Binary));
    RegistryValue v;
    EXPECT_EQ(this->MessageOf([&] { this->reg().ReadRegistryValue(this->hive(), k, "Blob", v, ""); }),
              "Type de données incorrect pour 'Blob'");
    EXPECT_EQ(this->MessageOf([&] { this->reg().ReadRegistryString(this->hive(), k, "Blob"); }),
              "Type de données incorrect pour 'Blob'");
}

TYPED_TEST_P(RegistryContract, WriteRegistryValueKeepsDwordsAndWritesTextOtherwise)
{
    auto k = this->Key("Write");
    this->lab.Seed(k, "Dword", this->Number(1));
    this->lab.Seed(k, "Blob", this->Text("\x01", RegistryType::Binary));
    EXPECT_TRUE(this->reg().WriteRegistryValue(this->hive(), k, "Dword", std::string("12")));
    EXPECT_TRUE(this->reg().WriteRegistryValue(this->hive(), k, "New", std::int32_t{12}));
    EXPECT_TRUE(this->reg().WriteRegistryValue(this->hive(), k, "Blob", std::string("now text")));

    auto dword = this->lab.Raw(k, "Dword");
    ASSERT_TRUE(dword);
    EXPECT_EQ(dword->type, RegistryType::Dword);
    EXPECT_EQ(dword->number, 12u);
    auto created = this->lab.Raw(k, "New");
    ASSERT_TRUE(created);
    EXPECT_EQ(created->type, RegistryType::String);
    EXPECT_EQ(created->text, "12");
    auto blob = this->lab.Raw(k, "Blob");
    ASSERT_TRUE(blob);
    EXPECT_EQ(blob->type, RegistryType::String);
    EXPECT_EQ(blob->text, "now text");

    // A text that is no number cannot go into a DWORD; the value stays.
    EXPECT_EQ(this->MessageOf([&] {
                  this->reg().WriteRegistryValue(this->hive(), k, "Dword", std::string("abc"));
              }),
              "'abc' n'est pas un nombre entier valide");
    EXPECT_EQ(this->lab.Raw(k, "Dword")->number, 12u);
}

TYPED_TEST_P(RegistryContract, WriteRegistryValueNeverCreatesOrForcesAKey)
{
    auto missing = this->Key("Missing");
    auto locked = this->Key("Locked");
    this->lab.Seed(locked, "Filename", this->Text("before"));
    this->lab.Restrict(locked, kKeyRead);

    EXPECT_FALSE(this->reg().WriteRegistryValue(this->hive(), missing, "Filename", std::string("x")));
    EXPECT_FALSE(this->lab.RawKeyExists(missing));
    EXPECT_FALSE(this->reg().WriteRegistryValue(this->hive(), locked, "Filename", std::string("x")));
    EXPECT_EQ(this->lab.Raw(locked, "Filename")->text, "before");
    EXPECT_FALSE(this->reg().WriteRegistryValue(this->hive(), "", "Filename", std::string("x")));
}

// Writing asks for what it needs, not full access: a key an administrator
// opened for reading and setting values only still takes the record.
TYPED_TEST_P(RegistryContract, WritesNeedOnlySetValueRights)
{
    auto k = this->Key("SetOnly");
    this->lab.Seed(k, "Filename", this->Text("before"));
    this->lab.Seed(k, "Count", this->Number(1));
    this->lab.Restrict(k, kKeyRead | kKeySetValue);

    EXPECT_TRUE(this->reg().WriteRegistryValue(this->hive(), k, "Filename", std::string("after")));
    EXPECT_EQ(this->lab.Raw(k, "Filename")->text, "after");
    EXPECT_TRUE(this->reg().WriteRegistryValue(this->hive(), k, "Count", std::string("7")));
    EXPECT_EQ(this->lab.Raw(k, "Count")->number, 7u);
    this->reg().WriteRegistryString(this->hive(), k, "LastCompany", "Dupont SA");
    EXPECT_EQ(this->lab.Raw(k, "LastCompany")->text, "Dupont SA");
    EXPECT_TRUE(this->reg().CreateRegistryKey(this->hive(), k));
}

TYPED_TEST_P(RegistryContract, KeysAreCreatedWithTheirParentsAndTestedForReading)
{
    auto nested = this->Key("A\\B\\C");
    EXPECT_FALSE(this->reg().RegistryKeyExists(this->hive(), nested));
    EXPECT_TRUE(this->reg().CreateRegistryKey(this->hive(), nested));
    EXPECT_TRUE(this->reg().RegistryKeyExists(this->hive(), nested));
    EXPECT_TRUE(this->reg().RegistryKeyExists(this->hive(), this->Key("a\\b")));  // any case
    EXPECT_FALSE(this->reg().CreateRegistryKey(this->hive(), ""));

    auto locked = this->Key("Locked");
    this->lab.Seed(locked, "v", this->Text("x"));
    this->lab.Restrict(locked, kKeyRead);
    EXPECT_TRUE(this->reg().RegistryKeyExists(this->hive(), locked));
}

TYPED_TEST_P(RegistryContract, ReadRegistryStringIsSilentOnlyForWhatIsMissing)
{
    auto k = this->Key("Multiste");
    this->lab.Seed(k, "LastCompany", this->Text("Dupont SA"));
    auto readOnly = this->Key("ReadOnly");
    this->lab.Seed(readOnly, "LastCompany", this->Text("Martin"));
    this->lab.Restrict(readOnly, kKeyRead);
    // Visible to the existence test, but not openable with KEY_READ.
    auto unreadable = this->Key("Unreadable");
    this->lab.Seed(unreadable, "LastCompany", this->Text("secret"));
    this->lab.Restrict(unreadable, kKeyExistsAccess);

    EXPECT_EQ(this->reg().ReadRegistryString(this->hive(), k, "LastCompany"), "Dupont SA");
    EXPECT_EQ(this->reg().ReadRegistryString(this->hive(), k, "Other"), "");
    EXPECT_EQ(this->reg().ReadRegistryString(this->hive(), this->Key("Missing"), "LastCompany"), "");
    EXPECT_EQ(this->reg().ReadRegistryString(this->hive(), readOnly, "LastCompany"), "Martin");
    EXPECT_EQ(this->MessageOf([&] {
                  this->reg().ReadRegistryString(this->hive(), unreadable, "LastCompany");
              }),
              "Lecture d'une valeur de registre impossible : \r\n"
              "Veuillez contrôler vos droits d'accès.");
}

TYPED_TEST_P(RegistryContract, WriteRegistryStringCreatesTheKeyOrTellsToCheckRights)
{
    auto k = this->Key("New\\Multiste");
    this->reg().WriteRegistryString(this->hive(), k, "LastCompany", "Dupont SA");
    auto v = this->lab.Raw(k, "LastCompany");
    ASSERT_TRUE(v);
    EXPECT_EQ(v->type, RegistryType::String);
    EXPECT_EQ(v->text, "Dupont SA");

    auto locked = this->Key("Locked");
    this->lab.Seed(locked, "LastCompany", this->Text("before"));
    this->lab.Restrict(locked, kKeyRead);
    EXPECT_EQ(this->MessageOf([&] {
                  this->reg().WriteRegistryString(this->hive(), locked, "LastCompany", "after");
              }),
              "Écriture d'une valeur de registre impossible : \r\n"
              "Veuillez contrôler vos droits d'accès.");
    EXPECT_EQ(this->lab.Raw(locked, "LastCompany")->text, "before");
}

TYPED_TEST_P(RegistryContract, DeleteRegistryKeyRemovesTheWholeTree)
{
    auto k = this->Key("MultiSte");
    this->lab.Seed(k, "v", this->Text("x"));
    this->lab.Seed(k + "\\Sub\\Deeper", "w", this->Number(3));
    EXPECT_TRUE(this->reg().DeleteRegistryKey(this->hive(), k));
    EXPECT_FALSE(this->lab.RawKeyExists(k));
    EXPECT_FALSE(this->lab.RawKeyExists(k + "\\Sub"));
    EXPECT_FALSE(this->reg().DeleteRegistryKey(this->hive(), k));  // already gone
}

REGISTER_TYPED_TEST_SUITE_P(RegistryContract, ReadRegistryValueGivesIntegersTextsAndDefaults,
                            ReadingANonTextValueAsTextFails,
                            WriteRegistryValueKeepsDwordsAndWritesTextOtherwise,
                            WriteRegistryValueNeverCreatesOrForcesAKey,
                            WritesNeedOnlySetValueRights,
                            KeysAreCreatedWithTheirParentsAndTestedForReading,
                            ReadRegistryStringIsSilentOnlyForWhatIsMissing,
                            WriteRegistryStringCreatesTheKeyOrTellsToCheckRights,
                            DeleteRegistryKeyRemovesTheWholeTree);

}  // namespace qv::test
