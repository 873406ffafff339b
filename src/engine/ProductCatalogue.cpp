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

std::string MakerKey(ProductKind kind) { return kMakerRootKey + std::string(DescriptorOf(kind).name); }
std::string ProgramKey(ProductKind kind) { return MakerKey(kind) + "\\Program"; }

std::string Part(const std::string& recorded, RecordedPath part)
{
    if (part == RecordedPath::AsRecorded)
        return recorded;
    size_t pos = recorded.find_last_of("\\:");
    return pos == std::string::npos ? std::string() : recorded.substr(0, pos + 1);
}

}  // namespace

std::string ProductFolder(Registry& registry, ProductKind kind, RecordedPath part)
{
    switch (DescriptorOf(kind).installation) {
    case InstallationRecord::ProgramFile:
        return Part(ReadText(registry, RegistryHive::CurrentUser, ProgramKey(kind), "Filename"),
                    part);
    case InstallationRecord::BaseFolder:
        return Part(ReadText(registry, RegistryHive::CurrentUser, MakerKey(kind), "BaseFolder"),
                    part);
    case InstallationRecord::None:
        break;
    }
    return {};
}

bool SetProductFolder(Registry& registry, ProductKind kind, const std::string& value)
{
    switch (DescriptorOf(kind).installation) {
    case InstallationRecord::ProgramFile: {
        std::string key = ProgramKey(kind);
        if (!registry.RegistryKeyExists(RegistryHive::CurrentUser, key))
            registry.CreateRegistryKey(RegistryHive::CurrentUser, key);
        return registry.WriteRegistryValue(RegistryHive::CurrentUser, key, "Filename", value);
    }
    case InstallationRecord::BaseFolder:
        return registry.WriteRegistryValue(RegistryHive::CurrentUser, MakerKey(kind),
                                           "BaseFolder", value);
    case InstallationRecord::None:
        break;
    }
    return false;
}

std::string ProductDatabasePath(Registry& registry, ProductKind kind,
                                const std::string& configuration, RecordedPath part)
{
    const DatabaseRecord& record = DescriptorOf(kind).database;
    if (record.value.empty())
        return {};
    const std::string base = MakerKey(kind) + "\\";
    const std::string subKey(record.subKey);
    const std::string value(record.value);
    if (!record.fallsBack)
        return Part(ReadText(registry, RegistryHive::LocalMachine, base + configuration + subKey,
                             value),
                    part);
    // The configuration's key, then Default's, then Paths': the first value
    // found.
    for (const std::string& config : {configuration, std::string("Default"), std::string("Paths")})
        if (std::string found =
                ReadText(registry, RegistryHive::LocalMachine, base + config + subKey, value);
            !found.empty())
            return Part(found, part);
    return {};
}

std::string ProductsRootFolder(Registry& registry, FileSystem& files)
{
    constexpr ProductKind kOrder[] = {ProductKind::Telvarin, ProductKind::TelvarinIngenieur,
                                      ProductKind::Obrenta, ProductKind::Repertex,
                                      ProductKind::Dravik};
    std::string folder;
    for (ProductKind kind : kOrder) {
        folder = ProductFolder(registry, kind, RecordedPath::FolderOnly);
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
