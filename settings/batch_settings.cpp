#include "settings/batch_settings.h"

#include "settings/ini_file.h"
#include "settings/ini_text.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace {

// The keys of a section in the order they are read and written: the two paths, then the
// integers.
template <typename Fields> struct SectionKeys
{
    std::string_view section;
    std::array<std::pair<std::string_view, std::string Fields::*>, 2> strings;
    std::vector<std::pair<std::string_view, int Fields::*>> integers;
};

const SectionKeys<ScaleToolSettings> kScaleKeys{
    "ScaleImage",
    {{{"SrcDir", &ScaleToolSettings::sourceFolder}, {"TgtDir", &ScaleToolSettings::targetFolder}}},
    {
        {"JpgQuality", &ScaleToolSettings::jpegQuality},
        {"SrcFile", &ScaleToolSettings::sourceType},
        {"TgtFile", &ScaleToolSettings::targetType},
        {"Scale", &ScaleToolSettings::size},
        {"DelSrc", &ScaleToolSettings::deleteSources},
    },
};

const SectionKeys<AverageToolSettings> kAverageKeys{
    "MergeImage",
    {{{"SrcDir", &AverageToolSettings::sourceFolder},
      {"TgtDir", &AverageToolSettings::targetFile}}},
    {
        {"JpgQuality", &AverageToolSettings::jpegQuality},
        {"SrcFile", &AverageToolSettings::sourceType},
        {"Resize800", &AverageToolSettings::resize800},
        {"Resize1024", &AverageToolSettings::resize1024},
        {"DelSrc", &AverageToolSettings::deleteSources},
        {"NoSameFile", &AverageToolSettings::autoNumber},
    },
};

template <typename Fields> Fields load(const SectionKeys<Fields>& keys, const CIniFile& ini)
{
    const CIniReading file = ini.read();
    Fields fields;
    for (const auto& [key, field] : keys.strings)
        fields.*field = file.readString(keys.section, key, "");
    for (const auto& [key, field] : keys.integers) {
        if (const std::optional<int> value = file.readNonNegativeInt(keys.section, key))
            fields.*field = *value;
    }
    return fields;
}

template <typename Fields>
bool save(const SectionKeys<Fields>& keys, const Fields& fields, CIniFile& file)
{
    // Every key the file can hold goes in one replacement of it; a value it can't hold costs no
    // other, and its refusal says why.
    bool saved = true;
    std::vector<CIniFile::KeyValue> storable;
    for (const auto& [key, field] : keys.strings) {
        if (IniCanStore(keys.section, key, fields.*field))
            storable.emplace_back(key, fields.*field);
        else
            saved = file.writeString(keys.section, key, fields.*field) && saved;
    }
    std::vector<std::string> numbers;
    numbers.reserve(keys.integers.size()); // the views below stay valid
    for (const auto& [key, field] : keys.integers)
        storable.emplace_back(key, numbers.emplace_back(std::to_string(fields.*field)));
    return file.writeStrings(keys.section, storable) && saved;
}

} // namespace

ScaleToolSettings LoadScaleToolSettings(const CIniFile& file)
{
    return load(kScaleKeys, file);
}

AverageToolSettings LoadAverageToolSettings(const CIniFile& file)
{
    return load(kAverageKeys, file);
}

bool SaveScaleToolSettings(const ScaleToolSettings& settings, CIniFile& file)
{
    return save(kScaleKeys, settings, file);
}

bool SaveAverageToolSettings(const AverageToolSettings& settings, CIniFile& file)
{
    return save(kAverageKeys, settings, file);
}
