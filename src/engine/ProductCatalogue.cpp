#include "engine/ProductCatalogue.h"

#include "core/WindowsPath.h"

namespace qv {

namespace {

std::string ReadText(Registry& registry, RegistryHive hive, const std::string& key,
                     const std::string& value)
{
    RegistryValue v;
    registry.ReadRegistryValue(hive, key, value, v, std::string());
    return RegistryValueText(v);
}

// Everything up to and including the last backslash or colon; "" without.
std::string FolderPart(const std::string& path)
{
    size_t pos = path.find_last_of("\\:");
    return pos == std::string::npos ? std::string() : path.substr(0, pos + 1);
}

std::string MakerKey(const std::string& name) { return kMakerRootKey + name; }
std::string ProgramKey(const std::string& name) { return MakerKey(name) + "\\Program"; }

bool RecordsProgramFile(ProductKind kind)
{
    switch (kind) {
    case 1: case 2: case 3: case 6: case 8: case 9: case 10: return true;
    default: return false;
    }
}

constexpr ProductKind kKalvisto = 4;

}  // namespace

std::string ProductFolder(Registry& registry, const std::string& name, bool asFileName)
{
    ProductKind kind = ProductKindOf(name);
    std::string result;
    if (RecordsProgramFile(kind))
        result = ReadText(registry, RegistryHive::CurrentUser, ProgramKey(name), "Filename");
    else if (kind == kKalvisto)
        result = ReadText(registry, RegistryHive::CurrentUser, MakerKey(name), "BaseFolder");
    else
        return {};
    return asFileName ? result : FolderPart(result);
}

bool SetProductFolder(Registry& registry, const std::string& name, const std::string& value)
{
    ProductKind kind = ProductKindOf(name);
    if (RecordsProgramFile(kind)) {
        std::string key = ProgramKey(name);
        if (!registry.RegistryKeyExists(RegistryHive::CurrentUser, key))
            registry.CreateRegistryKey(RegistryHive::CurrentUser, key);
        return registry.WriteRegistryValue(RegistryHive::CurrentUser, key, "Filename", value);
    }
    if (kind == kKalvisto)
        return registry.WriteRegistryValue(RegistryHive::CurrentUser, MakerKey(name),
                                           "BaseFolder", value);
    return false;
}

std::string ProductDatabasePath(Registry& registry, const std::string& name,
                                const std::string& configuration, bool asFileName)
{
    const RegistryHive hklm = RegistryHive::LocalMachine;
    std::string base = MakerKey(name) + "\\";
    std::string result;
    switch (ProductKindOf(name)) {
    case 1:
    case 2:
        for (const std::string& config : {configuration, std::string("Default"), std::string("Paths")}) {
            result = ReadText(registry, hklm, base + config + "\\TVP_DatabaseName", "Path");
            if (!result.empty())
                break;
        }
        break;
    case 3:
        for (const std::string& config : {configuration, std::string("Default"), std::string("Paths")}) {
            result = ReadText(registry, hklm, base + config, "DatabaseName");
            if (!result.empty())
                break;
        }
        break;
    case 6:
    case 10:
        result = ReadText(registry, hklm, base + configuration, "ConnectionString");
        break;
    default:
        return {};
    }
    return asFileName ? result : FolderPart(result);
}

std::string ProductsRootFolder(Registry& registry, FileSystem& files)
{
    // Main product, engineering edition, Obrenta, address book, Dravik.
    constexpr ProductKind kOrder[] = {1, 2, 6, 3, 10};
    std::string folder;
    for (ProductKind kind : kOrder) {
        folder = ProductFolder(registry, std::string(ProductNames[kind]), false);
        if (!folder.empty())
            break;
    }
    if (folder.empty())
        return {};
    if (files.FolderIsPresent(WithoutBackslash(folder)))
        return ParentFolder(ParentFolder(folder));
    return folder;
}

}  // namespace qv
