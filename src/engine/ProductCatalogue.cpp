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

std::string MakerKey(const std::string& name) { return kMakerRootKey + name; }
std::string ProgramKey(const std::string& name) { return MakerKey(name) + "\\Program"; }

std::string Part(const std::string& recorded, RecordedPath part)
{
    if (part == RecordedPath::AsRecorded)
        return recorded;
    size_t pos = recorded.find_last_of("\\:");
    return pos == std::string::npos ? std::string() : recorded.substr(0, pos + 1);
}

// The kinds whose record is the main file's path under NAME\Program.
bool RecordsProgramFile(ProductKind kind)
{
    switch (kind) {
    case ProductKind::Telvarin:
    case ProductKind::TelvarinIngenieur:
    case ProductKind::Repertex:
    case ProductKind::Obrenta:
    case ProductKind::Sovenza:
    case ProductKind::QuorvexFinance:
    case ProductKind::Dravik:
        return true;
    default:
        return false;
    }
}

}  // namespace

std::string ProductFolder(Registry& registry, const std::string& name, RecordedPath part)
{
    ProductKind kind = ProductKindOf(name);
    if (RecordsProgramFile(kind))
        return Part(ReadText(registry, RegistryHive::CurrentUser, ProgramKey(name), "Filename"),
                    part);
    if (kind == ProductKind::Kalvisto)
        return Part(ReadText(registry, RegistryHive::CurrentUser, MakerKey(name), "BaseFolder"),
                    part);
    return {};
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
    if (kind == ProductKind::Kalvisto)
        return registry.WriteRegistryValue(RegistryHive::CurrentUser, MakerKey(name),
                                           "BaseFolder", value);
    return false;
}

std::string ProductDatabasePath(Registry& registry, const std::string& name,
                                const std::string& configuration, RecordedPath part)
{
    const std::string base = MakerKey(name) + "\\";
    // The configuration's key, then Default's, then Paths': the first value
    // found.
    auto withFallbacks = [&](const std::string& subKey, const char* value) {
        for (const std::string& config : {configuration, std::string("Default"), std::string("Paths")})
            if (std::string found = ReadText(registry, RegistryHive::LocalMachine,
                                             base + config + subKey, value);
                !found.empty())
                return found;
        return std::string();
    };
    switch (ProductKindOf(name)) {
    case ProductKind::Telvarin:
    case ProductKind::TelvarinIngenieur:
        return Part(withFallbacks("\\TVP_DatabaseName", "Path"), part);
    case ProductKind::Repertex:
        return Part(withFallbacks("", "DatabaseName"), part);
    case ProductKind::Obrenta:
    case ProductKind::Dravik:
        return Part(ReadText(registry, RegistryHive::LocalMachine, base + configuration,
                             "ConnectionString"),
                    part);
    default:
        return {};
    }
}

std::string ProductsRootFolder(Registry& registry, FileSystem& files)
{
    constexpr ProductKind kOrder[] = {ProductKind::Telvarin, ProductKind::TelvarinIngenieur,
                                      ProductKind::Obrenta, ProductKind::Repertex,
                                      ProductKind::Dravik};
    std::string folder;
    for (ProductKind kind : kOrder) {
        folder = ProductFolder(registry, std::string(ProductNames[kind]), RecordedPath::FolderOnly);
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
